#pragma once
// The Error66 limit: the measured value in percent below which the XV module raises error 66. The module
// keeps it as the zero offset of channel 1 in tenths of a percent, readable and writable only while bits 0
// and 1 of the analog configuration byte yRawVofsVd (channel 0) are set. Both operations set the bits,
// do their work and put the original configuration back, on failure too.

#include "core/config/config_message.h"
#include "core/platform/com_port.h"

#include <cstdint>

namespace terrix {

// True when the limit was read; `messages` may still hold "Don't set analog config!" when the original
// configuration could not be put back.
bool ReadError66Limit(PortHandle port, uint8_t station, double& percent, ConfigMessages& messages);

// Writes the limit (percent x 10, toward zero). On failure `messages` ends with "Don't set measuring low
// limit!". A limit outside 0..100 % is refused before anything is sent.
bool WriteError66Limit(PortHandle port, uint8_t station, double percent, ConfigMessages& messages);

// The module value of a limit of 0..100 %: percent x 10 truncated toward zero. A value within 1e-6 of a whole
// number is taken as that number, so that 4.6 entered through a float still gives 46.
bool Error66LimitUnits(double percent, int32_t& units);

inline constexpr const char* kMsgGetAnalogCfgFailed = "Don't get analog config!";
inline constexpr const char* kMsgSetAnalogCfgFailed = "Don't set analog config!";
inline constexpr const char* kMsgZeroOffsetFailed = "Don't get zero offset!";
inline constexpr const char* kMsgSetLowLimitFailed = "Don't set measuring low limit!";
inline constexpr const char* kMsgLimitRange = "The limit must lie between 0 and 100 %.";

} // namespace terrix

#pragma once
// The XV module's five application parameters: the 10-byte block as the module holds it (commands 192 and
// 193), the values in seconds and percent that the dialog shows, and the conversions between the two.

#include "core/bus/commands.h"
#include "core/platform/com_port.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace terrix {

using AppParamsBlock = std::array<uint8_t, kAppParamsSize>;

// The block, little-endian: float offset (tenths of a percent), u16 averaging count (measurements), u16
// Error66 delay (units of 10 measurements), u8 queue-full and u8 queue-empty counts (measurements).
struct AppParams {
    float fOffset = 0;
    uint16_t wAveraging = 0;
    uint16_t wError66Units = 0;
    uint8_t yQueueFull = 0;
    uint8_t yQueueEmpty = 0;

    static AppParams FromBytes(const AppParamsBlock& block);
    AppParamsBlock ToBytes() const;
    bool operator==(const AppParams&) const = default;
};

// The parameters as the dialog shows and takes them.
struct AppParamsSeconds {
    double offsetPercent = 0;
    uint64_t averagingSeconds = 0;
    uint64_t error66Seconds = 0;
    uint64_t queueFullSeconds = 0;
    uint64_t queueEmptySeconds = 0;
};

// R(x) = floor(x + 0.5) throughout.
double OffsetPercentFromBlock(float offset);          // offset x 0.1
float OffsetBlockFromPercent(double percent);         // percent x 10
uint64_t AveragingSecondsFromCount(uint64_t count);   // R(count x 0.7572)
uint64_t AveragingCountFromSeconds(uint64_t seconds); // R(seconds x 1.3206550449022716)
uint64_t Error66SecondsFromUnits(uint64_t units);     // units x 4
uint64_t Error66UnitsFromSeconds(uint64_t seconds);   // seconds / 4, remainder dropped
uint64_t QueueSecondsFromCount(uint64_t count);       // R(count x 0.4)
uint64_t QueueCountFromSeconds(uint64_t seconds);     // R(seconds x 2.5)

// Largest entries whose counts still fit their block fields.
inline constexpr uint64_t kMaxAveragingSeconds = 49623;
inline constexpr uint64_t kMaxError66Seconds = 262143;
inline constexpr uint64_t kMaxQueueSeconds = 102;

AppParamsSeconds SecondsFromBlock(const AppParams& params);
// The block for entered values. False, with a message naming the field and its limit, when a count does
// not fit its block field or the offset is not a finite number; the block is then left unchanged.
bool BlockFromSeconds(const AppParamsSeconds& seconds, AppParams& params, std::string& error);

// Command 192 / 193 to the module's station.
bool ReadAppParams(PortHandle port, uint8_t station, AppParams& params);
bool WriteAppParams(PortHandle port, uint8_t station, const AppParams& params);

// "Set All Offsets and AveTime": at each station, reads the block, replaces the offset and the averaging
// count, and writes it back. The first failure ends the run; `failedIndex` then tells at which station
// (the modules before it are changed). True when every module was set.
bool SetAllOffsetsAndAveTime(PortHandle port, std::span<const uint8_t> stations, float offset,
                             uint16_t averagingCount, size_t* failedIndex = nullptr);

inline constexpr const char* kMsgGetAppParamsFailed = "Don't get application parameters!";
inline constexpr const char* kMsgSetAppParamsFailed = "Don't set application parameters!";
inline constexpr const char* kMsgSetOffsetFailed = "Set Offset failed!"; // caption "Error"

} // namespace terrix

#pragma once
// The XV module's conversion time is set through its number of measurements on channel 0: one measurement
// takes 0.01262 minutes.

#include "core/inventory/module_record.h"
#include "core/platform/com_port.h"

#include <cstdint>

namespace terrix {

// floor(n x 0.01262 x 60 + 0.5)
uint32_t SecondsFromCount(uint32_t count);
// floor(t / 60 x 79.2393026941363 + 0.5)
uint32_t CountFromSeconds(uint32_t seconds);

// Reads the analog configuration of channel 0, writes it with bits 0 and 1 of its third byte set, writes the
// count 0 and then n, and writes the original configuration back. Stops at the first failure; once the
// configuration was changed, a failure still tries to put the original back (LastBusError keeps the first
// error).
bool SetConversionCount(PortHandle port, uint8_t station, uint32_t count);

// The largest count the module can take: command 226 carries five decimal digits.
inline constexpr uint32_t kMaxConversionCount = 99999;

// Sets the count for `seconds` (at most kMaxConversionCount) and, on success, stores the count the module
// received in the record's dwNumberOfMeas0 and recomputes dwMeasTime. Only the XV module has a conversion
// time to set: for any other module nothing is sent and the result is false (see CheckConversionTimeChange).
bool ApplyConversionTime(PortHandle port, ModuleRecord& record, uint32_t seconds);

} // namespace terrix

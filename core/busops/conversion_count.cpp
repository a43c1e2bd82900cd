#include "core/busops/conversion_count.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"

#include "core/inventory/conversion_time.h"
#include "core/inventory/record_values.h"

#include <algorithm>
#include <cmath>

namespace terrix {

uint32_t SecondsFromCount(uint32_t count) {
    return static_cast<uint32_t>(std::floor(static_cast<double>(count) * 0.01262 * 60.0 + 0.5));
}

uint32_t CountFromSeconds(uint32_t seconds) {
    return static_cast<uint32_t>(std::floor(static_cast<double>(seconds) / 60.0 * 79.2393026941363 + 0.5));
}

bool SetConversionCount(PortHandle port, uint8_t station, uint32_t count) {
    PortLock lock(port);
    AnalogCfgBlock original{};
    if (!ReadAnalogCfg(port, station, 0, original)) {
        return false;
    }
    AnalogCfgBlock raw = original;
    raw[2] |= 0x03; // yRawVofsVd: raw conversion while the count changes
    if (!WriteAnalogCfg(port, station, raw)) {
        return false;
    }
    AnalogCfgBlock restore = original; // the write clears the block it is given
    if (!WriteNumberOfMeas(port, station, 0, 0) || !WriteNumberOfMeas(port, station, 0, count)) {
        // Do not leave the module in raw mode: put the original configuration back, keeping the first error.
        const uint16_t error = LastBusError();
        WriteAnalogCfg(port, station, restore);
        SetLastBusError(error);
        return false;
    }
    return WriteAnalogCfg(port, station, restore);
}

bool ApplyConversionTime(PortHandle port, ModuleRecord& record, uint32_t seconds) {
    // Other probes use the channel count for their own measuring; rewriting it would change them.
    if (record.bIsTavikXV == 0) {
        return false;
    }
    const uint32_t count = std::min(CountFromSeconds(seconds), kMaxConversionCount);
    if (!SetConversionCount(port, record.iaStation, count)) {
        return false;
    }
    record.dwNumberOfMeas0 = count;
    RecomputeMeasChannels(record);
    record.dwMeasTime = ComputeMeasTime(record);
    return true;
}

} // namespace terrix

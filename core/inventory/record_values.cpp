#include "core/inventory/record_values.h"

#include <cstdio>
#include <limits>

namespace terrix {

uint32_t ConversionTimeMs(const ModuleRecord* record) {
    if (record == nullptr) {
        return 0;
    }
    if (!record->bIsTavikXV) {
        return record->dwMeasTime;
    }
    // The factor order matters: 1 x 0.01262 x 60000 is 757.19999... and truncates to 757.
    const double ms = static_cast<double>(record->dwNumberOfMeas0) * 0.01262 * 60000.0;
    // A failed count read leaves all bits set; the product then exceeds 32 bits and is held at the top.
    if (ms >= static_cast<double>(std::numeric_limits<uint32_t>::max())) {
        return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(ms);
}

uint32_t ConversionTimeSec(const ModuleRecord* record) {
    const uint32_t ms = ConversionTimeMs(record);
    return ms / 1000 + (ms % 1000 != 0 ? 1 : 0);
}

uint8_t ChannelUnitCode(const ModuleRecord& record, unsigned channel) {
    if (!record.bHasSensorData || channel > 1) {
        return 0;
    }
    return channel == 0 ? record.sensorData0.yUnitCode : record.sensorData1.yUnitCode;
}

bool ChannelHasMeasurements(const ModuleRecord& record, unsigned channel) {
    if (channel > 1) {
        return false;
    }
    if (record.bIsTavikXV) {
        return true;
    }
    return (record.dwMeasChannels & (1u << channel)) != 0;
}

uint32_t MeasChannelsFor(uint32_t numberOfMeas0, uint32_t numberOfMeas1) {
    return (numberOfMeas0 != 0 ? 1u : 0u) | (numberOfMeas1 != 0 ? 2u : 0u);
}

void RecomputeMeasChannels(ModuleRecord& record) {
    record.dwMeasChannels = MeasChannelsFor(record.dwNumberOfMeas0, record.dwNumberOfMeas1);
}

std::string FirmwareText(uint16_t firmwareVersion) {
    const unsigned low = firmwareVersion & 0xFFu;
    const unsigned high = firmwareVersion >> 8;
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u %c.%u", low >> 4, low & 0xFu,
                  static_cast<char>('@' + (high >> 4)), high & 0xFu);
    return text;
}

} // namespace terrix

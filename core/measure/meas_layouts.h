#pragma once
// The record layouts of the module kinds, and the rule that picks one for a module: the XV module has its
// own layout; every other module has one value per record when one channel measures, else two.

#include <cstdint>
#include <string_view>

#include "core/inventory/module_record.h"
#include "core/measure/meas_record.h"

namespace terrix {

enum class MeasLayout { kOneValue, kTwoValue, kXv, kXvWithTdc };

inline constexpr const char* kXvModuleName = "PX-TAVIK2XV";

// Field indices of the XV layout.
enum XvField : uint8_t {
    kXvDateTime = 0,
    kXvDensity = 1,
    kXvMoisture = 2,
    kXvStdDev = 3,
    kXvError = 4,
    kXvN1 = 5,
    kXvN2 = 6,
    kXvDeltaN = 7,
    kXvTdrLevel = 8,
    kXvC0 = 9,
    kXvTemperature = 10, // this and the two below only with TDC support
    kXvMatId = 11,
    kXvTempId = 12,
};

// Whether a module name chooses the XV layout: the name's first 15 characters are exactly "PX-TAVIK2XV",
// letter case counting (the ASCII file's title rule ignores case; see asc_meas_data_file.h).
bool IsXvLayoutName(std::string_view moduleName);

// The layout for a module of this name and channel mask (dwMeasChannels).
MeasLayout ChooseLayout(std::string_view moduleName, uint32_t channelMask, bool hasTdcSupport);
MeasLayout ChooseLayout(const ModuleRecord& module);

CMeasRecord MakeRecord(MeasLayout layout);
// Bytes of one packed record: 8, 12, 31 or 39.
uint16_t RecordSizeOf(MeasLayout layout);

} // namespace terrix

#include "core/measure/meas_layouts.h"

#include <memory>

namespace terrix {

bool IsXvLayoutName(std::string_view moduleName) {
    const size_t nul = moduleName.find('\0');
    std::string_view name = moduleName.substr(0, nul);
    return name.substr(0, 15) == kXvModuleName;
}

MeasLayout ChooseLayout(std::string_view moduleName, uint32_t channelMask, bool hasTdcSupport) {
    if (IsXvLayoutName(moduleName)) {
        return hasTdcSupport ? MeasLayout::kXvWithTdc : MeasLayout::kXv;
    }
    return channelMask == 1 || channelMask == 2 ? MeasLayout::kOneValue : MeasLayout::kTwoValue;
}

MeasLayout ChooseLayout(const ModuleRecord& module) {
    return ChooseLayout(module.ModuleName(), module.dwMeasChannels, module.bHasTDCSupport != 0);
}

CMeasRecord MakeRecord(MeasLayout layout) {
    CMeasRecord record;
    record.AddField(std::make_unique<CTimeStampField>());
    switch (layout) {
    case MeasLayout::kOneValue:
        record.AddField(std::make_unique<CFloatField>("Value"));
        break;
    case MeasLayout::kTwoValue:
        record.AddField(std::make_unique<CFloatField>("Value 1"));
        record.AddField(std::make_unique<CFloatField>("Value 2"));
        break;
    case MeasLayout::kXv:
    case MeasLayout::kXvWithTdc:
        record.AddField(std::make_unique<CByteField>("Density"));
        record.AddField(std::make_unique<CFloatField>("Moisture [%]", "%.1f"));
        record.AddField(std::make_unique<CFloatField>("StdDev", "%.3f"));
        record.AddField(std::make_unique<CFloatField>("Error [%]", "%.1f"));
        record.AddField(std::make_unique<CWordField>("n1"));
        record.AddField(std::make_unique<CWordField>("n2"));
        record.AddField(std::make_unique<CWordField>("Delta n"));
        record.AddField(std::make_unique<CFloatField>("TDR Level", "%.3f"));
        record.AddField(std::make_unique<CFloatField>("c0", "%.3f"));
        if (layout == MeasLayout::kXvWithTdc) {
            record.AddField(std::make_unique<CFloatField>("Temperature", "%.1f"));
            record.AddField(std::make_unique<CWordField>("MatID"));
            record.AddField(std::make_unique<CWordField>("TempID"));
        }
        break;
    }
    return record;
}

uint16_t RecordSizeOf(MeasLayout layout) {
    switch (layout) {
    case MeasLayout::kOneValue:
        return 8;
    case MeasLayout::kTwoValue:
        return 12;
    case MeasLayout::kXv:
        return 31;
    case MeasLayout::kXvWithTdc:
        return 39;
    }
    return 0;
}

} // namespace terrix

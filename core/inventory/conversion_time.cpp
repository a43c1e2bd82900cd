#include "core/inventory/conversion_time.h"

#include "core/platform/ini_document.h"

#include <string>
#include <string_view>

namespace terrix {

namespace {

enum class Counted {
    BothChannels,
    Channel0,
    OneMeasurement, // the XV module averages on its own: one measurement counts, whatever it reports
};

struct TimeFactors {
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t c = 0; // dropped when the module linearises
    uint32_t d = 0;
    uint32_t e = 0;
    Counted counted = Counted::BothChannels;
};

TimeFactors TavikFactors(std::string_view name) {
    if (EqualsIgnoreCase(name, "PX-TAVIK1")) {
        return {900, 200, 200, 8600, 0, Counted::Channel0};
    }
    if (EqualsIgnoreCase(name, "PX-TAVIK2")) {
        return {1300, 200, 200, 600, 0, Counted::Channel0};
    }
    if (EqualsIgnoreCase(name, "PX-TAVIK2ZUZ")) {
        return {1300, 200, 200, 600, 45000, Counted::Channel0};
    }
    if (EqualsIgnoreCase(name, "PX-TAVIK2XV")) {
        return {600, 30, 30, 0, 0, Counted::OneMeasurement};
    }
    return {0, 0, 0, 0, 0, Counted::Channel0};
}

TimeFactors RivovFactors(std::string_view name) {
    constexpr std::string_view kPrefix = "DI-RIVOV2";
    if (name.size() >= kPrefix.size() && EqualsIgnoreCase(name.substr(0, kPrefix.size()), kPrefix)) {
        return {1300, 200, 200, 600, 0, Counted::Channel0};
    }
    return {900, 200, 200, 8600, 0, Counted::Channel0};
}

TimeFactors FactorsFor(uint8_t moduleId, std::string_view name) {
    switch (moduleId) {
    case 6:
        return {18, 140, 200, 0, 0, Counted::BothChannels};
    case 10:
        return {55, 140, 0, 0, 0, Counted::BothChannels};
    case 11:
        return TavikFactors(name);
    case 12:
        return {1, 0, 0, 0, 0, Counted::BothChannels};
    case 14:
        return {938, 200, 200, 0, 0, Counted::BothChannels};
    case 15:
        return {18, 200, 200, 0, 0, Counted::BothChannels};
    case 16:
        return RivovFactors(name);
    default:
        // Types 0..4 and 9 measure nothing; the others are not timed: all factors zero.
        return {};
    }
}

} // namespace

uint32_t ComputeMeasTime(const ModuleRecord& record) {
    const std::string name = record.ModuleName();
    const TimeFactors f = FactorsFor(record.stationInfo.yModuleId, name);
    uint32_t count = 0;
    switch (f.counted) {
    case Counted::BothChannels:
        count = record.dwNumberOfMeas0 + record.dwNumberOfMeas1;
        break;
    case Counted::Channel0:
        count = record.dwNumberOfMeas0;
        break;
    case Counted::OneMeasurement:
        count = 1;
        break;
    }
    const uint32_t c = record.analogCfg0.yHasLinearisation == 0 ? f.c : 0;
    return f.a * count + f.b + c + f.d + f.e;
}

} // namespace terrix

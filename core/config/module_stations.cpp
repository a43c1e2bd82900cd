#include "core/config/module_stations.h"

namespace terrix {

namespace {

bool Passes(const ModuleRecord& record, StationFilter filter) {
    switch (filter) {
    case StationFilter::AllModules:
        return true;
    case StationFilter::TavikModules:
        return record.bIsTavikButNotXV != 0 || record.bIsTavikXV != 0;
    case StationFilter::XvModules:
        return record.bIsTavikXV != 0;
    }
    return false;
}

} // namespace

std::vector<uint8_t> ModuleStations(const CBusList& list, StationFilter filter) {
    std::vector<uint8_t> stations;
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord* record = list.GetAt(i);
        if (record != nullptr && record->enModuleState != msCollision && Passes(*record, filter)) {
            stations.push_back(record->iaStation);
        }
    }
    return stations;
}

} // namespace terrix

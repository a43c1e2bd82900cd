#include "core/config/module_stations.h"

namespace terrix {

std::vector<uint8_t> ModuleStations(const CBusList& list) {
    std::vector<uint8_t> stations;
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord* record = list.GetAt(i);
        if (record != nullptr && record->enModuleState != msCollision) {
            stations.push_back(record->iaStation);
        }
    }
    return stations;
}

} // namespace terrix

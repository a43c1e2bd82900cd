#include "core/config/module_stations.h"

namespace terrix {

XvModuleSelection XvModuleStations(const CBusList& list) {
    XvModuleSelection selection;
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord* record = list.GetAt(i);
        if (record == nullptr || record->enModuleState == msCollision ||
            record->SerialNo() > kMaxValidSerial) {
            continue;
        }
        if (record->bIsTavikXV != 0 && record->enModuleState != msFailed) {
            selection.stations.push_back(record->iaStation);
        } else {
            selection.skipped.push_back(record);
        }
    }
    return selection;
}

} // namespace terrix

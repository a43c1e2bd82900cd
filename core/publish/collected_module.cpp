#include "core/publish/collected_module.h"

#include "core/inventory/bus_info_file.h"
#include "core/inventory/module_file.h"
#include "core/inventory/module_kind.h"
#include "core/inventory/record_values.h"
#include "core/platform/data_paths.h"

namespace terrix {

bool StoreCollectedModule(const std::filesystem::path& directory, const ReceivedRecord& record,
                          std::string* error) {
    const std::filesystem::path moduleFile = directory / (std::to_string(record.serial) + ".ini");
    ModuleRecord module;
    ReadModuleFileFrom(moduleFile, module); // a missing file leaves the fresh record
    const ModuleRecord carried = record.Module();
    module.stationInfo.wSerialNo = record.serial;
    module.stationInfo.SetModuleName(record.moduleName);
    module.iaStation = record.station;
    module.bHasTDCSupport = carried.bHasTDCSupport;
    SetModuleKindFlags(module);
    // Real counts from a scan stay while they name the same channels.
    if (MeasChannelsFor(module.dwNumberOfMeas0, module.dwNumberOfMeas1) != record.channelMask) {
        module.dwNumberOfMeas0 = (record.channelMask & 1u) != 0 ? 1 : 0;
        module.dwNumberOfMeas1 = (record.channelMask & 2u) != 0 ? 1 : 0;
    }
    RecomputeMeasChannels(module);
    for (auto [to, from] :
         {std::pair{&module.szUnit0, &carried.szUnit0}, {&module.szUnit1, &carried.szUnit1}}) {
        if ((*from)[0] != '\0') {
            *to = *from;
        }
    }
    InventoryFileError failure;
    if (!WriteModuleFileTo(moduleFile, module, &failure) ||
        !AddToBusInfo(directory / kSettingsFileName, record.serial, record.station, &failure)) {
        if (error != nullptr) {
            *error = failure.Message();
        }
        return false;
    }
    return true;
}

} // namespace terrix

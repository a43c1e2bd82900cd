#include "core/busops/station_number.h"

#include "core/bus/commands.h"

namespace terrix {

ModuleCheck CheckStationChange(const ModuleRecord* record) {
    if (record == nullptr) {
        return ModuleCheck::kNoRecord;
    }
    if (record->enModuleState != msIdentified) {
        return ModuleCheck::kWrongState;
    }
    if (record->bDisabled != 0) {
        return ModuleCheck::kDisabled;
    }
    return ModuleCheck::kOk;
}

int ModuleCheckTextId(ModuleCheck check) {
    switch (check) {
    case ModuleCheck::kNoRecord: return 24637;
    case ModuleCheck::kWrongState: return 24638;
    case ModuleCheck::kDisabled: return 24639;
    case ModuleCheck::kOk: break;
    }
    return 0;
}

std::string ModuleCheckText(ModuleCheck check) {
    switch (check) {
    case ModuleCheck::kNoRecord: return "Please select a module before using this function!";
    case ModuleCheck::kWrongState: return "This function is not valid for a module of that status!";
    case ModuleCheck::kDisabled: return "This function is only valid for enabled modules!";
    case ModuleCheck::kOk: break;
    }
    return {};
}

StationChangeResult ApplyStationNumber(PortHandle port, CBusList& busList, ModuleRecord* record, uint8_t newStation) {
    if (record == nullptr || record->SerialNo() == kNoSerial) {
        return StationChangeResult::kNothingToDo;
    }
    if (newStation > kHighestStation) {
        return StationChangeResult::kInvalidStation;
    }
    if (!SetStationBySerial(port, record->SerialNo(), newStation)) {
        return StationChangeResult::kSendFailed;
    }
    record->iaStation = newStation;
    return busList.Save() ? StationChangeResult::kDone : StationChangeResult::kSaveFailed;
}

std::string StationChangeText(StationChangeResult result) {
    switch (result) {
    case StationChangeResult::kSendFailed: return "Error on setting station number!";
    case StationChangeResult::kSaveFailed: return "The station number was sent, but the bus state could not be saved.";
    case StationChangeResult::kInvalidStation: return "Station numbers range from 0 to 252.";
    case StationChangeResult::kDone:
    case StationChangeResult::kNothingToDo: break;
    }
    return {};
}

} // namespace terrix

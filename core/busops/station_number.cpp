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

ModuleCheck CheckConversionTimeChange(const ModuleRecord* record) {
    if (record == nullptr) {
        return ModuleCheck::kNoRecord;
    }
    return record->enModuleState == msIdentified && record->bIsTavikXV != 0 ? ModuleCheck::kOk
                                                                            : ModuleCheck::kWrongState;
}

int ModuleCheckTextId(ModuleCheck check) {
    switch (check) {
    case ModuleCheck::kNoRecord:
        return 24637;
    case ModuleCheck::kWrongState:
        return 24638;
    case ModuleCheck::kDisabled:
        return 24639;
    case ModuleCheck::kOk:
        break;
    }
    return 0;
}

std::string ModuleCheckText(ModuleCheck check) {
    switch (check) {
    case ModuleCheck::kNoRecord:
        return "Please select a module before using this function!";
    case ModuleCheck::kWrongState:
        return "This function is not valid for a module of that status!";
    case ModuleCheck::kDisabled:
        return "This function is only valid for enabled modules!";
    case ModuleCheck::kOk:
        break;
    }
    return {};
}

StationChangeResult MoveModuleStation(PortHandle port, const CBusList& busList, const ModuleRecord& record,
                                      uint8_t newStation) {
    if (record.SerialNo() == kNoSerial) {
        return StationChangeResult::kNothingToDo;
    }
    if (newStation > kHighestStation) {
        return StationChangeResult::kInvalidStation;
    }
    // The record may be a copy of the list's: the module itself is told apart by its serial number.
    for (uint32_t i = 0; i < busList.Count(); ++i) {
        const ModuleRecord* other = busList.GetAt(i);
        if (other != &record && other->iaStation == newStation && other->SerialNo() != record.SerialNo()) {
            return StationChangeResult::kStationInUse;
        }
    }
    if (!SetStationBySerial(port, record.SerialNo(), newStation)) {
        return StationChangeResult::kSendFailed;
    }
    // Command 1 is a broadcast and gets no reply: only the module answering at its new address shows that
    // it took it. The saved bus must not name a station where the module is not.
    StationInfoBlock block{};
    if (!ReadStationInfo(port, newStation, block) ||
        StationInfo::FromBytes(block).wSerialNo != record.SerialNo()) {
        return StationChangeResult::kNotConfirmed;
    }
    return StationChangeResult::kDone;
}

StationChangeResult ApplyStationNumber(PortHandle port, CBusList& busList, ModuleRecord* record,
                                       uint8_t newStation) {
    if (record == nullptr) {
        return StationChangeResult::kNothingToDo;
    }
    const StationChangeResult moved = MoveModuleStation(port, busList, *record, newStation);
    if (moved != StationChangeResult::kDone) {
        return moved;
    }
    record->iaStation = newStation;
    return busList.Save() ? StationChangeResult::kDone : StationChangeResult::kSaveFailed;
}

std::string StationChangeText(StationChangeResult result) {
    switch (result) {
    case StationChangeResult::kSendFailed:
        return "Error on setting station number!";
    case StationChangeResult::kSaveFailed:
        return "The station number was sent, but the bus state could not be saved.";
    case StationChangeResult::kInvalidStation:
        return "Station numbers range from 0 to 252.";
    case StationChangeResult::kStationInUse:
        return "Another module of the bus already uses that station number.";
    case StationChangeResult::kNotConfirmed:
        return "The module does not answer at its new station number; the bus state was not changed. Scan "
               "the bus.";
    case StationChangeResult::kDone:
    case StationChangeResult::kNothingToDo:
        break;
    }
    return {};
}

std::string StationInUseText(const CBusList& busList, uint8_t station) {
    const ModuleRecord* holder = busList.FindByStation(station);
    if (holder == nullptr) {
        return StationChangeText(StationChangeResult::kStationInUse);
    }
    return "Station " + std::to_string(station) + " is used by module " + std::to_string(holder->SerialNo()) +
           " of the bus; moving another module there would create a collision. Choose a free station.";
}

} // namespace terrix

#pragma once
// Moving one module to another station address, and changing the XV module's conversion time (its number of
// measurements per conversion), as the dialogs and the command-line tool use them.

#include "core/inventory/bus_list.h"
#include "core/platform/port_user.h"

#include <cstdint>
#include <string>

namespace terrix {

enum class ModuleCheck {
    kOk,
    kNoRecord,   // 24637 "Please select a module before using this function!"
    kWrongState, // 24638 "This function is not valid for a module of that status!"
    kDisabled,   // 24639 "This function is only valid for enabled modules!"
};

// Whether the station of a record may be changed: it must exist, be identified and be enabled.
ModuleCheck CheckStationChange(const ModuleRecord* record);
// Whether the conversion time of a record may be changed: it must exist, be identified and be the XV module
// (the only module whose channel count is its conversion time); a module of another kind is refused with
// kWrongState.
ModuleCheck CheckConversionTimeChange(const ModuleRecord* record);
int ModuleCheckTextId(ModuleCheck check);
std::string ModuleCheckText(ModuleCheck check);

inline constexpr uint8_t kHighestStation = 252;

enum class StationChangeResult {
    kDone,
    kNothingToDo, // no record, or a collision placeholder: nothing is sent
    kSendFailed,  // 24641 "Error on setting station number!"
    kSaveFailed,  // the module moved, but the bus state could not be saved
    kInvalidStation,
    kStationInUse, // another module of the bus list holds the new station: nothing is sent
    kNotConfirmed, // command 1 was sent, but the module does not answer at the new station: nothing saved
};

// Refuses a station that another record of the list holds (the move would create a collision), sends
// command 1 (serial, new station), reads the station information at the new station and, when the module
// answers there with its serial number, sets the record's station and saves the bus list.
StationChangeResult ApplyStationNumber(PortHandle port, CBusList& busList, ModuleRecord* record,
                                       uint8_t newStation);
// The same on the bus only: kDone once the module answers at `newStation`; neither the record nor the list
// changes (a window's worker moves the module, and its window writes the record and saves the list).
StationChangeResult MoveModuleStation(PortHandle port, const CBusList& busList, const ModuleRecord& record,
                                      uint8_t newStation);

// 24640 "Error accessing ComPort while setting station number!", 24641 "Error on setting station number!"
// For kStationInUse the list and the station name the module that holds it.
std::string StationChangeText(StationChangeResult result);
std::string StationInUseText(const CBusList& busList, uint8_t station);

} // namespace terrix

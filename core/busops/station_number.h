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
    kNoRecord,     // 24637 "Please select a module before using this function!"
    kWrongState,   // 24638 "This function is not valid for a module of that status!"
    kDisabled,     // 24639 "This function is only valid for enabled modules!"
};

// Whether the station of a record may be changed: it must exist, be identified and be enabled.
ModuleCheck CheckStationChange(const ModuleRecord* record);
int ModuleCheckTextId(ModuleCheck check);
std::string ModuleCheckText(ModuleCheck check);

inline constexpr uint8_t kHighestStation = 252;

enum class StationChangeResult {
    kDone,
    kNothingToDo,  // no record, or a collision placeholder: nothing is sent
    kSendFailed,   // 24641 "Error on setting station number!"
    kSaveFailed,   // the module moved, but the bus state could not be saved
    kInvalidStation,
};

// Sends command 1 (serial, new station), sets the record's station and saves the bus list. The module is
// not asked whether it took the address, and a station in use is not refused (a collision results).
StationChangeResult ApplyStationNumber(PortHandle port, CBusList& busList, ModuleRecord* record, uint8_t newStation);

// 24640 "Error accessing ComPort while setting station number!", 24641 "Error on setting station number!"
std::string StationChangeText(StationChangeResult result);

} // namespace terrix

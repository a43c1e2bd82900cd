#pragma once
// Identification: turns a station address into a filled module record by asking the module for its
// station information, channel counts, analog configurations and sensor data.

#include "core/busops/progress.h"
#include "core/inventory/module_record.h"
#include "core/platform/port_user.h"

namespace terrix {

// Fills `record` (zeroed first). True when the module was identified; otherwise the record's state and
// wLastError say why: msNotIdentified with 9 (nobody answered) or 8 (the module stayed busy), msFailed (2),
// or a collision placeholder (any other reception failure).
bool IdentifyModule(PortHandle port, uint8_t station, ModuleRecord& record, const UnitLookup& lookup);

// What the module at a record's saved station turned out to be, before a command addressed by serial number
// acts on it.
enum class StationCheck {
    kConfirmed,   // the module there has the record's serial number
    kOtherModule, // another module answers there: the record's module has moved
    kNoModule,    // nobody there could be identified (see the found record's wLastError)
};

// Identifies the module at `expected.iaStation` into `found` and compares its serial number with the
// expected one. A command addressed by serial must send nothing unless the result is kConfirmed: a saved
// bus can be out of date, and the module now at that station is another one.
StationCheck ConfirmModuleAtStation(PortHandle port, const ModuleRecord& expected, ModuleRecord& found,
                                    const UnitLookup& lookup);

// The check before a command configures the module of `record` at its station, in a window or the
// command-line tool. kOtherModule refuses the command: another module answers there, so the record's module
// moved or was swapped. A record without a known serial number has nothing to compare with and is
// kConfirmed without a transaction. kNoModule (nobody identified there) is the caller's to judge: a window
// lets the command fail with its own message.
StationCheck CheckModuleBeforeConfig(PortHandle port, const ModuleRecord& record, ModuleRecord& found,
                                     const UnitLookup& lookup);

// Opens the port, identifies the module at the record's station again and closes the port. On success the
// fresh record replaces every field of the given one except bDisabled, the user's switch; on failure the
// given record stays as it was.
bool RescanModule(PortUser& portUser, const UnitLookup& lookup, ModuleRecord& record);

} // namespace terrix

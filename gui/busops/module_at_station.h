#pragma once
// Before a dialog acts on a module by its record's station, it makes sure the module answering there is
// the record's module: after a rescan elsewhere or a swapped module, the station may belong to another.

#include "core/busops/identification.h"
#include "core/inventory/module_record.h"
#include "core/platform/port_user.h"

#include <QString>

class QWidget;

namespace terrix {

// What the module answering at a station turned out to be. Found by bus work on a worker thread, shown by
// the window on its own thread.
struct StationCheckResult {
    StationCheck check = StationCheck::kConfirmed;
    bool strict = false; // kNoModule refuses too (before a command that must reach the module)
    uint8_t station = 0;
    uint16_t expectedSerial = 0;
    uint16_t foundSerial = 0;
    uint16_t busError = 0; // why nobody answered (kNoModule)

    // True when the operation may go on.
    bool Passed() const {
        return check == StationCheck::kConfirmed || (!strict && check == StationCheck::kNoModule);
    }
};

// Bus work: does the module at `station` answer with the record's serial number? Strict: nobody answering
// fails as well. Mild (before configuring a module): only another module answering there fails; a silent
// station is left to the operation itself, which then fails with its own message, and a record without a
// known serial number is not checked.
StationCheckResult CheckStation(PortHandle port, const ModuleRecord& record, uint8_t station, bool strict);

// On the window's thread: shows why a check failed (the dialog's title as caption); returns Passed().
bool ShowStationCheck(QWidget* dialog, const StationCheckResult& result);

// Why a PortUser could not take the context's port, naming the device (the context's own device, else the
// one configured for its port number) and the cure where there is one (the dialout group).
QString PortFailureText(const ComPortContext& context);

// The text of a bus error (5200 + error), for messages.
QString BusErrorMessage(uint16_t error);
// The text of the latest bus error of this thread (a bus job hands its worker's error to its `done`).
QString LastBusErrorText();

} // namespace terrix

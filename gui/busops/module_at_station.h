#pragma once
// Before a dialog acts on a module by its record's station, it makes sure the module answering there is
// the record's module: after a rescan elsewhere or a swapped module, the station may belong to another.

#include "core/inventory/module_record.h"
#include "core/platform/port_user.h"

#include <QString>

class QWidget;

namespace terrix {

// True when the module at `station` answers with the record's serial number; otherwise shows why (the
// dialog's title as caption) and returns false.
bool CheckModuleAtStation(QWidget* dialog, PortHandle port, const ModuleRecord& record, uint8_t station);

// The milder check before configuring a module: false (with the reason shown) only when another module
// answers at `station`. A station where nobody answers is left to the operation itself, which then fails
// with its own message; a record without a known serial number is not checked.
bool RefuseOtherModuleAtStation(QWidget* dialog, PortHandle port, const ModuleRecord& record, uint8_t station);

// Why a PortUser could not take the context's port, naming the device (the context's own device, else the
// one configured for its port number) and the cure where there is one (the dialout group).
QString PortFailureText(const ComPortContext& context);

// The text of the latest bus error (5200 + LastBusError), for messages.
QString LastBusErrorText();

} // namespace terrix

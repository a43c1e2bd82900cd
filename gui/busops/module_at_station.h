#pragma once
// Before a dialog acts on a module by its record's station, it makes sure the module answering there is
// the record's module: after a rescan elsewhere or a swapped module, the station may belong to another.

#include "core/inventory/module_record.h"
#include "core/platform/com_port.h"

#include <QString>

class QWidget;

namespace terrix {

// True when the module at `station` answers with the record's serial number; otherwise shows why (the
// dialog's title as caption) and returns false.
bool CheckModuleAtStation(QWidget* dialog, PortHandle port, const ModuleRecord& record, uint8_t station);

// The text of the latest bus error (5200 + LastBusError), for messages.
QString LastBusErrorText();

} // namespace terrix

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

// Opens the port, identifies the module at the record's station again and closes the port. On success the
// fresh record replaces every field of the given one; on failure the given record stays as it was.
bool RescanModule(PortUser& portUser, const UnitLookup& lookup, ModuleRecord& record);

} // namespace terrix

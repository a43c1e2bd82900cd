#pragma once
// The bus scan: brings every module to 9600 baud, probes the stations (all of them, or only those of the
// saved bus list), identifies each module that answers and keeps records for stations that answered badly.
// Modules of the saved list that did not answer are merged back in.

#include "core/busops/progress.h"
#include "core/inventory/bus_context.h"
#include "core/platform/ini_section.h"

namespace terrix {

// Rebuilds context.busList. True when the port context's error is 0 at the end; otherwise it is 5002 (port
// could not be opened) or 5003 (no module answered), or the callback stopped at event 1 or 2. While the
// measuring loop holds the port (5004) the list is left untouched. With `allStations` the saved bus is
// neither used nor merged back, but stays stored: a complete scan that is stopped or fails must not cost the
// user the bus that known-module scans and the stored values rely on.
bool BusScan(BusContext& context, PortUser& portUser, const UnitLookup& lookup,
             const ProgressCallback& progress, bool allStations = false);

// The probing part of the scan, with the saved bus taken from `busInfo` (the "BUS INFO" section) unless
// `allStations`.
bool ScanStations(ComPortContext& portContext, CBusList& busList, const CIniSection& busInfo,
                  const UnitLookup& lookup, const ProgressCallback& progress, bool allStations = false);

} // namespace terrix

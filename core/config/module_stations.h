#pragma once
// The stations that "Program all modules" and "Set All Offsets and AveTime" work through, for the windows and
// the command-line tool alike.

#include "core/inventory/bus_list.h"

#include <cstdint>
#include <vector>

namespace terrix {

struct XvModuleSelection {
    std::vector<uint8_t> stations;            // in list order
    std::vector<const ModuleRecord*> skipped; // the other modules, for the message that names them
};

// Only the XV module holds calibrations and application parameters: the calibration files are named after
// it, and the plain Tavik probe and the multiplexer lack the commands, so writing to them would end a run
// with an error. Every XV record counts, also one not identified since the bus was loaded (each module is
// read before it is written, so one that does not answer is reported and left alone), except a module
// whose identification broke off with a fatal module error. Collision placeholders are neither taken nor
// named: several modules would answer at their station at once.
XvModuleSelection XvModuleStations(const CBusList& list);

} // namespace terrix

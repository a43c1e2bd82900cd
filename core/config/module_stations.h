#pragma once
// The stations that "Program all modules" and "Set All Offsets and AveTime" work through.

#include "core/inventory/bus_list.h"

#include <cstdint>
#include <vector>

namespace terrix {

enum class StationFilter {
    AllModules,   // every module (no collision placeholder)
    TavikModules, // the calibrated probes: Tavik probes and the XV module
    XvModules,    // the XV module only (application parameters)
};

// The station of every record of the list that is not a collision placeholder and passes the filter, in
// list order. (Counting the first "records minus collisions" entries instead would take a collision's
// station, where several modules would answer at once, and leave out a module at the end of the list; and
// a module that lacks the commands, such as the multiplexer, would end the run with an error.)
std::vector<uint8_t> ModuleStations(const CBusList& list, StationFilter filter = StationFilter::AllModules);

} // namespace terrix

#pragma once
// The stations that "Program all modules" and "Set All Offsets and AveTime" work through.

#include "core/inventory/bus_list.h"

#include <cstdint>
#include <vector>

namespace terrix {

// The station of every record of the list that is not a collision placeholder, in list order. (Counting
// the first "records minus collisions" entries instead would take a collision's station, where several
// modules would answer at once, and leave out a module at the end of the list.)
std::vector<uint8_t> ModuleStations(const CBusList& list);

} // namespace terrix

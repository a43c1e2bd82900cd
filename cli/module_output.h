#pragma once
// Module records for people (a table) and for programs (JSON with every record field).

#include "core/inventory/bus_list.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace terrix::cli {

const char* ModuleStateName(ModuleState state);
nlohmann::json ModuleToJson(const ModuleRecord& record);
nlohmann::json BusListToJson(const CBusList& list);
// Station, serial, module name, state, firmware, channels, conversion count, conversion time, units, place.
void PrintModuleTable(std::ostream& out, const CBusList& list);

} // namespace terrix::cli

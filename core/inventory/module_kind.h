#pragma once
// Module kinds told apart by the module name of the station information.

#include "core/inventory/module_record.h"

#include <string_view>

namespace terrix {

inline constexpr std::string_view kTavikXVName = "PX-TAVIK2XV";
inline constexpr std::string_view kTavikPrefix = "PX-TAVIK";
inline constexpr std::string_view kMultiplexerName = "PX-ROV4";

// The XV module: the name equals "PX-TAVIK2XV", letter case ignored.
bool IsTavikXVName(std::string_view name);
// A Tavik probe other than the XV module: the first 8 characters equal "PX-TAVIK", letter case ignored.
bool IsTavikButNotXVName(std::string_view name);
// The central multiplexer: the name equals "PX-ROV4" exactly (case counts).
bool IsMultiplexerName(std::string_view name);

// Sets bIsTavikXV and bIsTavikButNotXV from the record's module name.
void SetModuleKindFlags(ModuleRecord& record);

} // namespace terrix

#pragma once
// The conversion time of one measurement (dwMeasTime), derived at identification from the module type,
// its name, the per-channel measurement counts and the linearisation setting.

#include "core/inventory/module_record.h"

#include <cstdint>

namespace terrix {

// Milliseconds: A x counted measurements + B + C (only without linearisation) + D + E, all in 32-bit
// unsigned arithmetic, with the factors chosen by yModuleId and, for types 11 and 16, by the module name.
uint32_t ComputeMeasTime(const ModuleRecord& record);

} // namespace terrix

#pragma once
// The built-in table of measuring-unit names, indexed by a sensor's unit code.

#include <cstdint>
#include <string>

namespace terrix {

inline constexpr uint32_t kUnitNameCount = 37;

// The unit's name in the Windows-1252 code page, as the module files keep it ("\xB0" "C" for degrees
// Celsius); the empty string for a code outside the table. Convert with Cp1252ToUtf8 for display.
std::string UnitName(uint32_t unitCode);

} // namespace terrix

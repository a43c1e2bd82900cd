#include "core/inventory/unit_names.h"

#include <array>
#include <string_view>

namespace terrix {

namespace {

// Windows-1252: B0 degree sign, B2 superscript two, B3 superscript three.
constexpr std::array<std::string_view, kUnitNameCount> kUnitNames = {
    "-",
    "V",
    "A",
    "As",
    "W",
    "Ws",
    "J",
    "Ohm",
    "F",
    "H",
    "Hz",
    "s",
    "m",
    "g",
    "m/s",
    "m\xB3/s",
    "m/s\xB2",
    "mol/s",
    "Lux",
    "Cd",
    "\xB0"
    "C",
    "K",
    "F",
    "bar",
    "Pa",
    "%",
    "W/m\xB2",
    "\xB0",
    "m\xB3",
    "1/min",
    "VA",
    "T",
    "N",
    "S/m",
    "S",
    "mol/m\xB2s",
    "\xB0"
    "F",
};

} // namespace

std::string UnitName(uint32_t unitCode) {
    if (unitCode >= kUnitNames.size()) {
        return {};
    }
    return std::string(kUnitNames[unitCode]);
}

} // namespace terrix

#pragma once
// Error markers: a float value that could not be measured carries the reason as a NaN bit pattern,
// 0x7F800000 plus a bus error code. Markers are handled as bit patterns throughout, because a NaN passed
// through floating-point arithmetic may lose its payload.

#include <cstdint>
#include <string>

namespace terrix {

inline constexpr uint32_t kErrorMarkerBase = 0x7F800000u;
inline constexpr uint16_t kUnknownErrorCode = 0xFFFF; // no bus error code was set

// The marker of a bus error code; code 0 ("no code set") gives the unknown-error marker, since 0x7F800000
// itself is infinity and no marker.
uint32_t ErrorMarkerBits(uint16_t code);

// Exponent bits all ones and mantissa not zero: any NaN counts, whatever its sign.
bool IsErrorMarkerBits(uint32_t bits);

// The low 16 bits of a marker.
uint16_t ErrorMarkerCode(uint32_t bits);

// "NaN(9)" for code 9, "NaN(?)" for the unknown code.
std::string ErrorMarkerText(uint16_t code);

} // namespace terrix

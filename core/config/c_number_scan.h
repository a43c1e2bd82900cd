#pragma once
// The C library's number readers as the calibration and parameter files were written for ("%u", "%d",
// "%f", atoi, atof): leading white space skipped, an optional sign, then as much of a number as there is.
// Unlike the C library these never depend on the locale (a German locale must not turn "1.5" into 1).

#include <cstdint>
#include <string_view>

namespace terrix {

// "%u": false when no digit follows the white space and sign. A minus sign wraps as the C library does;
// values beyond 32 bits are saturated.
bool ScanUnsigned(std::string_view text, uint32_t& value);
// "%d" into a wide integer (saturated at the 64-bit range), so that callers can check the range they need.
bool ScanInteger(std::string_view text, int64_t& value);
// "%f" / "%lf": false when no number starts the text. "inf" and "nan" are numbers, as for the C library.
bool ScanReal(std::string_view text, double& value);

// atoi and atof: 0 where nothing parses.
int64_t AtoiLike(std::string_view text);
double AtofLike(std::string_view text);

} // namespace terrix

#pragma once
// Reading and printing the numbers of the validated edits, independent of the user's locale: the edits read
// and show numbers the C way ("12.5", "FF"), as the settings file does.

#include <cstdint>
#include <string>
#include <string_view>

namespace terrix {

// Validation results of the numeric edits.
enum ValidationCode : int { kValid = 0, kIncomplete = 1, kNotANumber = 2, kTooLow = 4, kTooHigh = 8 };

// Exactly one finite number and nothing but blanks after it (what "%lf%s" reads as one item).
bool ScanDouble(std::string_view text, double& value);

// Leading blanks, an optional '+', in hex an optional "0x", then digits; what follows is not looked at.
// False without a digit or with a minus sign. Values beyond 32 bits come back as 2^32 (too high for any
// range of the edits).
bool ScanUnsigned(std::string_view text, bool hex, uint64_t& value);

// "%.<decimals>f"
std::string FormatFixed(double value, int decimals);
// The number of characters after the point of "%.15G" (0 without a point).
int DecimalsOf(double value);
// The value as "%f" prints and reads it back: six decimals.
double RoundToSixDecimals(double value);
// "%u" or "%X"
std::string FormatUnsigned(uint64_t value, bool hex);

} // namespace terrix

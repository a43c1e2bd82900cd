#pragma once
// Hand-made number texts for the default field formats. Rebuilding an ASCII file formats millions of
// values; printf with a switched locale costs several times what the text itself does. Every function
// here gives exactly what snprintf in the "C" locale gives for the format it stands for.

#include <cstdint>
#include <string>
#include <string_view>

namespace terrix {

// "%02u" for a value below 100 (two digits, leading zero).
void AppendTwoDigits(std::string& out, uint32_t value);
// "%u".
void AppendUnsigned(std::string& out, uint32_t value);
// "%.<precision>f" of a finite value; false (nothing appended) for infinity or NaN.
bool AppendFixed(std::string& out, double value, int precision);
// The same for a float, several times faster for the values measured values have; precision 0..9.
bool AppendFixed(std::string& out, float value, int precision);

// The precision N of a format that is exactly "%.Nf" with N of one digit; -1 for any other format.
int FixedFormatPrecision(std::string_view format);

} // namespace terrix

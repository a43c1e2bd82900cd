#pragma once
// The text of a calibration coefficient in the coefficient list: fixed notation for magnitudes from 1e-3 to
// below 1e6, else mantissa and exponent ("1.0e-5", "2.5e6"); five significant decimals, trailing zeros
// removed. The decimal point is always ".", whatever the locale.

#include <string>

namespace terrix {

std::string FormatCoeff(double value, int width = 12, int digits = 5);

} // namespace terrix

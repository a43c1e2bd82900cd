#include "core/config/coeff_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace terrix {

namespace {

std::string Fixed(double value, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      decimals < 0 ? 0 : decimals);
    return std::string(buffer, result.ptr);
}

// Trailing zeros after the point go, but one digit stays behind it.
void TrimZeros(std::string& text) {
    const size_t point = text.find('.');
    if (point == std::string::npos) {
        text += ".0";
        return;
    }
    size_t end = text.size();
    while (end > point + 2 && text[end - 1] == '0') {
        --end;
    }
    text.resize(end);
}

} // namespace

std::string FormatCoeff(double value, int width, int digits) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    if (value == 0) {
        return "0.0";
    }
    const bool negative = value < 0;
    const std::string sign = negative ? "-" : "";
    const double magnitude = std::fabs(value);
    if (magnitude == 1) {
        return sign + "1.0";
    }
    const int s = negative ? 1 : 0;
    int e = static_cast<int>(std::floor(std::log10(magnitude)));
    const double scale = std::pow(10.0, digits);
    double m = std::floor(magnitude * std::pow(10.0, -e) * scale + 0.5) / scale;
    // Rounding may carry the mantissa to 10 (9.999996 -> 10.0); keep it normalised.
    if (m >= 10) {
        m /= 10;
        ++e;
    }
    std::string text;
    if (e >= -3 && e <= 5) {
        text = Fixed(m * std::pow(10.0, e), width - s - std::abs(e) - 1);
        TrimZeros(text);
    } else {
        const std::string exponent = std::to_string(e);
        text = Fixed(m, width - s - static_cast<int>(exponent.size()) - 2);
        TrimZeros(text);
        text += "e" + exponent;
    }
    return sign + text;
}

} // namespace terrix

#include "core/measure/number_text.h"

#include <charconv>
#include <cmath>

namespace terrix {

void AppendTwoDigits(std::string& out, uint32_t value) {
    const char digits[2] = {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
    out.append(digits, 2);
}

void AppendUnsigned(std::string& out, uint32_t value) {
    char buffer[10];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

bool AppendFixed(std::string& out, double value, int precision) {
    if (!std::isfinite(value)) {
        return false;
    }
    // The largest float has 39 integer digits; a double from outside may have up to 309.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc{}) {
        return false;
    }
    out.append(buffer, result.ptr);
    return true;
}

int FixedFormatPrecision(std::string_view format) {
    if (format.size() != 4 || format[0] != '%' || format[1] != '.' || format[3] != 'f') {
        return -1;
    }
    const char digit = format[2];
    return digit >= '0' && digit <= '9' ? digit - '0' : -1;
}

} // namespace terrix

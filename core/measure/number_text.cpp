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

bool AppendFixed(std::string& out, float value, int precision) {
    static constexpr uint64_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                                100000, 1000000, 10000000, 100000000, 1000000000};
    if (!std::isfinite(value) || precision < 0 || precision > 9) {
        return AppendFixed(out, static_cast<double>(value), precision);
    }
    // A float's 24-bit mantissa times 10^9 = 5^9 * 2^9 needs at most 45 bits, so the scaled value is exact
    // in a double; rounding it to an integer then rounds exactly as printf does (to nearest, ties to even,
    // in the default rounding mode both follow).
    const uint64_t scale = kPowersOfTen[precision];
    const double scaled = std::fabs(static_cast<double>(value)) * static_cast<double>(scale);
    if (scaled >= 1e18) {
        return AppendFixed(out, static_cast<double>(value), precision);
    }
    const auto units = static_cast<uint64_t>(std::nearbyint(scaled));
    if (std::signbit(value)) {
        out += '-'; // printf keeps the sign of a negative value that rounds to zero
    }
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, units / scale);
    out.append(buffer, result.ptr);
    if (precision > 0) {
        char fraction[10];
        uint64_t rest = units % scale;
        for (int i = precision; i-- > 0;) {
            fraction[i] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        out += '.';
        out.append(fraction, static_cast<size_t>(precision));
    }
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

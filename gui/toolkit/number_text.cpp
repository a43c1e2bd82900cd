#include "gui/toolkit/number_text.h"

#include "core/platform/c_locale.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace terrix {

namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

bool ScanDouble(std::string_view text, double& value) {
    const std::string copy(text); // strtod needs a terminated string
    const char* begin = copy.c_str();
    char* end = nullptr;
    const double v = StrtodC(begin, &end);
    if (end == begin) {
        return false;
    }
    for (const char* p = end; *p != '\0'; ++p) {
        if (!IsBlank(*p)) {
            return false;
        }
    }
    // "inf" and "nan" read as numbers but are no value a field can hold.
    if (!std::isfinite(v)) {
        return false;
    }
    value = v;
    return true;
}

bool ScanUnsigned(std::string_view text, bool hex, uint64_t& value) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == '+') {
        ++i;
    }
    const unsigned base = hex ? 16 : 10;
    if (hex && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    constexpr uint64_t kBeyond = uint64_t{1} << 32;
    uint64_t result = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            break;
        }
        any = true;
        result = std::min(result * base + static_cast<uint64_t>(digit), kBeyond);
    }
    if (!any) {
        return false;
    }
    value = result;
    return true;
}

std::string FormatFixed(double value, int decimals) {
    std::string buffer(static_cast<size_t>(340 + std::max(decimals, 0)), '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, std::max(decimals, 0));
    buffer.resize(static_cast<size_t>(result.ptr - buffer.data()));
    return buffer;
}

int DecimalsOf(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

double RoundToSixDecimals(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const std::string text = FormatFixed(value, 6);
    double rounded = value;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

std::string FormatUnsigned(uint64_t value, bool hex) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, hex ? 16 : 10);
    std::string text(buffer, result.ptr);
    if (hex) {
        for (char& c : text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return text;
}

} // namespace terrix

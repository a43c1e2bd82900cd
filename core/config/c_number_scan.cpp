#include "core/config/c_number_scan.h"

#include "core/platform/c_locale.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace terrix {

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view SkipSpace(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    return text.substr(i);
}

// Sign and digits; the magnitude saturates at 2^64 - 1.
bool ScanDigits(std::string_view text, bool& negative, uint64_t& magnitude) {
    text = SkipSpace(text);
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    magnitude = 0;
    size_t digits = 0;
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        const unsigned d = static_cast<unsigned>(text[digits] - '0');
        magnitude = magnitude > (kMax - d) / 10 ? kMax : magnitude * 10 + d;
        ++digits;
    }
    return digits > 0;
}

} // namespace

bool ScanUnsigned(std::string_view text, uint32_t& value) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ScanDigits(text, negative, magnitude)) {
        return false;
    }
    const uint32_t clipped = magnitude > std::numeric_limits<uint32_t>::max()
                                 ? std::numeric_limits<uint32_t>::max()
                                 : static_cast<uint32_t>(magnitude);
    value = negative ? static_cast<uint32_t>(0u - clipped) : clipped;
    return true;
}

bool ScanInteger(std::string_view text, int64_t& value) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ScanDigits(text, negative, magnitude)) {
        return false;
    }
    constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (negative) {
        value =
            magnitude > kMaxPositive ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(magnitude);
    } else {
        value =
            magnitude > kMaxPositive ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(magnitude);
    }
    return true;
}

bool ScanReal(std::string_view text, double& value) {
    // strtod in the "C" locale is exactly the reader these files were written for (hex floats, "inf", "nan",
    // overflow to infinity, underflow to zero) without the process locale's decimal comma.
    const std::string copy(text.substr(0, text.find('\0')));
    char* end = nullptr;
    const ThreadCLocale cLocale;
    const double parsed = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) {
        return false;
    }
    value = parsed;
    return true;
}

int64_t AtoiLike(std::string_view text) {
    int64_t value = 0;
    return ScanInteger(text, value) ? value : 0;
}

double AtofLike(std::string_view text) {
    double value = 0;
    return ScanReal(text, value) ? value : 0.0;
}

} // namespace terrix

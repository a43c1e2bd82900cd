#include "core/measure/c_locale_format.h"

#include "core/platform/c_locale.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace terrix {

namespace {

__attribute__((format(printf, 1, 0))) std::string VFormatC(const char* format, va_list args) {
    const ThreadCLocale cLocale;
    std::string out;
    char small[64];
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    if (n > 0 && static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else if (n > 0) {
        out.resize(static_cast<size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, format, again);
    }
    va_end(again);
    return out;
}

bool IsFlag(char ch) {
    return ch == '-' || ch == '+' || ch == ' ' || ch == '#' || ch == '0';
}
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}
bool IsFloating(char ch) {
    return ch != '\0' && std::strchr("fFeEgGaA", ch) != nullptr;
}

} // namespace

std::string FormatC(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = VFormatC(format, args);
    va_end(args);
    return out;
}

std::string FormatCDynamic(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = VFormatC(format, args);
    va_end(args);
    return out;
}

bool FormatTakes(std::string_view format, std::string_view conversions, int count) {
    int found = 0;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] == '\0') {
            return false;
        }
        if (format[i] != '%') {
            ++i;
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            ++i;
            continue;
        }
        while (i < format.size() && IsFlag(format[i])) {
            ++i;
        }
        while (i < format.size() && IsDigit(format[i])) {
            ++i;
        }
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && IsDigit(format[i])) {
                ++i;
            }
        }
        if (i < format.size() && format[i] == 'l' && i + 1 < format.size() && IsFloating(format[i + 1])) {
            ++i;
        }
        if (i >= format.size() || conversions.find(format[i]) == std::string_view::npos) {
            return false;
        }
        ++found;
        ++i;
    }
    return found == count;
}

} // namespace terrix

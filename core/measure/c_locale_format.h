#pragma once
// printf-style formatting that always uses the C locale's decimal point. The desktop program takes
// LC_NUMERIC from the environment, but measured values in files and lists must read "1.234" everywhere.

#include <string>
#include <string_view>

namespace terrix {

// Formats like snprintf under the "C" locale, whatever the process or thread locale is. The result is not
// cut to any length.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Same for a format chosen at run time; the caller has checked it with FormatTakes.
std::string FormatCDynamic(const char* format, ...);

// Whether `format` holds exactly `count` conversions, each of flags, width and precision followed by one of
// the characters in `conversions` (no '*', no length modifier except 'l' before a floating conversion), and
// otherwise only plain text and "%%". Formats of measured-value fields are checked with this before they are
// ever used, so a mistaken format cannot read arguments that were not passed.
bool FormatTakes(std::string_view format, std::string_view conversions, int count);

} // namespace terrix

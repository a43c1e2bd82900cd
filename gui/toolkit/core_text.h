#pragma once
// The core's messages as shown. The core speaks English (terrix-cli prints its texts as they are); the
// program shows each message that reaches a window in the user's language, looked up under the context
// "terrix::CoreText" of the translation files: a whole text, or a pattern of fixed words around details
// (a device, a path, a number), whose details are looked up in turn (a system error text after a path).
// A text without a translation shows as it is.

#include <QString>

#include <span>
#include <string>

namespace terrix {

// The texts of one core layer under one translation context: whole texts, and patterns of fixed words
// around one or two details "%1", "%2" (the most specific first). Each must match the core's wording exactly.
struct CoreTextTable {
    const char* context;
    std::span<const char* const> whole;
    std::span<const char* const> patterns;
};

// `text` in the user's language by `table`; a detail that is a text of the table is translated too.
QString TranslateCoreText(const CoreTextTable& table, const std::string& text);

// The messages of the port, bus-state, station-number and measurement-file layers.
QString CoreText(const std::string& text);

} // namespace terrix

#pragma once
// The core's messages as shown. The core speaks English (terrix-cli prints its texts as they are); the
// program shows each message that reaches a window in the user's language, looked up under the context
// "terrix::CoreText" of the translation files: a whole text, or a pattern of fixed words around details
// (a device, a path, a number), whose details are looked up in turn (a system error text after a path).
// A text without a translation shows as it is.

#include <QString>

#include <string>

namespace terrix {

QString CoreText(const std::string& text);

} // namespace terrix

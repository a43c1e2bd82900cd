#pragma once
// The configuration core's messages as shown. The core keeps the module service's English wording (it has
// no translations); the program shows each in the user's language, looked up under the context
// "terrix::ConfigText" of the translation files, as CoreText does for the other layers. A message made of a
// fixed text and a detail (a file name, a list of files) is translated in its fixed part; a text without a
// translation shows as it is.

#include <QString>

#include <string>

namespace terrix {

QString ConfigText(const std::string& text);

} // namespace terrix

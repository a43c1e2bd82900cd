#pragma once
// Paths as UTF-8 text and back. Terrix keeps paths as UTF-8 wherever they are text: in Terrix.ini, in
// messages, on the command line and from the windows. std::filesystem's own conversions of narrow strings
// follow the system's code page on Windows, which garbles a folder such as "Prüfung" or "Łódź"; these two
// go through char8_t, which is UTF-8 on every system.

#include <filesystem>
#include <string>
#include <string_view>

namespace terrix {

std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(std::string_view utf8);

} // namespace terrix

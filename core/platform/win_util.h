#pragma once
// Helpers of the Windows implementations in this folder (built on Windows only).

#include <string>

namespace terrix {

// A UTF-8 path for the wide-character file API, so that names beyond the ANSI code page work. An empty
// string for text that is not UTF-8.
std::wstring WidePath(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// The errno value that the rest of Terrix words its messages with, for a Windows error code.
int ErrnoFromWin32(unsigned long code);

} // namespace terrix

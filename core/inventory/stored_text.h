#pragma once
// Conventions of the texts kept in module files: they are Windows-1252 bytes (the files are shared with
// the Windows program), and a line break of a comment is stored as the two characters backslash and 'n'.

#include <string>
#include <string_view>

namespace terrix {

// Windows-1252 bytes to UTF-8 for display. The five bytes the code page leaves unassigned map to the
// control characters of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view text);
// UTF-8 to Windows-1252 for storing; characters the code page lacks, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view text);

// Line breaks (CR LF, LF or CR) to the stored form "\n" (two characters).
std::string EncodeLineBreaks(std::string_view text);
// The stored "\n" back to line feeds.
std::string DecodeLineBreaks(std::string_view text);

} // namespace terrix

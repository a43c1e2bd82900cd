#pragma once
// The system's half of safe_file.h (safe_file_posix.cpp, safe_file_win.cpp).

#include <filesystem>
#include <string_view>

namespace terrix::os {

// Creates `temp`, which must not exist yet (an existing name, a link among them, fails with EEXIST), with
// the permissions of `like` where that exists, writes `bytes` and flushes them to the medium. On failure
// the temporary file is gone again; *created tells whether it had been made.
bool WriteNewFile(const std::filesystem::path& temp, const std::filesystem::path& like,
                  std::string_view bytes, int* error, bool* created);
// Moves `from` over `to` in one step.
bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to, int* error);

} // namespace terrix::os

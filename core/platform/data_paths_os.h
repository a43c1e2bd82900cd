#pragma once
// The system's half of data_paths.h (data_paths_posix.cpp, data_paths_win.cpp).

#include <filesystem>

namespace terrix::os {

// The running executable's folder; empty when unknown.
std::filesystem::path ExecutableDir();
// Whether this process may create files in `dir`.
bool WritableDir(const std::filesystem::path& dir);
// The value of an environment variable as a path; empty when unset or empty.
std::filesystem::path EnvironmentPath(const char* name);
// The per-user folder of an installed program's data: $XDG_DATA_HOME/terrix (~/.local/share/terrix) on
// POSIX systems, %LOCALAPPDATA%\Terrix on Windows; empty when the environment names none.
std::filesystem::path UserDataDir();

} // namespace terrix::os

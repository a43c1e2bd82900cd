#pragma once
// Where the program keeps its settings file, module files and measurement files. The desktop program and
// the command-line tool share one data directory.

#include <cstdint>
#include <filesystem>

namespace terrix {

// The data directory: an explicit choice (SetDataDir, e.g. from --data-dir), else DefaultDataDir() of the
// running executable's directory. Created on first use. An empty choice drops an earlier one.
std::filesystem::path DataDir();
void SetDataDir(const std::filesystem::path& dir);

// $TERRIX_DATA_DIR; else `exeDir` when it is a portable copy's folder (writable and not an installation's
// bin folder); else the per-user folder $XDG_DATA_HOME/terrix (~/.local/share/terrix), on Windows
// %LOCALAPPDATA%\Terrix.
std::filesystem::path DefaultDataDir(const std::filesystem::path& exeDir);

// Whether `exeDir` is the bin folder of an installation prefix (/usr/bin, /usr/local/bin, ~/.local/bin, a
// scratch root's usr/bin): named bin beside a share folder.
bool IsInstalledBinDir(const std::filesystem::path& exeDir);

inline constexpr const char* kSettingsFileName = "Terrix.ini";

// The settings file "Terrix.ini" in the data directory.
std::filesystem::path SettingsFilePath();
// The module file of one serial number: "<serial>.ini" in the data directory.
std::filesystem::path ModuleFilePath(uint16_t serialNo);
// A file named `name` in the data directory.
std::filesystem::path DataFilePath(const std::string& name);

} // namespace terrix

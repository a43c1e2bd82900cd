#pragma once
// Where the program keeps its settings file, module files and measurement files. The desktop program and
// the command-line tool share one data directory.

#include <cstdint>
#include <filesystem>

namespace terrix {

// The data directory: an explicit choice (SetDataDir, e.g. from --data-dir), else $TERRIX_DATA_DIR, else the
// executable's directory when it is writable (portable use), else $XDG_DATA_HOME/terrix
// (~/.local/share/terrix). Created on first use. An empty choice drops an earlier one.
std::filesystem::path DataDir();
void SetDataDir(const std::filesystem::path& dir);

// The settings file "Terrix.ini" in the data directory.
std::filesystem::path SettingsFilePath();
// The module file of one serial number: "<serial>.ini" in the data directory.
std::filesystem::path ModuleFilePath(uint16_t serialNo);
// A file named `name` in the data directory.
std::filesystem::path DataFilePath(const std::string& name);

} // namespace terrix

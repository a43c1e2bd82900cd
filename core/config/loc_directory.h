#pragma once
// The LOC directory: where the calibration dialog looks for LOC, CAL and TDC files. Kept in the settings
// file, section "TavikCalibViewer", key "m_strLOCFileDirectory"; empty or missing means the data directory
// (the folder of the executable in portable use).

#include <filesystem>

namespace terrix {

std::filesystem::path LoadLocDirectory();
// False when the settings file could not be written.
bool SaveLocDirectory(const std::filesystem::path& directory);

} // namespace terrix

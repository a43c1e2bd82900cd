#include "core/config/loc_directory.h"

#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"

namespace terrix {

namespace {
constexpr const char* kSection = "TavikCalibViewer";
constexpr const char* kKey = "m_strLOCFileDirectory";
} // namespace

std::filesystem::path LoadLocDirectory() {
    const CIniSection settings(SettingsFilePath(), kSection);
    const std::string stored = settings.ReadString(kKey, "");
    return stored.empty() ? DataDir() : std::filesystem::path(stored);
}

bool SaveLocDirectory(const std::filesystem::path& directory) {
    CIniSection settings(SettingsFilePath(), kSection);
    return settings.WriteString(kKey, directory.string());
}

} // namespace terrix

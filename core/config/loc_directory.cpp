#include "core/config/loc_directory.h"

#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/platform/path_text.h"

namespace terrix {

namespace {
constexpr const char* kSection = "TavikCalibViewer";
constexpr const char* kKey = "m_strLOCFileDirectory";
} // namespace

std::filesystem::path LoadLocDirectory() {
    const CIniSection settings(SettingsFilePath(), kSection);
    const std::string stored = settings.ReadString(kKey, "");
    return stored.empty() ? DataDir() : PathFromText(stored);
}

bool SaveLocDirectory(const std::filesystem::path& directory) {
    CIniSection settings(SettingsFilePath(), kSection);
    return settings.WriteString(kKey, PathText(directory));
}

} // namespace terrix

#include "core/platform/data_paths.h"

#include "core/platform/data_paths_os.h"

#include <mutex>
#include <string>
#include <system_error>

namespace terrix {

namespace {

std::mutex pathMutex;
std::filesystem::path chosenDir;

} // namespace

bool IsInstalledBinDir(const std::filesystem::path& exeDir) {
    std::error_code ec;
    return exeDir.filename() == "bin" && std::filesystem::is_directory(exeDir.parent_path() / "share", ec);
}

std::filesystem::path DefaultDataDir(const std::filesystem::path& exeDir) {
    if (const std::filesystem::path env = os::EnvironmentPath("TERRIX_DATA_DIR"); !env.empty()) {
        return env;
    }
    // An installed program never writes beside itself, even where it may: root can write to /usr/bin.
    if (!exeDir.empty() && !IsInstalledBinDir(exeDir) && os::WritableDir(exeDir)) {
        return exeDir;
    }
    if (const std::filesystem::path user = os::UserDataDir(); !user.empty()) {
        return user;
    }
    return std::filesystem::current_path();
}

std::filesystem::path DataDir() {
    std::lock_guard lock(pathMutex);
    if (chosenDir.empty()) {
        chosenDir = DefaultDataDir(os::ExecutableDir());
        std::error_code ec;
        std::filesystem::create_directories(chosenDir, ec);
    }
    return chosenDir;
}

void SetDataDir(const std::filesystem::path& dir) {
    std::lock_guard lock(pathMutex);
    if (dir.empty()) {
        chosenDir.clear();
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    chosenDir = std::filesystem::absolute(dir, ec);
    if (ec) {
        chosenDir = dir;
    }
}

std::filesystem::path SettingsFilePath() {
    return DataDir() / kSettingsFileName;
}

std::filesystem::path ModuleFilePath(uint16_t serialNo) {
    return DataDir() / (std::to_string(serialNo) + ".ini");
}

std::filesystem::path DataFilePath(const std::string& name) {
    return DataDir() / name;
}

} // namespace terrix

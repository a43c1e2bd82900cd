#include "core/platform/data_paths.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <unistd.h>

namespace terrix {

namespace {

std::mutex pathMutex;
std::filesystem::path chosenDir;

std::filesystem::path ExecutableDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path{} : exe.parent_path();
}

} // namespace

bool IsInstalledBinDir(const std::filesystem::path& exeDir) {
    std::error_code ec;
    return exeDir.filename() == "bin" && std::filesystem::is_directory(exeDir.parent_path() / "share", ec);
}

std::filesystem::path DefaultDataDir(const std::filesystem::path& exeDir) {
    if (const char* env = std::getenv("TERRIX_DATA_DIR"); env != nullptr && *env != '\0') {
        return env;
    }
    // An installed program never writes beside itself, even where it may: root can write to /usr/bin.
    if (!exeDir.empty() && !IsInstalledBinDir(exeDir) && ::access(exeDir.c_str(), W_OK) == 0) {
        return exeDir;
    }
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "terrix";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".local" / "share" / "terrix";
    }
    return std::filesystem::current_path();
}

std::filesystem::path DataDir() {
    std::lock_guard lock(pathMutex);
    if (chosenDir.empty()) {
        chosenDir = DefaultDataDir(ExecutableDir());
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

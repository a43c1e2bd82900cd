#include "core/platform/data_paths_os.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace terrix::os {

std::filesystem::path ExecutableDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path{} : exe.parent_path();
}

bool WritableDir(const std::filesystem::path& dir) {
    return ::access(dir.c_str(), W_OK) == 0;
}

std::filesystem::path EnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path{};
}

std::filesystem::path UserDataDir() {
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    if (const std::filesystem::path xdg = EnvironmentPath("XDG_DATA_HOME"); xdg.is_absolute()) {
        return xdg / "terrix";
    }
    if (const std::filesystem::path home = EnvironmentPath("HOME"); !home.empty()) {
        return home / ".local" / "share" / "terrix";
    }
    return {};
}

} // namespace terrix::os

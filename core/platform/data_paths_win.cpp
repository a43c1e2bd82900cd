#include "core/platform/data_paths_os.h"

#include <cstdlib>
#include <string>
#include <windows.h>

namespace terrix::os {

std::filesystem::path ExecutableDir() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (n == 0) {
            return {};
        }
        if (n < exe.size()) {
            exe.resize(n);
            return std::filesystem::path(exe).parent_path();
        }
        exe.resize(exe.size() * 2);
    }
}

bool WritableDir(const std::filesystem::path& dir) {
    // Access rights on Windows are lists that only an attempt answers reliably (a folder under Program
    // Files may look writable and be redirected or refused).
    const std::filesystem::path probe =
        dir / (L".terrix-write-test-" + std::to_wstring(::GetCurrentProcessId()));
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

std::filesystem::path EnvironmentPath(const char* name) {
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = ::_wgetenv(wide.c_str());
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path{};
}

std::filesystem::path UserDataDir() {
    if (const std::filesystem::path local = EnvironmentPath("LOCALAPPDATA"); local.is_absolute()) {
        return local / "Terrix";
    }
    return {};
}

} // namespace terrix::os

#include "core/platform/folder_probe.h"

#include "core/platform/win_util.h"

#include <cerrno>
#include <string>
#include <windows.h>

namespace terrix {

int FolderWriteError(const std::string& utf8Dir) {
    const std::wstring dir = WidePath(utf8Dir);
    if (dir.empty()) {
        return utf8Dir.empty() ? ENOENT : EINVAL;
    }
    const DWORD attributes = ::GetFileAttributesW(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ErrnoFromWin32(::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return ENOTDIR;
    }
    const std::wstring probe = dir + L"\\.terrix-write-test-" + std::to_wstring(::GetCurrentProcessId());
    // Deleted when closed, so that nothing is left even when the write fails.
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        return code == ERROR_WRITE_PROTECT ? EROFS : ErrnoFromWin32(code);
    }
    // As much as a lock file holds: a full disk may let the file be made and refuse its first block.
    const char block[256] = {};
    DWORD written = 0;
    int error = 0;
    if (!::WriteFile(file, block, sizeof block, &written, nullptr)) {
        error = ErrnoFromWin32(::GetLastError());
    } else if (written != sizeof block) {
        error = ENOSPC;
    }
    ::CloseHandle(file);
    return error;
}

} // namespace terrix

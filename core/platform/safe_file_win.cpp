#include "core/platform/safe_file.h"
#include "core/platform/safe_file_os.h"
#include "core/platform/win_util.h"

#include <cerrno>
#include <windows.h>

namespace terrix {

namespace os {

bool WriteNewFile(const std::filesystem::path& temp, const std::filesystem::path& like,
                  std::string_view bytes, int* error, bool* created) {
    *created = false;
    // CREATE_NEW fails on any existing name, a link among them.
    const HANDLE file =
        ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = ErrnoFromWin32(::GetLastError());
        // A file where the folder should be: "not a directory", as POSIX systems say, rather than "not
        // found", which would send the user looking for a folder that is there.
        for (std::filesystem::path up = temp.parent_path(); *error == ENOENT && up.has_relative_path();
             up = up.parent_path()) {
            const DWORD attributes = ::GetFileAttributesW(up.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES) {
                *error = (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? ENOTDIR : ENOENT;
                break;
            }
        }
        return false;
    }
    *created = true;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const DWORD chunk =
            bytes.size() - done > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size() - done);
        DWORD n = 0;
        ok = ::WriteFile(file, bytes.data() + done, chunk, &n, nullptr) && n > 0;
        done += n;
    }
    ok = ok && ::FlushFileBuffers(file);
    const DWORD code = ::GetLastError();
    ::CloseHandle(file);
    if (!ok) {
        *error = code == ERROR_SUCCESS ? EIO : ErrnoFromWin32(code);
        ::DeleteFileW(temp.c_str());
        return false;
    }
    // A read-only file stays read-only after the save, as its owner set it.
    const DWORD attributes = ::GetFileAttributesW(like.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    return true;
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to, int* error) {
    if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = ErrnoFromWin32(::GetLastError());
        return false;
    }
    return true;
}

} // namespace os

FileLock::FileLock(const std::filesystem::path& file) {
    std::filesystem::path lockFile = file;
    lockFile += ".lock";
    const HANDLE handle = ::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        ::CloseHandle(handle);
        return;
    }
    handle_ = reinterpret_cast<intptr_t>(handle);
}

FileLock::~FileLock() {
    if (handle_ != kNone) {
        // Closing the handle releases the lock.
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

} // namespace terrix

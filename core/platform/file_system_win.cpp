// The machine's file system for the measurement files on Windows. The share modes keep the rules that the
// POSIX side keeps with flock: a writer opens "read and write, others may read", so a second writer (of
// this or another process) is refused with a sharing violation, while readers share everything.

#include <cerrno>
#include <string>
#include <windows.h>

#include "core/platform/file_handle.h"
#include "core/platform/win_util.h"

namespace terrix {

namespace {

class WinFileHandle final : public FileHandle {
public:
    explicit WinFileHandle(HANDLE handle) : handle_(handle) {}
    ~WinFileHandle() override { ::CloseHandle(handle_); }
    WinFileHandle(const WinFileHandle&) = delete;
    WinFileHandle& operator=(const WinFileHandle&) = delete;

    int64_t Read(void* buffer, size_t count) override {
        DWORD n = 0;
        return ::ReadFile(handle_, buffer, Chunk(count), &n, nullptr) ? n : Fail();
    }
    int64_t Write(const void* buffer, size_t count) override {
        DWORD n = 0;
        return ::WriteFile(handle_, buffer, Chunk(count), &n, nullptr) ? n : Fail();
    }
    // A positioned transfer moves the file pointer on Windows; it is put back so that these leave the
    // position alone as pread and pwrite do.
    int64_t ReadAt(void* buffer, size_t count, uint64_t offset) override {
        return AtOffset(offset, [&](OVERLAPPED* at, DWORD* n) {
            if (::ReadFile(handle_, buffer, Chunk(count), n, at)) {
                return true;
            }
            // Reading at or past the end is an end of file, not an error.
            return ::GetLastError() == ERROR_HANDLE_EOF;
        });
    }
    int64_t WriteAt(const void* buffer, size_t count, uint64_t offset) override {
        return AtOffset(offset, [&](OVERLAPPED* at, DWORD* n) {
            return ::WriteFile(handle_, buffer, Chunk(count), n, at) != FALSE;
        });
    }
    int64_t Seek(uint64_t offset) override { return Move(static_cast<LONGLONG>(offset), FILE_BEGIN); }
    int64_t SeekEnd() override { return Move(0, FILE_END); }
    int64_t Position() override { return Move(0, FILE_CURRENT); }
    int64_t Size() override {
        LARGE_INTEGER size{};
        return ::GetFileSizeEx(handle_, &size) ? size.QuadPart : Fail();
    }
    bool Truncate(uint64_t size) override {
        const int64_t position = Position();
        if (position < 0 || Move(static_cast<LONGLONG>(size), FILE_BEGIN) < 0) {
            return false;
        }
        const bool cut = ::SetEndOfFile(handle_) != FALSE;
        if (!cut) {
            Fail();
        }
        Move(position, FILE_BEGIN);
        return cut;
    }
    bool Sync() override {
        if (!::FlushFileBuffers(handle_)) {
            Fail();
            return false;
        }
        return true;
    }
    int LastError() const override { return error_; }

private:
    static DWORD Chunk(size_t count) { return count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count); }

    int64_t Fail() {
        error_ = ErrnoFromWin32(::GetLastError());
        return -1;
    }
    int64_t Move(LONGLONG offset, DWORD from) {
        LARGE_INTEGER distance{};
        distance.QuadPart = offset;
        LARGE_INTEGER now{};
        return ::SetFilePointerEx(handle_, distance, &now, from) ? now.QuadPart : Fail();
    }
    template <typename Transfer> int64_t AtOffset(uint64_t offset, Transfer transfer) {
        const int64_t position = Position();
        if (position < 0) {
            return -1;
        }
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        const bool done = transfer(&at, &n);
        const int64_t result = done ? static_cast<int64_t>(n) : Fail();
        Move(position, FILE_BEGIN);
        return result;
    }

    HANDLE handle_;
    int error_ = 0;
};

HANDLE OpenHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, int* error) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) {
        *error = path.empty() ? ENOENT : EINVAL;
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = ::CreateFileW(wide.c_str(), access, share, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    *error = handle == INVALID_HANDLE_VALUE ? ErrnoFromWin32(::GetLastError()) : 0;
    return handle;
}

// Whether a writer holds the file open; false for a missing file. Opening without sharing write access
// fails exactly while some handle has the file open for writing.
bool HeldByWriter(const std::string& path, int* error) {
    const HANDLE probe =
        OpenHandle(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, error);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        return false;
    }
    return *error == EWOULDBLOCK;
}

class WinFiles final : public FileSystem {
public:
    std::unique_ptr<FileHandle> Open(const std::string& path, FileAccess access, int* error) override {
        const bool reader = access == FileAccess::kReadOnly;
        const DWORD rights = reader ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
        const DWORD share = reader ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ;
        const HANDLE handle = OpenHandle(path, rights, share, OPEN_ALWAYS, error);
        if (handle == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        auto file = std::make_unique<WinFileHandle>(handle);
        // Cut only once this handle keeps other writers out, so a file that another writer has open is
        // never emptied.
        if (access == FileAccess::kReplace && !file->Truncate(0)) {
            *error = file->LastError();
            return nullptr;
        }
        return file;
    }

    bool Remove(const std::string& path, int* error) override {
        if (HeldByWriter(path, error)) {
            return false;
        }
        if (!::DeleteFileW(WidePath(path).c_str())) {
            const int code = ErrnoFromWin32(::GetLastError());
            if (code != ENOENT) {
                *error = code;
                return false;
            }
        }
        *error = 0;
        return true;
    }

    bool Replace(const std::string& from, const std::string& to, int* error) override {
        if (HeldByWriter(to, error)) {
            return false;
        }
        if (!::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            *error = ErrnoFromWin32(::GetLastError());
            return false;
        }
        *error = 0;
        return true;
    }
};

} // namespace

bool FileSystem::Exists(const std::string& path) {
    const std::wstring wide = WidePath(path);
    return !wide.empty() && ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileSystem& MachineFileSystem() {
    static WinFiles instance;
    return instance;
}

bool IdentifyFile(const std::string& path, FileIdentity* identity) {
    int error = 0;
    // Asking needs no access to the data, so a file another program writes can still be identified.
    const HANDLE handle =
        OpenHandle(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, &error);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (known) {
        identity->volume = info.dwVolumeSerialNumber;
        identity->index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    return known;
}

} // namespace terrix

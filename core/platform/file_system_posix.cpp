// The machine's file system for the measurement files. Windows lets a file be opened "read and write,
// others may read", which keeps a second writer out; the same rule is kept here with an advisory flock
// that every writer takes, so two programs never append to one measurement file at the same time.

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/file_handle.h"

namespace terrix {

namespace {

class PosixFileHandle final : public FileHandle {
public:
    explicit PosixFileHandle(int fd) : fd_(fd) {}
    ~PosixFileHandle() override { ::close(fd_); }
    PosixFileHandle(const PosixFileHandle&) = delete;
    PosixFileHandle& operator=(const PosixFileHandle&) = delete;

    int64_t Read(void* buffer, size_t count) override {
        return Retry([&] { return ::read(fd_, buffer, count); });
    }
    int64_t Write(const void* buffer, size_t count) override {
        return Retry([&] { return ::write(fd_, buffer, count); });
    }
    int64_t ReadAt(void* buffer, size_t count, uint64_t offset) override {
        return Retry([&] { return ::pread(fd_, buffer, count, static_cast<off_t>(offset)); });
    }
    int64_t WriteAt(const void* buffer, size_t count, uint64_t offset) override {
        return Retry([&] { return ::pwrite(fd_, buffer, count, static_cast<off_t>(offset)); });
    }
    int64_t Seek(uint64_t offset) override {
        return Check(::lseek(fd_, static_cast<off_t>(offset), SEEK_SET));
    }
    int64_t SeekEnd() override { return Check(::lseek(fd_, 0, SEEK_END)); }
    int64_t Position() override { return Check(::lseek(fd_, 0, SEEK_CUR)); }
    int64_t Size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            error_ = errno;
            return -1;
        }
        return st.st_size;
    }
    bool Truncate(uint64_t size) override {
        if (Retry([&] { return static_cast<ssize_t>(::ftruncate(fd_, static_cast<off_t>(size))); }) < 0) {
            return false;
        }
        return true;
    }
    bool Sync() override {
        if (::fdatasync(fd_) != 0) {
            error_ = errno;
            return false;
        }
        return true;
    }
    int LastError() const override { return error_; }

private:
    template <typename Call> int64_t Retry(Call call) {
        for (;;) {
            const ssize_t n = call();
            if (n >= 0) {
                return n;
            }
            if (errno != EINTR) {
                error_ = errno;
                return -1;
            }
        }
    }
    int64_t Check(off_t result) {
        if (result < 0) {
            error_ = errno;
            return -1;
        }
        return result;
    }

    int fd_;
    int error_ = 0;
};

// Whether a writer holds the file open; false for a missing file. A lock taken here is dropped on close.
bool HeldByWriter(const std::string& path, int* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    *error = held ? EWOULDBLOCK : 0;
    return held;
}

class PosixFiles final : public FileSystem {
public:
    std::unique_ptr<FileHandle> Open(const std::string& path, FileAccess access, int* error) override {
        *error = 0;
        const int flags = (access == FileAccess::kReadOnly ? O_RDONLY : O_RDWR) | O_CREAT | O_CLOEXEC;
        const int fd = ::open(path.c_str(), flags, 0666);
        if (fd < 0) {
            *error = errno;
            return nullptr;
        }
        if (access != FileAccess::kReadOnly && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            *error = errno;
            ::close(fd);
            return nullptr;
        }
        // Cut only after the lock is held, so a file that another writer has open is never emptied.
        if (access == FileAccess::kReplace && ::ftruncate(fd, 0) != 0) {
            *error = errno;
            ::close(fd);
            return nullptr;
        }
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        return std::make_unique<PosixFileHandle>(fd);
    }

    bool Remove(const std::string& path, int* error) override {
        if (HeldByWriter(path, error)) {
            return false;
        }
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            *error = errno;
            return false;
        }
        *error = 0;
        return true;
    }

    bool Replace(const std::string& from, const std::string& to, int* error) override {
        if (HeldByWriter(to, error)) {
            return false;
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            *error = errno;
            return false;
        }
        *error = 0;
        return true;
    }
};

} // namespace

bool FileSystem::Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

FileSystem& MachineFileSystem() {
    static PosixFiles instance;
    return instance;
}

bool IdentifyFile(const std::string& path, FileIdentity* identity) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    identity->volume = static_cast<uint64_t>(st.st_dev);
    identity->index = static_cast<uint64_t>(st.st_ino);
    return true;
}

} // namespace terrix

#include "core/platform/safe_file.h"
#include "core/platform/safe_file_os.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace terrix {

namespace os {

bool WriteNewFile(const std::filesystem::path& temp, const std::filesystem::path& like,
                  std::string_view bytes, int* error, bool* created) {
    *created = false;
    // O_EXCL with O_NOFOLLOW: a symbolic link planted under the temporary name cannot redirect the write.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    *created = true;
    // The replacement keeps the permissions the user gave the file (one shared by a group, say).
    struct stat existing {};
    if (::stat(like.c_str(), &existing) == 0) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            // the default permissions then; the contents matter more
        }
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            *error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0 || !synced) {
        *error = synced ? errno : syncError;
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to, int* error) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

} // namespace os

FileLock::FileLock(const std::filesystem::path& file) {
    std::filesystem::path lockFile = file;
    lockFile += ".lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    handle_ = fd;
}

FileLock::~FileLock() {
    if (handle_ != kNone) {
        ::close(static_cast<int>(handle_)); // releases the lock
    }
}

} // namespace terrix

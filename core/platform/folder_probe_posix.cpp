#include "core/platform/folder_probe.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace terrix {

int FolderWriteError(const std::string& utf8Dir) {
    std::string path = utf8Dir + "/.terrix-write-test-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        return errno;
    }
    // As much as a lock file holds: a full disk may let the file be made and refuse its first block.
    const char block[256] = {};
    const ssize_t written = ::write(fd, block, sizeof block);
    int error = written == static_cast<ssize_t>(sizeof block) ? 0 : written < 0 ? errno : ENOSPC;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    ::unlink(path.c_str());
    return error;
}

} // namespace terrix

#include "support/pty_pair.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <termios.h>
#include <unistd.h>

namespace terrix::test {

PtyPair::PtyPair() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (grantpt(fd) != 0 || unlockpt(fd) != 0) {
        ::close(fd);
        return;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    const char* name = ptsname(fd);
    if (name == nullptr) {
        ::close(fd);
        return;
    }
    slavePath_ = name;
    master_ = fd;
}

PtyPair::~PtyPair() {
    if (master_ >= 0) {
        ::close(master_);
    }
}

int CountOpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

} // namespace terrix::test

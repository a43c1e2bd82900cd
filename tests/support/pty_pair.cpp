#include "support/pty_pair.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <termios.h>
#include <unistd.h>

namespace terrix::test {

PtyPair::PtyPair() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    const char* name = fd >= 0 && grantpt(fd) == 0 && unlockpt(fd) == 0 ? ptsname(fd) : nullptr;
    if (name == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        return;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
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
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

} // namespace terrix::test

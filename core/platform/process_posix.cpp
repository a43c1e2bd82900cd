#include "core/platform/process.h"

#include <cerrno>
#include <csignal>
#include <string>
#include <unistd.h>

namespace terrix {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool ProcessRunning(long id) {
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

std::string HostName() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) {
        return {};
    }
    return host;
}

std::string CurrentUserKey() {
    return std::to_string(::getuid());
}

} // namespace terrix

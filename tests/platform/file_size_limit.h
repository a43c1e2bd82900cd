#pragma once
// A full disk that binds even root: a file size limit. It holds for the whole process, so the work runs in a
// forked child.

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace terrix::test {

// Runs `body` in a child whose files cannot grow past `bytes` (writes fail with EFBIG); true when the child
// ended normally and `body` returned true.
inline bool RunWithFileSizeLimit(rlim_t bytes, const std::function<bool()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace terrix::test

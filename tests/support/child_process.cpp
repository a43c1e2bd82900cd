#include "support/child_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace terrix::test {

namespace {

std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

} // namespace

int ExitStatus(int status) {
    const int bySignal = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : bySignal;
}

int SpawnProgram(const std::string& program, const std::vector<std::string>& args, int out, int err) {
    std::vector<char*> argv = Argv(program, args);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        if (err >= 0) {
            dup2(err, STDERR_FILENO);
        }
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    RunResult result;
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        return result;
    }
    const pid_t pid = SpawnProgram(program, args, outPipe[1], errPipe[1]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    // Read both pipes together so that neither can fill up and stall the child.
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                char buffer[4096];
                const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<size_t>(n));
                } else {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = ExitStatus(status);
    return result;
}

BackgroundProcess::BackgroundProcess(const std::string& program, const std::vector<std::string>& args,
                                     int firstLineMs) {
    int outPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        return;
    }
    pid_ = SpawnProgram(program, args, outPipe[1], -1);
    ::close(outPipe[1]);
    stdoutFd_ = outPipe[0];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(firstLineMs);
    while (laterOutput_.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline &&
           ReadSome(100)) {
    }
    const size_t end = laterOutput_.find('\n');
    if (end != std::string::npos) {
        firstLine_ = laterOutput_.substr(0, end);
        laterOutput_.erase(0, end + 1);
    }
}

int BackgroundProcess::Stop() {
    if (pid_ <= 0) {
        return status_;
    }
    kill(pid_, SIGTERM);
    // A process that does not heed the request (a lost stop, a hang) is killed, so that a failing case ends
    // with its failures instead of hanging until the ctest time-out.
    const int exitStatus = WaitExit(10'000);
    if (pid_ <= 0) {
        return exitStatus;
    }
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    return Reaped(status);
}

int BackgroundProcess::Reaped(int status) {
    pid_ = -1;
    while (ReadSome(-1)) { // the writing end is closed: this reads to the end
    }
    return status_ = ExitStatus(status);
}

bool BackgroundProcess::Signal(int signal) {
    return pid_ > 0 && kill(pid_, signal) == 0;
}

bool BackgroundProcess::ReadSome(int waitMs) {
    if (stdoutFd_ < 0) {
        return false;
    }
    pollfd pfd{stdoutFd_, POLLIN, 0};
    const int ready = poll(&pfd, 1, waitMs);
    char buffer[4096];
    const ssize_t n = ready > 0 ? ::read(stdoutFd_, buffer, sizeof buffer) : ready;
    if (n > 0) {
        laterOutput_.append(buffer, static_cast<size_t>(n));
    }
    if (n > 0 || ready == 0 || (n < 0 && errno == EINTR)) {
        return true; // more may come
    }
    ::close(stdoutFd_);
    stdoutFd_ = -1;
    return false;
}

int BackgroundProcess::WaitExit(int timeoutMs) {
    if (pid_ <= 0) {
        return status_;
    }
    for (int waited = 0;; waited += 50) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            return Reaped(status);
        }
        if (waited >= timeoutMs) {
            return -1;
        }
        if (!ReadSome(50)) {
            usleep(50'000); // the output has ended; the process has not yet
        }
    }
}

BackgroundProcess::~BackgroundProcess() {
    Stop();
}

} // namespace terrix::test

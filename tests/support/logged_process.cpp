#include "support/logged_process.h"

#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace terrix::test {

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return name;
}

LoggedProcess::LoggedProcess(const std::string& program, const std::vector<std::string>& args,
                             std::filesystem::path log)
    : log_(std::move(log)) {
    const int out = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    pid_ = SpawnProgram(program, args, out, out);
    ::close(out);
}

LoggedProcess::~LoggedProcess() {
    Stop();
}

bool LoggedProcess::Signal(int signal) {
    return pid_ > 0 && ::kill(pid_, signal) == 0;
}

int LoggedProcess::WaitExit(int timeoutMs) {
    if (pid_ <= 0) {
        return status_;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            status_ = ExitStatus(status);
            return status_;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int LoggedProcess::Stop() {
    if (pid_ <= 0) {
        return status_;
    }
    Signal(SIGTERM);
    const int status = WaitExit(10'000);
    if (status != -1) {
        return status;
    }
    Signal(SIGKILL);
    return WaitExit(10'000);
}

std::string LoggedProcess::Log() const {
    std::ifstream in(log_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool LoggedProcess::WaitForLog(const std::string& text, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Log().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace terrix::test

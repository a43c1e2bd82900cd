#pragma once
// A program run in the background with its standard output and error going to a log file, for programs that
// print nothing on standard output at start (a broker, `terrix-cli collect`) or whose messages the test
// reads.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace terrix::test {

// The full path of a program found on PATH (RunProgram takes paths); the name itself when not found.
std::string FindProgram(const std::string& name);

class LoggedProcess {
public:
    LoggedProcess(const std::string& program, const std::vector<std::string>& args,
                  std::filesystem::path log);
    ~LoggedProcess(); // SIGTERM, then wait (SIGKILL after 10 s)
    LoggedProcess(const LoggedProcess&) = delete;
    LoggedProcess& operator=(const LoggedProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    int Pid() const { return pid_; }
    bool Signal(int signal);
    // The exit status (128 + signal when a signal ended it), or -1 when still running after `timeoutMs`.
    int WaitExit(int timeoutMs);
    // SIGTERM, then wait; the exit status.
    int Stop();
    std::string Log() const;
    // Waits up to `timeoutMs` for `text` in the log.
    bool WaitForLog(const std::string& text, int timeoutMs) const;

private:
    int pid_ = -1;
    int status_ = -1;
    std::filesystem::path log_;
};

} // namespace terrix::test

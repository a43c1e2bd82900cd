#pragma once
// Runs a program as a child process: either to completion with its output captured, or in the background
// (the bus simulator) with its first output line read back.

#include <string>
#include <vector>

namespace terrix::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program to its end; stdin is /dev/null.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args);

// A background process whose first line on standard output is read at start (terrix-sim prints its device).
class BackgroundProcess {
public:
    BackgroundProcess(const std::string& program, const std::vector<std::string>& args);
    ~BackgroundProcess(); // SIGTERM, then wait
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    bool running() const { return pid_ > 0 && !firstLine_.empty(); }
    const std::string& firstLine() const { return firstLine_; }
    int pid() const { return pid_; }
    // Sends SIGTERM and waits; returns the exit status.
    int Stop();

private:
    int pid_ = -1;
    int stdoutFd_ = -1;
    std::string firstLine_;
};

} // namespace terrix::test

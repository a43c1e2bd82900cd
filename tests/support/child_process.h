#pragma once
// Runs a program as a child process: either to completion with its output captured, or in the background
// (the bus simulator) with its first output line read back.

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace terrix::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program to its end; stdin is /dev/null.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args);

// Starts `program` (a path, or a name looked up on PATH) with standard input from /dev/null and standard
// output and error on `out` and `err` (-1: the test's own); its process id, -1 when it could not be forked.
int SpawnProgram(const std::string& program, const std::vector<std::string>& args, int out, int err);
// The exit status of a reaped child: 128 + the signal when a signal ended it.
int ExitStatus(int status);

// Asks `ready` every 20 ms until it holds or `timeoutMs` have passed; returns its last answer.
template <typename Ready> bool WaitUntil(Ready ready, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!ready() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ready();
}

// A background process whose first line on standard output is read at start (terrix-sim prints its device),
// waiting up to `firstLineMs` for it.
class BackgroundProcess {
public:
    BackgroundProcess(const std::string& program, const std::vector<std::string>& args,
                      int firstLineMs = 10000);
    ~BackgroundProcess(); // SIGTERM, then wait
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    bool running() const { return pid_ > 0 && !firstLine_.empty(); }
    int Pid() const { return pid_; }
    const std::string& firstLine() const { return firstLine_; }
    // Sends SIGTERM and waits (SIGKILL after 10 s); returns the exit status.
    int Stop();
    // Sends `signal` to the process; false when it is not running.
    bool Signal(int signal);
    // Waits up to `timeoutMs` for the process to end, collecting its standard output meanwhile; returns the
    // exit status (128 + signal when a signal ended it), or -1 when it is still running.
    int WaitExit(int timeoutMs);
    // What the process wrote to standard output after its first line, as far as WaitExit or Stop collected
    // it.
    const std::string& laterOutput() const { return laterOutput_; }

protected:
    BackgroundProcess() = default; // for a process whose output goes elsewhere (LoggedProcess)
    int pid_ = -1;

private:
    // Reads what is available within `waitMs`; false at the end of the output.
    bool ReadSome(int waitMs);
    // After the process ended with `status`: collects the rest of its output; returns its exit status.
    int Reaped(int status);

    int status_ = -1;
    int stdoutFd_ = -1;
    std::string firstLine_;
    std::string laterOutput_;
};

} // namespace terrix::test

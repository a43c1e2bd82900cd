#pragma once
// A program run in the background with its standard output and error going to a log file, for programs that
// print nothing on standard output at start (a broker, `terrix-cli collect`) or whose messages the test
// reads.

#include "support/child_process.h"

#include <filesystem>

namespace terrix::test {

// The full path of a program found on PATH (RunProgram takes paths); the name itself when not found.
std::string FindProgram(const std::string& name);

class LoggedProcess : public BackgroundProcess {
public:
    LoggedProcess(const std::string& program, const std::vector<std::string>& args,
                  std::filesystem::path log);
    std::string Log() const;
    // Waits up to `timeoutMs` until `text` stands in the log `count` times.
    bool WaitForLog(const std::string& text, int timeoutMs, size_t count = 1) const;

private:
    std::filesystem::path log_;
};

} // namespace terrix::test

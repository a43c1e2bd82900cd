#include "support/logged_process.h"

#include "support/temp_dir.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

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

std::string LoggedProcess::Log() const {
    return ReadFileBytes(log_);
}

bool LoggedProcess::WaitForLog(const std::string& text, int timeoutMs, size_t count) const {
    const auto found = [&] {
        const std::string log = Log();
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos && n < count; at = log.find(text, at + 1)) {
            ++n;
        }
        return n >= count;
    };
    return WaitUntil(found, timeoutMs);
}

} // namespace terrix::test

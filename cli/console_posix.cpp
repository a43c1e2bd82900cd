// The terminal and the interrupt signals on POSIX systems.
#include "cli/cli_context.h"

#include <csignal>
#include <unistd.h>

namespace terrix::cli {

bool CliContext::StderrIsTerminal() const {
    return isatty(STDERR_FILENO) != 0;
}

namespace {
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) {
    interrupted = 1;
}
} // namespace

bool CliContext::Interrupted() {
    return interrupted != 0;
}

void CliContext::InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

std::vector<std::string> CliContext::Utf8CommandLine(int argc, char** argv) {
    return {argv, argv + argc};
}

} // namespace terrix::cli

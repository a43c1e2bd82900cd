// The console and its control events on Windows: Ctrl+C, Ctrl+Break and closing the console window end a
// scan or a loop after the current station or module, as SIGINT and SIGTERM do elsewhere.
#include "cli/cli_context.h"

#include <atomic>
#include <windows.h>

namespace terrix::cli {

bool CliContext::StderrIsTerminal() const {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        interrupted = true;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        interrupted = true;
        // The process ends as soon as this handler returns. Holding it lets the main thread finish the
        // module in hand and write its files; the system still ends the process after its own grace time,
        // and the main thread's exit ends this wait first when it comes sooner.
        Sleep(INFINITE);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool CliContext::Interrupted() {
    return interrupted.load();
}

void CliContext::InstallInterruptHandler() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

} // namespace terrix::cli

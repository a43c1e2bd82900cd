// The console and its control events on Windows: Ctrl+C, Ctrl+Break and closing the console window end a
// scan or a loop after the current station or module, as SIGINT and SIGTERM do elsewhere.
#include "cli/cli_context.h"
#include "core/platform/win_util.h"

#include <atomic>
#include <cstdlib>
#include <windows.h>
#include <shellapi.h>

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

std::vector<std::string> CliContext::Utf8CommandLine(int argc, char** argv) {
    ::SetConsoleOutputCP(CP_UTF8);
    for (const wchar_t* name : {L"TERRIX_PORT", L"TERRIX_DATA_DIR"}) {
        if (const wchar_t* value = ::_wgetenv(name); value != nullptr) {
            ::_putenv_s(Utf8(name).c_str(), Utf8(value).c_str());
        }
    }
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Utf8(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

} // namespace terrix::cli

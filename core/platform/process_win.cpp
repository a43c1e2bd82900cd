#include "core/platform/process.h"

#include <windows.h>

namespace terrix {

long CurrentProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

bool ProcessRunning(long id) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        // Access denied means it runs under another user; an invalid parameter means no such process.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

std::string HostName() {
    char host[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof host;
    if (!::GetComputerNameA(host, &size)) {
        return {};
    }
    return std::string(host, size);
}

} // namespace terrix

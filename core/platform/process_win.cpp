#include "core/platform/process.h"

#include "core/platform/win_util.h"

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

std::string CurrentUserKey() {
    wchar_t user[257] = {}; // UNLEN + 1
    DWORD size = sizeof user / sizeof user[0];
    if (!::GetUserNameW(user, &size)) {
        return std::to_string(::GetCurrentProcessId()); // unknown user: a name no other copy shares
    }
    return Utf8(std::wstring(user));
}

} // namespace terrix

#pragma once
// This machine and its running processes.

#include <string>

namespace terrix {

long CurrentProcessId();
// False only when no process of that id runs (when unsure, true: a file that may be in use stays).
bool ProcessRunning(long id);

// The machine's name; empty when it has none.
std::string HostName();

// Tells the users of this machine apart in names that are shared by all of them (local sockets, pipes): the
// user id on POSIX systems, the account name (UTF-8) on Windows.
std::string CurrentUserKey();

} // namespace terrix

#pragma once
// This machine and its running processes.

#include <string>

namespace terrix {

long CurrentProcessId();
// False only when no process of that id runs (when unsure, true: a file that may be in use stays).
bool ProcessRunning(long id);

// The machine's name; empty when it has none.
std::string HostName();

} // namespace terrix

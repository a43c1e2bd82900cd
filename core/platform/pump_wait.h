#pragma once
// The timed wait of every bus transaction. It keeps the calling thread's user interface alive through a
// wait hook instead of spinning: the desktop program installs a hook that runs its event loop until the
// deadline, every other thread simply sleeps.

#include "core/platform/clock.h"

#include <cstdint>
#include <functional>

namespace terrix {

// Runs while a bus wait lasts on the thread that installed it. It must return no earlier than deadlineUs
// on the given clock, and must not start another bus transaction (handlers inside it only set flags).
using WaitHook = std::function<void(Clock& clock, uint64_t deadlineUs)>;

// Installs (or, with an empty hook, removes) the wait hook of the calling thread only.
void SetThreadWaitHook(WaitHook hook);

// Marks the calling thread as one that must never wait for the bus (the desktop program's user-interface
// thread, whose bus work runs as jobs on worker threads). In a debug build a bus wait there aborts with a
// message, so that a window blocking on the bus fails its tests instead of freezing for its users; a
// release build waits as asked.
void ForbidBusWaitsOnThisThread(bool forbidden = true);
bool BusWaitsForbiddenOnThisThread();

// Waits ms milliseconds on the given clock; 0 returns at once without running the hook.
void PumpWait(Clock& clock, uint16_t ms);
// Waits on the system clock.
void PumpWait(uint16_t ms);

} // namespace terrix

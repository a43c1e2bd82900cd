#include "core/platform/pump_wait.h"

#include <cstdio>
#include <cstdlib>

namespace terrix {

namespace {
thread_local WaitHook threadWaitHook;
thread_local bool waitsForbidden = false;
} // namespace

void SetThreadWaitHook(WaitHook hook) {
    threadWaitHook = std::move(hook);
}

void ForbidBusWaitsOnThisThread(bool forbidden) {
    waitsForbidden = forbidden;
}

bool BusWaitsForbiddenOnThisThread() {
    return waitsForbidden;
}

void PumpWait(Clock& clock, uint16_t ms) {
    if (ms == 0) {
        return;
    }
#ifndef NDEBUG
    if (waitsForbidden) {
        std::fprintf(stderr,
                     "terrix: bus wait of %u ms on a thread that must not wait for the bus (run the "
                     "bus work as a job on a worker thread)\n",
                     static_cast<unsigned>(ms));
        std::abort();
    }
#endif
    const uint64_t deadlineUs = clock.NowUs() + uint64_t{ms} * 1000u;
    // A hook may come back early (an event arrived); waiting is repeated until the deadline has passed.
    while (clock.NowUs() < deadlineUs) {
        if (threadWaitHook && clock.IsReal()) {
            threadWaitHook(clock, deadlineUs);
        } else {
            clock.SleepUntilUs(deadlineUs);
        }
    }
}

void PumpWait(uint16_t ms) {
    PumpWait(SystemClock::Instance(), ms);
}

} // namespace terrix

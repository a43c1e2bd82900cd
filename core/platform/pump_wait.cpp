#include "core/platform/pump_wait.h"

namespace terrix {

namespace {
thread_local WaitHook threadWaitHook;
} // namespace

void SetThreadWaitHook(WaitHook hook) { threadWaitHook = std::move(hook); }

void PumpWait(Clock& clock, uint16_t ms) {
    if (ms == 0) {
        return;
    }
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

void PumpWait(uint16_t ms) { PumpWait(SystemClock::Instance(), ms); }

} // namespace terrix

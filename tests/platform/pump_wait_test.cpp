#include "core/platform/clock.h"
#include "core/platform/pump_wait.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace terrix {
namespace {

TEST(PumpWaitTest, HookRunsOnlyForARealWaitAndAgainUntilTheDeadlineAndTheWholeTimeIsWaited) {
    SystemClock& clock = SystemClock::Instance();
    int calls = 0;
    SetThreadWaitHook([&](Clock& c, uint64_t deadline) {
        if (++calls > 1) {
            c.SleepUntilUs(deadline); // the first call comes back at once, as when an event arrived
        }
    });
    PumpWait(0);
    EXPECT_EQ(calls, 0);
    const uint64_t start = clock.NowUs();
    PumpWait(clock, 50);
    EXPECT_GE(clock.NowUs() - start, 50'000u);
    EXPECT_GE(calls, 2);
    SetThreadWaitHook({});

    // Without a hook the whole time is waited, on both clocks.
    VirtualClock virtualClock(500);
    PumpWait(virtualClock, 84);
    EXPECT_EQ(virtualClock.NowUs(), 500u + 84'000u);
    for (uint16_t ms : {1, 7}) {
        const uint64_t start = clock.NowUs();
        PumpWait(ms);
        EXPECT_GE(clock.NowUs() - start, uint64_t{ms} * 1000u);
    }
}

#ifndef NDEBUG
// The desktop program forbids bus waits on its user-interface thread: one that creeps back fails loudly.
TEST(PumpWaitDeathTest, AWaitOnAForbiddenThreadAbortsInADebugBuild) {
    EXPECT_DEATH(
        {
            ForbidBusWaitsOnThisThread();
            PumpWait(1);
        },
        "must not wait for the bus");
    ForbidBusWaitsOnThisThread();
    PumpWait(0); // no wait, nothing to refuse
    EXPECT_TRUE(BusWaitsForbiddenOnThisThread());
    ForbidBusWaitsOnThisThread(false);
    PumpWait(1);
}
#endif

} // namespace
} // namespace terrix

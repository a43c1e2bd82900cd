#include "core/platform/clock.h"
#include "core/platform/pump_wait.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace terrix {
namespace {

TEST(PumpWaitTest, ZeroReturnsWithoutRunningTheHook) {
    int calls = 0;
    SetThreadWaitHook([&](Clock& clock, uint64_t deadline) {
        ++calls;
        clock.SleepUntilUs(deadline);
    });
    PumpWait(0);
    EXPECT_EQ(calls, 0);
    PumpWait(1);
    EXPECT_GE(calls, 1);
    SetThreadWaitHook({});
}

TEST(PumpWaitTest, HookReturningEarlyIsCalledAgainUntilTheDeadline) {
    SystemClock& clock = SystemClock::Instance();
    int calls = 0;
    // The first call comes back at once, as when an event arrives; the wait must go on to its deadline.
    // (Returning at once rather than after a short sleep keeps the count independent of the machine's load.)
    SetThreadWaitHook([&](Clock& c, uint64_t deadline) {
        if (++calls > 1) {
            c.SleepUntilUs(deadline);
        }
    });
    const uint64_t start = clock.NowUs();
    PumpWait(clock, 200);
    SetThreadWaitHook({});
    EXPECT_GE(clock.NowUs() - start, 200'000u);
    EXPECT_EQ(calls, 2);
}

TEST(PumpWaitTest, VirtualClockAdvancesExactly) {
    VirtualClock clock(500);
    PumpWait(clock, 84);
    EXPECT_EQ(clock.NowUs(), 500u + 84'000u);
}

TEST(PumpWaitTest, TickCounterWrapDoesNotShortenTheWait) {
    // Start 3 ms before the 32-bit millisecond counter wraps.
    const uint64_t wrapUs = (uint64_t{1} << 32) * 1000u;
    VirtualClock clock(wrapUs - 3000);
    const uint32_t startTick = clock.TickCountMs();
    PumpWait(clock, 10);
    EXPECT_LT(clock.TickCountMs(), startTick); // wrapped
    EXPECT_EQ(static_cast<uint32_t>(clock.TickCountMs() - startTick), 10u);
}

TEST(PumpWaitTest, SystemWaitNeverEndsEarly) {
    SystemClock& clock = SystemClock::Instance();
    for (uint16_t ms : {1, 2, 7}) {
        const uint64_t start = clock.NowUs();
        PumpWait(ms);
        EXPECT_GE(clock.NowUs() - start, uint64_t{ms} * 1000u);
    }
}

} // namespace
} // namespace terrix

// The timer thread on a virtual clock: events on a fixed grid, missed events dropped, wake-ups, stops from
// inside and outside an event.

#include "core/circuit/loop_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace terrix::test {
namespace {

constexpr uint64_t kStartUs = 1'000'000;
constexpr uint64_t kPeriodUs = 250'000;

TEST(LoopTimerTest, EventsKeepTheirGridAndSkipWhatASlowEventMissed) {
    VirtualClock clock(kStartUs);
    ThreadLoopTimer timer(clock);
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<uint64_t> times;
    ASSERT_TRUE(timer.Start([&] {
        std::lock_guard lock(mutex);
        times.push_back(clock.NowUs());
        if (times.size() == 2) {
            clock.AdvanceUs(600'000); // a round that outlasts two periods
        }
        if (times.size() == 5) {
            timer.Stop(); // from inside: the thread ends after this event
        }
        changed.notify_all();
    }));
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::minutes(1), [&] { return times.size() >= 5; }));
    lock.unlock();
    timer.Stop(); // from outside: collects the thread that stopped itself
    lock.lock();
    EXPECT_EQ(times,
              (std::vector<uint64_t>{kStartUs + kPeriodUs, kStartUs + 2 * kPeriodUs, kStartUs + 5 * kPeriodUs,
                                     kStartUs + 6 * kPeriodUs, kStartUs + 7 * kPeriodUs}));
}

TEST(LoopTimerTest, RestartAfterAStopFromInsideAndWake) {
    SystemClock& clock = SystemClock::Instance();
    ThreadLoopTimer timer(clock, 60'000); // a period no test waits for
    std::atomic<int> events{0};
    std::mutex mutex;
    std::condition_variable changed;
    auto waitFor = [&](int n) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::minutes(1), [&] { return events.load() >= n; });
    };
    // The count changes under the mutex the waiter checks it under, so no wake-up falls between its check
    // and its wait.
    auto count = [&] {
        std::lock_guard lock(mutex);
        ++events;
        changed.notify_all();
    };
    ASSERT_TRUE(timer.Start([&] {
        count();
        timer.Stop();
    }));
    timer.Wake();
    ASSERT_TRUE(waitFor(1)) << "a wake-up delivers the event at once";
    ASSERT_TRUE(timer.Start(count)) << "a timer that stopped itself starts again";
    timer.Wake();
    ASSERT_TRUE(waitFor(2));
    timer.Stop();
    timer.Wake(); // after the stop: nothing
    EXPECT_EQ(events.load(), 2);
}

} // namespace
} // namespace terrix::test

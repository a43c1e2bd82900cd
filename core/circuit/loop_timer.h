#pragma once
// The periodic event that drives the measuring loop: every 250 ms on a thread of its own. The loop takes
// it through an interface so that tests can fire events one at a time on their own thread.

#include "core/platform/clock.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace terrix {

class LoopTimer {
public:
    using Event = std::function<void()>;
    virtual ~LoopTimer() = default;
    // Starts delivering `event` every period; false when the timer cannot run (it then delivers nothing).
    virtual bool Start(Event event) = 0;
    // No event starts after Stop returns. Called from outside an event it also waits for a running event
    // to end; called from inside one it returns at once and the event's thread ends after that event.
    virtual void Stop() = 0;
    // Delivers the next event now instead of at the next period; the period runs on from then.
    virtual void Wake() = 0;
};

// Events on a thread of its own, on absolute deadlines of a clock, so that a slow event does not shift the
// later ones; events missed while one ran are dropped, not delivered in a burst. On a virtual clock the
// thread moves the clock to each deadline instead of sleeping.
class ThreadLoopTimer final : public LoopTimer {
public:
    explicit ThreadLoopTimer(Clock& clock = SystemClock::Instance(), uint32_t periodMs = 250);
    ~ThreadLoopTimer() override;
    ThreadLoopTimer(const ThreadLoopTimer&) = delete;
    ThreadLoopTimer& operator=(const ThreadLoopTimer&) = delete;

    bool Start(Event event) override;
    void Stop() override;
    void Wake() override;

private:
    void Run();
    // Waits until the deadline, a wake-up or a stop; true when an event is due.
    bool WaitForEvent(std::unique_lock<std::mutex>& lock, uint64_t& nextUs);

    Clock& clock_;
    const uint64_t periodUs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    bool wake_ = false;
    Event event_;
    std::thread thread_;
};

} // namespace terrix

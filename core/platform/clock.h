#pragma once
// Monotonic time base of every bus wait. Real ports run on the system clock; the simulated bus can run on
// a virtual clock so that tests spend no real time in the protocol's waits.

#include <atomic>
#include <cstdint>

namespace terrix {

class Clock {
public:
    virtual ~Clock() = default;
    // Microseconds since an arbitrary fixed origin; never goes backwards.
    virtual uint64_t NowUs() const = 0;
    // Returns no earlier than deadlineUs on this clock.
    virtual void SleepUntilUs(uint64_t deadlineUs) = 0;
    // Whether time passes by itself (a virtual clock only moves when somebody sleeps on it).
    virtual bool IsReal() const = 0;

    // The millisecond tick counter of the bus layer: wraps at 2^32 like the counter the waits were made for.
    uint32_t TickCountMs() const { return static_cast<uint32_t>(NowUs() / 1000); }
};

// CLOCK_MONOTONIC; sleeps with absolute deadlines so that a wait never ends early and rarely late.
class SystemClock final : public Clock {
public:
    static SystemClock& Instance();
    uint64_t NowUs() const override;
    void SleepUntilUs(uint64_t deadlineUs) override;
    bool IsReal() const override { return true; }
};

// Time that advances only when a wait asks it to: a sleep moves "now" to the deadline at once.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(uint64_t startUs = 0) : nowUs_(startUs) {}
    uint64_t NowUs() const override { return nowUs_.load(); }
    void SleepUntilUs(uint64_t deadlineUs) override;
    bool IsReal() const override { return false; }
    void AdvanceUs(uint64_t us) { nowUs_ += us; }

private:
    std::atomic<uint64_t> nowUs_;
};

} // namespace terrix

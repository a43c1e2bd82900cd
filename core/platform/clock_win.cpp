#include "core/platform/clock.h"

#include <windows.h>

namespace terrix {

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// One waitable timer per sleeping thread. The high-resolution kind ends a 12 ms bus wait close to 12 ms;
// systems without it (before Windows 10 1803, Wine) get the ordinary kind, which may end a tick late but
// never early and never spins.
class ThreadTimer {
public:
    ThreadTimer() {
        handle_ =
            CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
        if (handle_ == nullptr) {
            handle_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
        }
    }
    ~ThreadTimer() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    // Sleeps about `us` microseconds.
    void Sleep(uint64_t us) {
        if (handle_ == nullptr) {
            ::Sleep(static_cast<DWORD>((us + 999) / 1000));
            return;
        }
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(us * 10); // relative, in units of 100 ns
        if (!SetWaitableTimer(handle_, &due, 0, nullptr, nullptr, FALSE)) {
            ::Sleep(static_cast<DWORD>((us + 999) / 1000));
            return;
        }
        WaitForSingleObject(handle_, INFINITE);
    }

private:
    HANDLE handle_ = nullptr;
};

uint64_t CounterFrequency() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(frequency.QuadPart);
}

} // namespace

uint64_t SystemClock::NowUs() const {
    static const uint64_t frequency = CounterFrequency();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<uint64_t>(counter.QuadPart);
    // Split so that the multiplication cannot overflow however long the machine has been running.
    return ticks / frequency * 1000000u + ticks % frequency * 1000000u / frequency;
}

void SystemClock::SleepUntilUs(uint64_t deadlineUs) {
    thread_local ThreadTimer timer;
    // A timer may end a little before the deadline on the performance counter's scale; sleep again then.
    for (uint64_t now = NowUs(); now < deadlineUs; now = NowUs()) {
        timer.Sleep(deadlineUs - now);
    }
}

} // namespace terrix

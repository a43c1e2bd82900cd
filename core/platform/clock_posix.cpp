#include "core/platform/clock.h"

#include <cerrno>
#include <ctime>

namespace terrix {

uint64_t SystemClock::NowUs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

void SystemClock::SleepUntilUs(uint64_t deadlineUs) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(deadlineUs / 1000000u);
    ts.tv_nsec = static_cast<long>((deadlineUs % 1000000u) * 1000u);
    // An absolute deadline survives interruptions by signals without drifting.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

} // namespace terrix

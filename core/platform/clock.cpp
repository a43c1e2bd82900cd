#include "core/platform/clock.h"

namespace terrix {

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}

void VirtualClock::SleepUntilUs(uint64_t deadlineUs) {
    uint64_t now = nowUs_.load();
    while (now < deadlineUs && !nowUs_.compare_exchange_weak(now, deadlineUs)) {
    }
}

} // namespace terrix

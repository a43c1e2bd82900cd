#pragma once
// Runs the simulated bus of a GUI test in virtual time: ports opened through the "sim" scheme use a
// virtual clock, and a bus wait on the test's thread handles the pending events once (so clicks and
// timers inside a scan are seen) and then moves the clock to its deadline instead of waiting.

#include "core/platform/clock.h"
#include "core/platform/pump_wait.h"
#include "sim/sim_scheme.h"

#include <QCoreApplication>

namespace terrix::test {

class VirtualBusTime {
public:
    VirtualBusTime() {
        RegisterSimTransportScheme();
        sim::ForgetSharedBuses();
        sim::SetSchemeClock(&clock_);
        SetThreadWaitHook([](Clock& clock, uint64_t deadlineUs) {
            QCoreApplication::processEvents();
            clock.SleepUntilUs(deadlineUs);
        });
    }
    ~VirtualBusTime() {
        SetThreadWaitHook({});
        sim::SetSchemeClock(nullptr);
        sim::ForgetSharedBuses();
    }
    VirtualBusTime(const VirtualBusTime&) = delete;
    VirtualBusTime& operator=(const VirtualBusTime&) = delete;

private:
    VirtualClock clock_;
};

} // namespace terrix::test

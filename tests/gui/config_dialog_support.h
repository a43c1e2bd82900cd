#pragma once
// The simulated bus of the GUI tests, in virtual time: ports opened through the "sim" scheme use a virtual
// clock, so a bus wait (on a dialog's worker thread: this thread must never wait for the bus) moves the
// clock to its deadline instead of waiting.

#include "core/inventory/bus_context.h"
#include "core/platform/clock.h"
#include "gui_test_support.h"
#include "sim/sim_scheme.h"

#include <QTest>

#include <algorithm>
#include <memory>
#include <string>

namespace terrix::test {

class VirtualBusTime {
public:
    explicit VirtualBusTime(uint64_t startUs = 0) : clock_(startUs) {
        RegisterSimTransportScheme();
        sim::ForgetSharedBuses();
        sim::SetSchemeClock(&clock_);
    }
    ~VirtualBusTime() {
        sim::SetSchemeClock(nullptr);
        sim::ForgetSharedBuses();
    }
    VirtualBusTime(const VirtualBusTime&) = delete;
    VirtualBusTime& operator=(const VirtualBusTime&) = delete;

private:
    VirtualClock clock_;
};

// The built-in scenario reached through COM1 of a bus context, with the record of its XV module (station 3)
// and the messages shown meanwhile.
class ConfigBus {
public:
    static constexpr uint16_t kXvSerial = 40218;

    ConfigBus() {
        std::string error;
        bus = sim::SharedBus("", error);
        context.portContext.nPortNo = 1;
        context.portContext.device = "sim";
        xv.iaStation = 3;
        xv.enModuleState = msIdentified;
        xv.bIsTavikXV = 1;
        xv.stationInfo.wSerialNo = kXvSerial;
        xv.stationInfo.SetModuleName("PX-TAVIK2XV");
        xv.stationInfo.wStartupBaud = 48;
        bus->ClearRequestLog();
    }
    void ChangeXv(const std::function<void(sim::ModuleState&)>& change) {
        bus->ModifyBySerial(kXvSerial, change);
    }
    // The dialog over the XV module with its port open and the module read; null if it was refused.
    template <class Dialog> std::unique_ptr<Dialog> OpenRead() {
        auto dialog = std::make_unique<Dialog>(context, nullptr, xv);
        if (!dialog->Open() || !QTest::qWaitFor([&dialog] { return !dialog->Busy(); })) {
            return {};
        }
        return dialog;
    }
    size_t Sent(uint8_t command) const {
        return static_cast<size_t>(
            std::ranges::count(bus->RequestLog(), command, &sim::LoggedRequest::command));
    }

    VirtualBusTime time{1'000'000}; // first: the bus is looked up on its clock
    std::shared_ptr<sim::VirtualBus> bus;
    BusContext context;
    ModuleRecord xv;
    MessageRecorder messages;
};

} // namespace terrix::test

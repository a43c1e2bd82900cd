#pragma once
// The simulated bus of the configuration dialog tests: the built-in scenario in virtual time, reached
// through COM1 of a bus context, with the record of its XV module (station 3).

#include "core/inventory/bus_context.h"
#include "core/platform/clock.h"
#include "sim/sim_scheme.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

namespace terrix::test {

class ConfigBus {
public:
    static constexpr uint16_t kXvSerial = 40218;
    static constexpr uint8_t kXvStation = 3;

    ConfigBus() {
        RegisterSimTransportScheme();
        sim::ForgetSharedBuses();
        sim::SetSchemeClock(&clock_);
        std::string error;
        bus = sim::SharedBus("", error);
        context.portContext.nPortNo = 1;
        context.portContext.device = "sim";
        xv.iaStation = kXvStation;
        xv.enModuleState = msIdentified;
        xv.bIsTavikXV = 1;
        xv.stationInfo.wSerialNo = kXvSerial;
        xv.stationInfo.SetModuleName("PX-TAVIK2XV");
        xv.stationInfo.wStartupBaud = 48;
        bus->ClearRequestLog();
    }
    ~ConfigBus() {
        sim::SetSchemeClock(nullptr);
        sim::ForgetSharedBuses();
    }
    ConfigBus(const ConfigBus&) = delete;
    ConfigBus& operator=(const ConfigBus&) = delete;

    void ChangeXv(const std::function<void(sim::ModuleState&)>& change) {
        bus->ModifyBySerial(kXvSerial, change);
    }
    sim::ModuleState Xv() const { return *bus->ModuleBySerial(kXvSerial); }
    // The dialog over the XV module with its port open and the module read; null if the port did not open.
    template <class Dialog> std::unique_ptr<Dialog> OpenRead() {
        auto dialog = std::make_unique<Dialog>(context, nullptr, xv);
        if (!dialog->OpenPort()) {
            return {};
        }
        dialog->ReadModule();
        return dialog;
    }
    size_t Sent(uint8_t command) const {
        size_t n = 0;
        for (const sim::LoggedRequest& request : bus->RequestLog()) {
            n += request.command == command ? 1 : 0;
        }
        return n;
    }

    std::shared_ptr<sim::VirtualBus> bus;
    BusContext context;
    ModuleRecord xv;

private:
    VirtualClock clock_{1'000'000};
};

// A modal dialog that a faulty test would leave open is closed again, so the test fails instead of hanging.
inline void CloseStrayModalSoon() {
    QTimer::singleShot(2000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
}

} // namespace terrix::test

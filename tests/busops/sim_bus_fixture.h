#pragma once
// A port on an in-process simulated bus running in virtual time, with a temporary data directory.

#include "core/inventory/bus_context.h"
#include "core/platform/com_port.h"
#include "core/platform/data_paths.h"
#include "sim/scenario.h"
#include "sim/sim_transport.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace terrix::test {

class SimBusFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetDataDir(dataDir.path());
        bus = std::make_shared<sim::VirtualBus>(7);
    }
    void TearDown() override {
        if (port != kInvalidPort) {
            ComClose(port);
        }
    }

    size_t AddProbe(uint8_t station, uint16_t serial, bool xv = false) {
        return bus->AddModule(sim::MakeProbe(station, serial, xv));
    }
    size_t AddMultiplexer(uint8_t station, uint16_t serial) {
        sim::ModuleState mux = sim::MakeProbe(station, serial);
        mux.info.moduleName = "PX-ROV4";
        mux.info.moduleId = 9;
        return bus->AddModule(mux);
    }
    // Closes the port opened before, so that a case may open one per table row.
    PortHandle OpenPort() {
        if (port != kInvalidPort) {
            ComClose(port);
        }
        port = ComAdopt(std::make_unique<sim::SimTransport>(bus, clock));
        return port;
    }
    // Points `context` at the device `scheme`, which opens onto the fixture's bus on its virtual clock while
    // the bus is plugged in, so that the code under test opens and closes the port itself.
    void ReachBusThrough(const std::string& scheme, BusContext& context) {
        RegisterTransportScheme(
            scheme, [this](std::string_view, uint32_t baud, uint32_t& error) -> std::unique_ptr<Transport> {
                if (bus->Unplugged()) {
                    error = ENOENT; // the adapter's device node has gone
                    return nullptr;
                }
                return std::make_unique<sim::SimTransport>(bus, clock, baud);
            });
        context.portContext.nPortNo = 1;
        context.portContext.device = scheme;
    }
    // Requests the bus heard with this command number (any: -1), to this station (any: -1).
    size_t CountRequests(int command, int station = -1) const {
        size_t n = 0;
        for (const sim::LoggedRequest& r : bus->RequestLog()) {
            n += (command < 0 || r.command == command) && (station < 0 || r.station == station) ? 1 : 0;
        }
        return n;
    }

    TempDir dataDir;
    VirtualClock clock{1'000'000};
    std::shared_ptr<sim::VirtualBus> bus;
    PortHandle port = kInvalidPort;
};

} // namespace terrix::test

#pragma once
// A simulated bus in virtual time with the XV module of the built-in scenario at station 3 (serial 4711).

#include "core/platform/com_port.h"
#include "sim/scenario.h"
#include "sim/sim_transport.h"
#include "sim/virtual_bus.h"

#include <gtest/gtest.h>

#include <memory>

namespace terrix::test {

class SimBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        xv = bus->AddModule(sim::MakeProbe(3, 4711, true));
        port = ComAdopt(std::make_unique<sim::SimTransport>(bus, clock));
        ASSERT_NE(port, kInvalidPort);
    }
    void TearDown() override { ComClose(port); }

    sim::ModuleState Module(size_t index) const { return *bus->Module(index); }
    // The data of every request with this command, in order.
    std::vector<std::vector<uint8_t>> Sent(uint8_t command) const {
        std::vector<std::vector<uint8_t>> sent;
        for (const sim::LoggedRequest& request : bus->RequestLog()) {
            if (request.command == command) {
                sent.push_back(request.data);
            }
        }
        return sent;
    }

    VirtualClock clock{1'000'000};
    std::shared_ptr<sim::VirtualBus> bus = std::make_shared<sim::VirtualBus>();
    size_t xv = 0;
    PortHandle port = kInvalidPort;
};

} // namespace terrix::test

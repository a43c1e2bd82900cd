#pragma once
// A simulated bus in virtual time with the XV module of the built-in scenario at station 3 (serial 4711).

#include "core/platform/com_port.h"
#include "sim/scenario.h"
#include "sim/sim_transport.h"
#include "sim/virtual_bus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace terrix::test {

using Bytes = std::vector<uint8_t>;

class SimBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        xv = bus->AddModule(sim::MakeProbe(3, 4711, true));
        port = ComAdopt(std::make_unique<sim::SimTransport>(bus, clock));
        ASSERT_NE(port, kInvalidPort);
    }
    void TearDown() override { ComClose(port); }

    sim::ModuleState Module(size_t index) const { return *bus->Module(index); }
    void Change(size_t index, const std::function<void(sim::ModuleState&)>& change) {
        ASSERT_TRUE(bus->Modify(index, change));
    }
    // The data of every request with this command (to any station, or to `station`), in order.
    std::vector<Bytes> Sent(uint8_t command, int station = -1) const {
        std::vector<Bytes> sent;
        for (const sim::LoggedRequest& request : bus->RequestLog()) {
            if (request.command == command && (station < 0 || request.station == station)) {
                sent.push_back(request.data);
            }
        }
        return sent;
    }
    size_t Count(uint8_t command, int station = -1) const { return Sent(command, station).size(); }

    VirtualClock clock{1'000'000};
    std::shared_ptr<sim::VirtualBus> bus = std::make_shared<sim::VirtualBus>();
    size_t xv = 0;
    PortHandle port = kInvalidPort;
};

} // namespace terrix::test

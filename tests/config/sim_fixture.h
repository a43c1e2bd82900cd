#pragma once
// The simulated bus of the bus-operation tests with the XV module of the built-in scenario at station 3
// (serial 4711) and the port open.

#include "busops/sim_bus_fixture.h"

#include <functional>
#include <vector>

namespace terrix::test {

using Bytes = std::vector<uint8_t>;

class SimBusTest : public SimBusFixture {
protected:
    void SetUp() override {
        SimBusFixture::SetUp();
        xv = AddProbe(3, 4711, true);
        ASSERT_NE(OpenPort(), kInvalidPort);
    }

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

    size_t xv = 0;
};

} // namespace terrix::test

#pragma once
// A port backed by a scripted transport on a virtual clock.

#include "core/platform/com_port.h"
#include "support/scripted_transport.h"

#include <gtest/gtest.h>

namespace terrix::test {

class BusFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<ScriptedTransport>(clock);
        transport = owned.get();
        port = ComAdopt(std::move(owned));
        ASSERT_NE(port, kInvalidPort);
    }
    void TearDown() override { ComClose(port); }

    void ReplyOnce(const std::vector<uint8_t>& reply) {
        transport->onWrite = [this, reply](const std::vector<uint8_t>&) {
            transport->QueueReply(reply);
            transport->onWrite = nullptr;
        };
    }

    VirtualClock clock{1'000'000};
    ScriptedTransport* transport = nullptr;
    PortHandle port = kInvalidPort;
};

} // namespace terrix::test

// Faults a test can switch on for a module.

#include "sim/scenario.h"
#include "sim/virtual_bus.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

namespace terrix::sim {
namespace {

using test::Ask;
using test::DataOf;
using test::HeaderChecksumOk;
using test::RequestBytes;
using Bytes = std::vector<uint8_t>;

constexpr uint16_t kSerial = 31042;

class ModuleFaultsTest : public ::testing::Test {
protected:
    void SetUp() override { bus.AddModule(MakeProbe(1, kSerial)); }
    void Set(const ModuleFaults& f) { ASSERT_TRUE(bus.SetFaults(kSerial, f)); }
    Bytes Send(uint8_t command, Bytes data = {}) {
        return Ask(bus, RequestBytes(1, command, std::move(data)));
    }

    VirtualBus bus;
};

TEST_F(ModuleFaultsTest, MuteModuleExecutesButNeverAnswers) {
    Set({.mute = true});
    EXPECT_TRUE(Send(205, {7}).empty());
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->activeCalibration, 7);
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->requestsAnswered, 0u);
}

TEST_F(ModuleFaultsTest, DamagedHeaderAndShortReplies) {
    struct Case {
        ModuleFaults faults;
        size_t size;
        bool headerOk;
    };
    const Case cases[] = {
        {{.damagedHeader = true}, 9, false},
        {{.cutReplyTo = 4}, 4, false},  // the PC sees an incomplete header
        {{.cutReplyTo = 8}, 8, true},   // header whole, data block short
        {{.cutReplyTo = 100}, 9, true}, // longer than the reply: nothing cut
    };
    for (const Case& c : cases) {
        Set(c.faults);
        const Bytes reply = Send(204);
        EXPECT_EQ(reply.size(), c.size) << "cut to " << c.faults.cutReplyTo;
        if (reply.size() >= 7) {
            EXPECT_EQ(HeaderChecksumOk(reply), c.headerOk) << "cut to " << c.faults.cutReplyTo;
        }
    }
}

TEST_F(ModuleFaultsTest, FatalForTheFirstRequestsThenNormal) {
    Set({.fatalCount = 2});
    for (int i = 0; i < 2; ++i) {
        const Bytes reply = Send(205, {9});
        ASSERT_EQ(reply.size(), 7u);
        EXPECT_EQ(reply[3], 2);
    }
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->activeCalibration, 0); // not executed
    EXPECT_EQ(Send(205, {9})[3], 0);
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->activeCalibration, 9);
    // Requests to other stations and broadcasts do not use up the count.
    Set({.fatalCount = 1});
    Ask(bus, RequestBytes(2, 204));
    Ask(bus, RequestBytes(255, 17));
    EXPECT_EQ(Send(204)[3], 2);
}

TEST_F(ModuleFaultsTest, BusyKeepsItsDataButExecutesAndMeasuresNothing) {
    bus.ModifyBySerial(kSerial, [](ModuleState& m) { m.continuous = true; });
    Set({.busyCount = 3});
    const Bytes read = Send(204);
    EXPECT_EQ(read[3], 0x40);
    EXPECT_EQ(DataOf(read), Bytes{0}); // the data block is there, so the PC reports busy
    const Bytes write = Send(205, {5});
    EXPECT_EQ(write[3], 0x40);
    EXPECT_EQ(write[2], 0);
    EXPECT_EQ(Send(241)[3], 0x40);
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->activeCalibration, 0);
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->measurementIndex, 0u);
    EXPECT_EQ(Send(205, {5})[3], 0);
    EXPECT_EQ(bus.ModuleBySerial(kSerial)->activeCalibration, 5);
}

} // namespace
} // namespace terrix::sim

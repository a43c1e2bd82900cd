// What a module does on its own: the settings lock, clamping, taking new values, refused requests and the
// faults a test switches on. The reply layouts (and the XV module's averaging and halt bits) are decoded
// from the simulator by the bus-operation, measuring-step, configuration and end-to-end tests.

#include "sim/scenario.h"
#include "sim/virtual_bus.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace terrix::sim {
namespace {

using test::Ask;
using test::DataOf;
using test::RequestBytes;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kStation = 4;
constexpr uint16_t kSerial = 0x1234;

ModuleState PlainModule() {
    ModuleState m;
    m.station = kStation;
    m.info = {kSerial, 0x5678, 0x9A, 11, 96, 250, 10, 50, "AB"};
    m.channels[0].analogConfig = {0, 0, 0, 0, 0, 1, 0};
    m.channels[0].measurementCount = 250;
    m.channels[0].sensor = {0, 0.01, 25, 0, 10000, 0};
    m.channels[0].signal = SignalModel{25.0, 0, 0, 0};
    m.channels[1].analogConfig = {1, 0, 0, 0, 0, 0, 0};
    m.channels[1].zeroOffset = 50;
    m.channels[1].sensor = {-40, 0.1, 20, 0, 1200, 0};
    m.channels[1].signal = SignalModel{20.0, 0, 0, 0};
    m.channels[1].statusBit1 = true;
    return m;
}

class ModuleCommands : public ::testing::Test {
protected:
    void SetUp() override { bus.AddModule(PlainModule()); }
    ModuleState State() { return *bus.Module(0); }
    void Change(const std::function<void(ModuleState&)>& f) { bus.Modify(0, f); }
    void Faults(const ModuleFaults& f) { ASSERT_TRUE(bus.SetFaults(kSerial, f)); }
    Bytes Send(uint8_t command, Bytes data = {}) {
        return Ask(bus, RequestBytes(kStation, command, std::move(data)));
    }
    uint8_t StatusOf(uint8_t command, Bytes data = {}) {
        const Bytes reply = Send(command, std::move(data));
        return reply.size() >= 7 ? reply[3] : 0xFF;
    }

    VirtualBus bus{1};
};

TEST_F(ModuleCommands, CountsAndZeroOffsetsNeedTheUnlockedAnalogConfiguration) {
    const Bytes count = {0, 0, 0x08, 0x25, 0x01, 0, 0}; // -1250
    const Bytes offset = {1, 0, 0x38, 0x12, 0, 0, 0};   // -123
    auto statuses = [&] { return Bytes{StatusOf(226, count), StatusOf(228, {1}), StatusOf(224, offset)}; };
    EXPECT_EQ(statuses(), (Bytes{7, 7, 7}));
    // Unlocked as the PC does it: bits 0 and 1 of yRawVofsVd of channel 0.
    EXPECT_EQ(StatusOf(225, {0, 0, 0x03, 0, 0, 1, 0}), 0);
    EXPECT_EQ(statuses(), (Bytes{0, 0, 0}));
    EXPECT_EQ(std::tuple(State().channels[0].measurementCount, State().channels[1].zeroOffset),
              std::tuple(1250u, -123));
    EXPECT_EQ(StatusOf(225, {0, 0, 0x00, 0, 0, 1, 0}), 0);
    EXPECT_EQ(StatusOf(228, {1}), 7);
    // A module without the lock takes them at any time.
    Change([](ModuleState& m) { m.settingsLock = false; });
    EXPECT_EQ(StatusOf(228, {1}), 0);
}

TEST_F(ModuleCommands, MeasuredValuesAreHeldInRangeFlaggedMissingAndTakenOnAStart) {
    // Channel 1 beyond its LSB range is held at 1200 (bit 1 kept); channel 0 without a value: bit 2, zero.
    Change([](ModuleState& m) {
        m.channels[0].signal.reset();
        m.channels[1].signal = SignalModel{200.0, 0, 0, 0};
    });
    EXPECT_EQ(DataOf(Send(241)), (Bytes{0x04, 0, 0, 0x02, 0x20, 0x01}));

    // A new value is taken on a start only, or on every read by a continuously measuring module.
    Change([](ModuleState& m) { m.channels[0].signal = SignalModel{25.0, 0, 0, 0.5}; });
    const Bytes before = DataOf(Send(241));
    EXPECT_EQ(DataOf(Send(241)), before) << "no new measurement without a start";
    EXPECT_EQ(StatusOf(242), 0);
    EXPECT_NE(DataOf(Send(241)), before);
    Change([](ModuleState& m) { m.continuous = true; });
    Send(241);
    Send(241);
    EXPECT_EQ(State().measurementIndex, 3u);
}

TEST_F(ModuleCommands, MuteModuleExecutesButNeverAnswers) {
    Faults({.mute = true});
    EXPECT_TRUE(Send(205, {7}).empty());
    EXPECT_EQ(State().activeCalibration, 7);
}

TEST_F(ModuleCommands, DamagedHeaderAndShortReplies) {
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
        Faults(c.faults);
        const Bytes reply = Send(204);
        EXPECT_EQ(reply.size(), c.size) << "cut to " << c.faults.cutReplyTo;
        EXPECT_EQ(test::HeaderChecksumOk(reply), c.headerOk) << "cut to " << c.faults.cutReplyTo;
    }
}

// A fatal or busy module answers the next requests with status 2 or the busy bit and executes nothing; a
// busy read keeps its data block (so the PC reports busy), a busy module takes no measurement.
TEST_F(ModuleCommands, FatalAndBusyRequestsAreNotExecuted) {
    Change([](ModuleState& m) { m.continuous = true; });
    for (const auto& [faults, status] : {std::pair{ModuleFaults{.fatalCount = 3}, uint8_t{2}},
                                         std::pair{ModuleFaults{.busyCount = 3}, uint8_t{0x40}}}) {
        Change([](ModuleState& m) { m.activeCalibration = 0; });
        Faults(faults);
        EXPECT_EQ((Bytes{StatusOf(205, {9}), StatusOf(204), StatusOf(241)}), (Bytes{status, status, status}));
        EXPECT_EQ(State().activeCalibration, 0);
        EXPECT_EQ(StatusOf(205, {9}), 0);
        EXPECT_EQ(State().activeCalibration, 9);
    }
    EXPECT_EQ(State().measurementIndex, 0u);
    Faults({.busyCount = 1});
    EXPECT_EQ(DataOf(Send(204)), Bytes{9});
    // Requests to other stations and broadcasts do not use up the count.
    Faults({.fatalCount = 1});
    Ask(bus, RequestBytes(2, 204));
    Ask(bus, RequestBytes(255, 17));
    EXPECT_EQ(StatusOf(204), 2);
}

// Arguments out of range or of the wrong length answer status 7, unknown commands (and set-station, a
// broadcast only) status 6, a damaged data block status 3; none of them changes the module.
TEST_F(ModuleCommands, RefusedRequestsAnswerTheirStatusAndChangeNothing) {
    Change([](ModuleState& m) { m.notImplemented = {204}; });
    Bytes damaged = RequestBytes(kStation, 205, {9});
    damaged.back() ^= 0xFF;
    const std::tuple<uint8_t, Bytes, uint8_t> requests[] = {
        {230, {2}, 7},           {230, {}, 7},           {225, {2, 0, 0, 0, 0, 0, 0}, 7},
        {225, {1, 0, 0}, 7},     {235, {48}, 7},         {235, {3}, 7},
        {206, {16}, 7},          {207, Bytes(26, 0), 7}, {205, {16}, 7},
        {233, {4}, 7},           {233, {96}, 7},         {193, Bytes(9, 0), 7},
        {1, {0x34, 0x12, 9}, 6}, {204, {}, 6},
    };
    for (const auto& [command, data, status] : requests) {
        EXPECT_EQ(StatusOf(command, data), status)
            << int(command) << " with " << data.size() << " data bytes";
    }
    EXPECT_EQ(Send(99), (Bytes{4, 253, 0, 6, 99, 0x6A, 0xFE}));
    EXPECT_EQ(Ask(bus, damaged), terrix::test::ModuleReply(kStation, 205, 3, {})) << "status 3, no data";
    EXPECT_EQ(State().activeCalibration, 0);
    EXPECT_EQ(State().channels[1].analogConfig[0], 1);
}

} // namespace
} // namespace terrix::sim

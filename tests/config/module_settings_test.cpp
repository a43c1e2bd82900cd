#include "core/config/error66_limit.h"
#include "core/config/halt_state.h"
#include "core/config/offset_adjust.h"
#include "core/config/reset_baud.h"

#include "bus/bus_fixture.h"
#include "sim_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace terrix::test {
namespace {

class Error66Test : public SimBusTest {
protected:
    void SetUp() override {
        SimBusTest::SetUp();
        bus->Modify(xv, [](sim::ModuleState& m) {
            m.channels[0].analogConfig = {0, 0, 0x40, 1, 2, 1, 0};
            m.channels[1].zeroOffset = 150;
        });
    }
    std::array<uint8_t, 7> Config() const { return Module(xv).channels[0].analogConfig; }
    static constexpr std::array<uint8_t, 7> kOriginal = {0, 0, 0x40, 1, 2, 1, 0};
};

// Reading and writing open the lock and put the configuration back; a limit is written in tenths, truncated.
TEST_F(Error66Test, ReadAndWriteOpenTheLockAndPutTheConfigurationBack) {
    double percent = 0;
    ConfigMessages messages;
    ASSERT_TRUE(ReadError66Limit(port, 3, percent, messages));
    EXPECT_DOUBLE_EQ(percent, 15.0);
    EXPECT_EQ(Sent(225),
              (std::vector<Bytes>{{0, 0, 0x43, 1, 2, 1, 0}, Bytes(kOriginal.begin(), kOriginal.end())}));

    const std::pair<double, int> cases[] = {{12.37, 123}, {static_cast<float>(4.6), 46}, {100, 1000}, {0, 0}};
    for (const auto& [percent, tenths] : cases) {
        ASSERT_TRUE(WriteError66Limit(port, 3, percent, messages)) << percent;
        EXPECT_EQ(Module(xv).channels[1].zeroOffset, tenths) << percent;
        EXPECT_EQ(Config(), kOriginal);
    }
    EXPECT_TRUE(messages.empty());

    // 12000 % would lose its sixth digit in the module's field; a negative limit is none.
    for (const double refused : {12000.0, 100.1, -0.35}) {
        EXPECT_FALSE(WriteError66Limit(port, 3, refused, messages)) << refused;
        EXPECT_EQ(messages.back().text, kMsgSetLowLimitFailed);
        EXPECT_EQ(Module(xv).channels[1].zeroOffset, 0) << refused;
    }
}

TEST_F(Error66Test, FailuresGiveTheirMessagesAndPutTheConfigurationBack) {
    // Name, fault, its message, the command after the failing one that is never sent (0: none).
    const std::tuple<const char*, std::function<void(sim::ModuleState&)>, const char*, uint8_t> cases[] = {
        {"configuration read fails", [](sim::ModuleState& m) { m.faults.mute = true; },
         kMsgGetAnalogCfgFailed, 225},
        {"configuration write refused", [](sim::ModuleState& m) { m.faults.status6 = {225}; },
         kMsgSetAnalogCfgFailed, 228},
        // The lock is open when the limit access fails: the configuration is still put back.
        {"limit refused",
         [](sim::ModuleState& m) {
             m.faults.status6 = {228, 224};
         },
         kMsgZeroOffsetFailed, 0},
    };
    for (const auto& [name, fault, message, neverSent] : cases) {
        SCOPED_TRACE(name);
        Change(xv, [](sim::ModuleState& m) { m.faults = {}; });
        Change(xv, fault);
        bus->ClearRequestLog();
        double percent = -1;
        ConfigMessages messages;
        EXPECT_FALSE(ReadError66Limit(port, 3, percent, messages));
        EXPECT_DOUBLE_EQ(percent, -1) << "no limit shown";
        EXPECT_EQ(messages, (ConfigMessages{{message, "", ConfigMessageIcon::None}}));
        messages.clear();
        EXPECT_FALSE(WriteError66Limit(port, 3, 5, messages));
        EXPECT_EQ(messages, (ConfigMessages{{message, "", ConfigMessageIcon::None},
                                            {kMsgSetLowLimitFailed, "", ConfigMessageIcon::None}}));
        EXPECT_EQ(Module(xv).channels[1].zeroOffset, 150);
        EXPECT_EQ(Config(), kOriginal);
        if (neverSent != 0) {
            EXPECT_EQ(CountRequests(neverSent), 0u);
        }
    }
}

class HaltStateTest : public SimBusTest {};

TEST_F(HaltStateTest, CommandBitChangesAndSignalBitIsKept) {
    bus->Modify(xv, [](sim::ModuleState& m) { m.haltBySignal = true; });
    HaltMeasState state;
    ASSERT_TRUE(ReadHaltMeasState(port, 3, state));
    EXPECT_EQ(std::tie(state.haltState, state.command), std::make_tuple(1, 0));
    ASSERT_TRUE(SetHaltByCommand(port, 3, true, state));
    EXPECT_EQ(std::tie(state.haltState, state.command), std::make_tuple(3, 1));
    ASSERT_TRUE(SetHaltByCommand(port, 3, false, state));
    EXPECT_EQ(state.haltState, 1);
    EXPECT_EQ(Sent(191), (std::vector<std::vector<uint8_t>>{{3}, {1}}));

    // State, command bit, the value to send. A state never read (-1) has no signal bit, and never gives 255.
    const std::tuple<int, int, int> cases[] = {{1, 0, 1}, {3, 0, 1},  {1, 1, 3}, {2, 0, 0},
                                               {0, 1, 2}, {-1, 0, 0}, {-1, 1, 2}};
    for (const auto& [halt, command, value] : cases) {
        EXPECT_EQ(HaltStateValue(halt, command), value) << halt << " " << command;
    }
    EXPECT_EQ(HaltStateName(2) + "/" + HaltCommandName(1), "Halt Measuring by Command/Halt by Command");
}

// A port on a scripted transport, for replies the simulated modules never give.
class ScriptedPortTest : public BusFixture {};

TEST_F(ScriptedPortTest, HaltStateByteIsTakenModuloFour) {
    ReplyOnce(ModuleReply(3, 190, 0, {6}));
    HaltMeasState state;
    ASSERT_TRUE(ReadHaltMeasState(port, 3, state));
    EXPECT_EQ(std::tie(state.haltState, state.command), std::make_tuple(2, 1));

    // Nobody answers: the write fails unseen and the failed read keeps the former values.
    bool writeOk = true;
    EXPECT_FALSE(SetHaltByCommand(port, 3, false, state, &writeOk));
    EXPECT_FALSE(writeOk);
    EXPECT_EQ(state.haltState, 2);
}

class OffsetTest : public SimBusTest {};

TEST_F(OffsetTest, ReadAndWriteInPercent) {
    ASSERT_TRUE(WriteOffsetPercent(port, 3, 1.25));
    EXPECT_EQ(Sent(232).back()[0], 8); // selector 8
    double percent = 0;
    ASSERT_TRUE(ReadOffsetPercent(port, 3, percent));
    EXPECT_NEAR(percent, 1.25, 1e-9);
    EXPECT_FALSE(WriteOffsetPercent(port, 3, 100)); // 1000 tenths do not encode
    EXPECT_EQ(Sent(232).size(), 1u);
}

TEST(OffsetEditTest, StepsStopAtTheRangeEnds) {
    OffsetEdit edit;
    edit.Start(2.5);
    EXPECT_FALSE(edit.IsModified());
    for (int i = 0; i < 1001; ++i) {
        edit.StepUp();
    }
    EXPECT_DOUBLE_EQ(edit.Change(), 100);
    EXPECT_DOUBLE_EQ(edit.NewOffset(), 102.5);
    for (int i = 0; i < 3; ++i) {
        edit.StepDown();
    }
    EXPECT_DOUBLE_EQ(edit.Change(), 99.7);
    EXPECT_TRUE(edit.IsModified());

    EXPECT_TRUE(edit.SetNewOffset(3.0));
    EXPECT_DOUBLE_EQ(edit.Change(), 0.5);
    EXPECT_FALSE(edit.SetChange(100.5));
    EXPECT_DOUBLE_EQ(edit.NewOffset(), 3.0);
    EXPECT_TRUE(edit.SetChange(-0.5));
    EXPECT_DOUBLE_EQ(edit.NewOffset(), 2.0);
    EXPECT_TRUE(edit.SetChange(0));
    EXPECT_FALSE(edit.IsModified());
}

TEST_F(ScriptedPortTest, ResetBaudRecordFollowsOnlyASentCommand) {
    ModuleRecord record;
    record.stationInfo.wStartupBaud = 12;
    EXPECT_EQ(ResetBaudRate(record), 1200u);
    ASSERT_TRUE(ProgramResetBaudRate(port, record));
    EXPECT_EQ(transport->writes, (std::vector<Bytes>{{255, 253, 0, 0, 17, (255 + 253 + 17) & 0x7F, 0xFE}}));
    EXPECT_EQ(record.stationInfo.wStartupBaud, 96);

    record.stationInfo.wStartupBaud = 12;
    transport->failWrites = true;
    EXPECT_FALSE(ProgramResetBaudRate(port, record));
    EXPECT_EQ(record.stationInfo.wStartupBaud, 12);
}

} // namespace
} // namespace terrix::test

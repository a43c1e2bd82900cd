#include "core/config/error66_limit.h"
#include "core/config/halt_state.h"
#include "core/config/offset_adjust.h"
#include "core/config/reset_baud.h"

#include "fake_bus.h"
#include "sim_fixture.h"

#include <gtest/gtest.h>

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

TEST_F(Error66Test, ReadOpensTheLockAndPutsTheConfigurationBack) {
    double percent = 0;
    ConfigMessages messages;
    ASSERT_TRUE(ReadError66Limit(port, 3, percent, messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_DOUBLE_EQ(percent, 15.0);
    EXPECT_EQ(Config(), kOriginal);
    const auto writes = Sent(225);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], (std::vector<uint8_t>{0, 0, 0x43, 1, 2, 1, 0}));
    EXPECT_EQ(writes[1], (std::vector<uint8_t>(kOriginal.begin(), kOriginal.end())));
}

TEST_F(Error66Test, WriteSendsTenthsTruncated) {
    ConfigMessages messages;
    ASSERT_TRUE(WriteError66Limit(port, 3, 12.37, messages));
    EXPECT_EQ(Module(xv).channels[1].zeroOffset, 123);
    EXPECT_EQ(Config(), kOriginal);
    ASSERT_TRUE(WriteError66Limit(port, 3, static_cast<float>(4.6), messages));
    EXPECT_EQ(Module(xv).channels[1].zeroOffset, 46);
    ASSERT_TRUE(WriteError66Limit(port, 3, -0.35, messages));
    EXPECT_EQ(Module(xv).channels[1].zeroOffset, -3);
    EXPECT_TRUE(messages.empty());

    EXPECT_FALSE(WriteError66Limit(port, 3, 10000, messages));
    EXPECT_EQ(messages.back().text, kMsgSetLowLimitFailed);
    EXPECT_EQ(Module(xv).channels[1].zeroOffset, -3);
}

TEST_F(Error66Test, RefusedConfigurationWriteShowsNoLimit) {
    bus->Modify(xv, [](sim::ModuleState& m) { m.faults.status6 = {225}; });
    double percent = -1;
    ConfigMessages messages;
    EXPECT_FALSE(ReadError66Limit(port, 3, percent, messages));
    EXPECT_DOUBLE_EQ(percent, -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kMsgSetAnalogCfgFailed);
    EXPECT_TRUE(Sent(228).empty());

    messages.clear();
    EXPECT_FALSE(WriteError66Limit(port, 3, 5, messages));
    EXPECT_EQ(messages, (ConfigMessages{{kMsgSetAnalogCfgFailed, "", MessageIcon::None},
                                        {kMsgSetLowLimitFailed, "", MessageIcon::None}}));
    EXPECT_EQ(Module(xv).channels[1].zeroOffset, 150);
}

TEST_F(Error66Test, FailureAfterOpeningTheLockStillRestoresTheConfiguration) {
    bus->Modify(xv, [](sim::ModuleState& m) { m.faults.status6 = {228, 224}; });
    double percent = 0;
    ConfigMessages messages;
    EXPECT_FALSE(ReadError66Limit(port, 3, percent, messages));
    EXPECT_EQ(messages, (ConfigMessages{{kMsgZeroOffsetFailed, "", MessageIcon::None}}));
    EXPECT_EQ(Config(), kOriginal);

    messages.clear();
    EXPECT_FALSE(WriteError66Limit(port, 3, 5, messages));
    EXPECT_EQ(messages, (ConfigMessages{{kMsgZeroOffsetFailed, "", MessageIcon::None},
                                        {kMsgSetLowLimitFailed, "", MessageIcon::None}}));
    EXPECT_EQ(Config(), kOriginal);
}

TEST_F(Error66Test, ConfigurationReadFailure) {
    bus->Modify(xv, [](sim::ModuleState& m) { m.faults.mute = true; });
    double percent = 0;
    ConfigMessages messages;
    EXPECT_FALSE(ReadError66Limit(port, 3, percent, messages));
    EXPECT_EQ(messages, (ConfigMessages{{kMsgGetAnalogCfgFailed, "", MessageIcon::None}}));
    EXPECT_TRUE(Sent(225).empty());
}

class HaltStateTest : public SimBusTest {};

TEST_F(HaltStateTest, CommandBitChangesAndSignalBitIsKept) {
    bus->Modify(xv, [](sim::ModuleState& m) { m.haltBySignal = true; });
    HaltMeasState state;
    ASSERT_TRUE(ReadHaltMeasState(port, 3, state));
    EXPECT_EQ(state.haltState, 1);
    EXPECT_EQ(state.command, 0);
    ASSERT_TRUE(SetHaltByCommand(port, 3, true, state));
    EXPECT_EQ(state.haltState, 3);
    EXPECT_EQ(state.command, 1);
    ASSERT_TRUE(SetHaltByCommand(port, 3, false, state));
    EXPECT_EQ(state.haltState, 1);
    EXPECT_EQ(Sent(191), (std::vector<std::vector<uint8_t>>{{3}, {1}}));
}

TEST(HaltStateValueTest, ValueRule) {
    EXPECT_EQ(HaltStateValue(1, 0), 1);
    EXPECT_EQ(HaltStateValue(3, 0), 1);
    EXPECT_EQ(HaltStateValue(1, 1), 3);
    EXPECT_EQ(HaltStateValue(2, 0), 0);
    EXPECT_EQ(HaltStateValue(0, 1), 2);
    EXPECT_EQ(HaltStateValue(-1, 0), 0); // never read: no signal bit, not 255
    EXPECT_EQ(HaltStateValue(-1, 1), 2);
    EXPECT_EQ(HaltStateName(2), "Halt Measuring by Command");
    EXPECT_EQ(HaltCommandName(1), "Halt by Command");
}

TEST(HaltStateRawTest, StateByteIsTakenModuloFour) {
    FakeBus bus;
    bus.Add(3).haltState = 6;
    HaltMeasState state;
    ASSERT_TRUE(ReadHaltMeasState(bus.Port(), 3, state));
    EXPECT_EQ(state.haltState, 2); // "Halt Measuring by Command"
    EXPECT_EQ(state.command, 1);   // "Halt by Command"

    bus.At(3).fault = [](uint8_t, const Bytes&) -> std::optional<uint8_t> { return FakeModule::kSilent; };
    HaltMeasState kept = state;
    bool writeOk = true;
    EXPECT_FALSE(SetHaltByCommand(bus.Port(), 3, false, kept, &writeOk));
    EXPECT_FALSE(writeOk);
    EXPECT_EQ(kept.haltState, 2); // a failed read keeps the former values
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

TEST(ResetBaudTest, RecordFollowsOnlyASentCommand) {
    FakeBus bus;
    ModuleRecord record;
    record.stationInfo.wStartupBaud = 12;
    EXPECT_EQ(ResetBaudRate(record), 1200u);
    ASSERT_TRUE(ProgramResetBaudRate(bus.Port(), record));
    ASSERT_EQ(bus.broadcasts.size(), 1u);
    EXPECT_EQ(bus.broadcasts[0].first, 17);
    EXPECT_TRUE(bus.broadcasts[0].second.empty());
    EXPECT_EQ(record.stationInfo.wStartupBaud, 96);

    record.stationInfo.wStartupBaud = 12;
    bus.Transport().failWrites = true;
    EXPECT_FALSE(ProgramResetBaudRate(bus.Port(), record));
    EXPECT_EQ(record.stationInfo.wStartupBaud, 12);
}

} // namespace
} // namespace terrix::test

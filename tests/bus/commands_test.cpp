#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/bus/frame.h"

#include "bus_fixture.h"

#include <array>
#include <cstring>
#include <tuple>

namespace terrix::test {
namespace {

using Bytes = std::vector<uint8_t>;

class CommandsTest : public BusFixture {
protected:
    // Data block of the last request written (without header and checksum).
    Bytes LastRequestData() const {
        const Bytes& frame = transport->writes.back();
        return frame.size() > 8 ? Bytes(frame.begin() + 7, frame.end() - 1) : Bytes{};
    }
    uint8_t LastCommand() const { return transport->writes.back()[4]; }
};

TEST_F(CommandsTest, NumberOfMeasurementsIsSentNegatedAndReadAsMagnitude) {
    // Counts beyond five digits (also "negative" ones) are sent as the largest.
    const std::pair<uint32_t, Bytes> cases[] = {{250, {1, 0, 0x08, 0x25, 0x00, 0, 0}},
                                                {100000, {1, 0, 0x98, 0x99, 0x99, 0, 0}},
                                                {static_cast<uint32_t>(-5), {1, 0, 0x98, 0x99, 0x99, 0, 0}},
                                                {0, {1, 0, 0, 0, 0, 0, 0}}};
    for (const auto& [count, data] : cases) {
        ReplyOnce(ModuleReply(3, 226, 0, {}));
        ASSERT_TRUE(WriteNumberOfMeas(port, 3, 1, count));
        EXPECT_EQ(LastRequestData(), data) << count;
    }
    ReplyOnce(ModuleReply(3, 230, 0, {0, 0, 0x08, 0x25, 0x00, 0, 0}));
    EXPECT_EQ(ReadNumberOfMeas(port, 3, 0), 250);
    EXPECT_EQ(ReadNumberOfMeas(port, 3, 0), -1); // nobody answers
    EXPECT_EQ(LastBusError(), 9);
}

TEST_F(CommandsTest, ActiveCalibrationIsReadFirstAndWrittenOnlyWhenItDiffers) {
    ReplyOnce(ModuleReply(3, 204, 0, {4}));
    ASSERT_TRUE(WriteActiveCalib(port, 3, 4));
    ASSERT_EQ(transport->writes.size(), 1u);
    EXPECT_EQ(LastCommand(), 204);

    transport->onWrite = [this](const Bytes& frame) {
        transport->QueueReply(frame[4] == 204 ? ModuleReply(3, 204, 0, {2}) : ModuleReply(3, 205, 0, {}));
    };
    ASSERT_TRUE(WriteActiveCalib(port, 3, 7));
    ASSERT_EQ(transport->writes.size(), 3u);
    EXPECT_EQ(LastCommand(), 205);
    EXPECT_EQ(LastRequestData(), (Bytes{7}));
    transport->onWrite = nullptr;

    // Refused when the read fails or names no position.
    EXPECT_EQ(ReadActiveCalib(port, 3), kNoActiveCalib);
    EXPECT_FALSE(WriteActiveCalib(port, 3, 1));
    ReplyOnce(ModuleReply(3, 204, 0, {16}));
    EXPECT_FALSE(WriteActiveCalib(port, 3, 1));
    EXPECT_EQ(LastCommand(), 204);
}

// A failed measurement's code is checked with the measuring step's error markers.
TEST_F(CommandsTest, MeasuredValuesDecodeBothGroups) {
    // Channel 0: -1234 with bit 2 set, bit 1 clear; channel 1: 567 with bit 1 set.
    ReplyOnce(ModuleReply(3, 241, 0, {0x4C, 0x23, 0x01, 0x72, 0x56, 0x00}));
    MeasuredChannel c0;
    MeasuredChannel c1;
    ASSERT_TRUE(ReadMeasuredValues(port, 3, c0, c1));
    EXPECT_EQ(std::tuple(c0.value, c0.bit2Flag, c0.bit1Clear), std::tuple(-1234, true, true));
    EXPECT_EQ(std::tuple(c1.value, c1.bit2Flag, c1.bit1Clear), std::tuple(567, false, false));
}

TEST_F(CommandsTest, StationInfoNameIsTerminatedBehindItsLength) {
    // A reply carries at most 254 data bytes (its length byte counts the checksum byte too).
    Bytes block(40, 'x');
    block[14] = 9;
    ReplyOnce(ModuleReply(3, 2, 0, block));
    StationInfoBlock info{};
    ASSERT_TRUE(ReadStationInfo(port, 3, info));
    EXPECT_EQ(std::pair(info[23], info[24]), std::pair(uint8_t{'x'}, uint8_t{0}));

    block.assign(254, 'x');
    block[14] = 255; // a length pointing past the block must not write outside it
    ReplyOnce(ModuleReply(3, 2, 0, block));
    ASSERT_TRUE(ReadStationInfo(port, 3, info));
    EXPECT_EQ(info[269], 0);
}

TEST_F(CommandsTest, BaudLadderWaitsAndFollowsEveryStepAndEndsAtBusRate) {
    const uint64_t start = clock.NowUs();
    ResynchroniseBaud(port);
    EXPECT_EQ(transport->baudChanges, (std::vector<uint32_t>{300, 600, 1200, 2400, 4800, 9600}));
    ASSERT_EQ(transport->writes.size(), 6u);
    // Command 16 for 9600 baud: data 96, 0 in a 10-byte request, 120 ms + 400 ms of waiting.
    EXPECT_EQ(transport->writes.back(), BuildRequest(255, 253, 16, Bytes{96, 0}));
    EXPECT_EQ(clock.NowUs() - start, 6u * 520'000u);

    transport->baudChanges.clear();
    transport->failWrites = true;
    ResynchroniseBaud(port);
    EXPECT_EQ(transport->baudChanges, (std::vector<uint32_t>{9600}));
}

TEST_F(CommandsTest, MaterialCalibrationScaleFactors) {
    ASSERT_TRUE(WriteTempCalib(port, 3, 0, 1, CalibCoeffs{}, false)) << "an invalid one is skipped";
    EXPECT_TRUE(transport->writes.empty());
    const CalibCoeffs coeffs{1.5, -2.0, 30.0, 400.0, 5000.0, 60000.0};
    ReplyOnce(ModuleReply(3, 207, 0, {}));
    ASSERT_TRUE(WriteMatCalib(port, 3, 2, 4711, coeffs));
    const Bytes sent = LastRequestData();
    ASSERT_EQ(sent.size(), 27u);
    std::array<float, 6> floats{};
    std::memcpy(floats.data(), &sent[3], sizeof floats);
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 3), (Bytes{2, 0x67, 0x12})) << "position, ID 4711";
    EXPECT_EQ(floats, (std::array{15.0f, -2.0f, 3.0f, 4.0f, 5.0f, 6.0f})) << "sent divided by 0.1 .. 10000";
    Bytes reply = sent;
    reply[0] = 0;
    ReplyOnce(ModuleReply(3, 206, 0, reply));
    uint16_t id = 0;
    CalibCoeffs back{};
    ASSERT_TRUE(ReadMatCalib(port, 3, 2, id, back));
    EXPECT_EQ(id, 4711);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(back[k], coeffs[k], std::abs(coeffs[k]) * 1e-6);
    }
}

// An offset's encoding is checked by writing and reading one through the simulator with the configuration's
// offsets; the selectors of the other channels and the channel range stay here.
TEST_F(CommandsTest, OffsetSelectorAndChannelRange) {
    EXPECT_EQ((std::vector<int>{OffsetSelector(0, false), OffsetSelector(0, true), OffsetSelector(5, false)}),
              (std::vector<int>{8, 0, 88}));
    EXPECT_FALSE(WriteOffset(port, 3, 6, false, 1.0));
    EXPECT_TRUE(transport->writes.empty());
}

TEST_F(CommandsTest, AnalogConfigurationBlockIsClearedAfterSending) {
    AnalogCfgBlock block{1, 2, 3, 4, 5, 6, 7};
    ReplyOnce(ModuleReply(3, 225, 0, {}));
    ASSERT_TRUE(WriteAnalogCfg(port, 3, block));
    EXPECT_EQ(LastRequestData(), (Bytes{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(block, AnalogCfgBlock{});
}

TEST_F(CommandsTest, SensorDataFromSixParts) {
    // Channel 0: zero offset -15 x 10^-1, resolution 25 x 10^-3, unit 25, LSB -100..4000, status 1; channel
    // 1: unit 20.
    Bytes raw = {0xF1, 0xFF, 0xFF, 25, 0, 0xFD, 0, 25, 0x9C, 0xFF, 0xA0, 0x0F, 1, 0};
    raw.resize(42);
    raw[14 + 7] = 20;
    transport->onWrite = [this, raw](const Bytes& frame) {
        const size_t part = frame[7] / 8;
        transport->QueueReply(
            ModuleReply(3, 235, 0, Bytes(raw.begin() + 7 * part, raw.begin() + 7 * part + 7)));
    };
    SensorData c0;
    SensorData c1;
    ASSERT_TRUE(ReadSensorData(port, 3, c0, c1));
    EXPECT_EQ(transport->writes.size(), 6u);
    EXPECT_FLOAT_EQ(c0.fZeroOffset, -1.5f);
    EXPECT_FLOAT_EQ(c0.fResolution, 0.025f);
    EXPECT_EQ((std::vector<int>{c0.yUnitCode, c0.nLSBMin, c0.nLSBMax, c0.yStatus, c1.yUnitCode}),
              (std::vector<int>{25, -100, 4000, 1, 20}));

    // The read stops at the first part that fails.
    int answered = 0;
    transport->onWrite = [&](const Bytes&) {
        if (answered++ < 2) {
            transport->QueueReply(ModuleReply(3, 235, 0, Bytes(7, 1)));
        }
    };
    transport->writes.clear();
    SensorData d0;
    EXPECT_FALSE(ReadSensorData(port, 3, d0, c1));
    EXPECT_EQ(std::pair(transport->writes.size(), d0.yUnitCode), std::pair(size_t{3}, uint8_t{0}));
}

TEST(BusErrorTexts, KnownAndUnknownCodes) {
    // The texts of errors 9 and 11 are checked end to end.
    EXPECT_EQ((std::vector<std::string>{BusErrorText(0), BusErrorText(301)}),
              (std::vector<std::string>{"Unknown error", "Unknown error"}));
    EXPECT_EQ(BusErrorText(366).rfind("Meas. value too low.\n", 0), 0u);
    EXPECT_EQ((std::vector<int>{BusErrorTextId(6), BusErrorTextId(330), BusErrorTextId(14)}),
              (std::vector<int>{5206, 5530, 5199}));
}

} // namespace
} // namespace terrix::test

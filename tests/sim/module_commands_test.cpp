// The replies of one module, byte for byte, for every command family.

#include "sim/scenario.h"
#include "sim/virtual_bus.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace terrix::sim {
namespace {

using test::Ask;
using test::DataOf;
using test::RequestBytes;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kStation = 4;

ModuleState PlainModule() {
    ModuleState m;
    m.station = kStation;
    m.info = {0x1234, 0x5678, 0x9A, 11, 96, 250, 10, 50, "AB"};
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

float FloatAt(const Bytes& data, size_t offset) {
    float f = 0;
    std::memcpy(&f, data.data() + offset, 4); // the test machine is little-endian like the bus
    return f;
}

class ModuleCommands : public ::testing::Test {
protected:
    void SetUp() override { bus.AddModule(PlainModule()); }
    ModuleState State() { return *bus.Module(0); }
    void Change(const std::function<void(ModuleState&)>& f) { bus.Modify(0, f); }
    Bytes Send(uint8_t command, Bytes data = {}) {
        return Ask(bus, RequestBytes(kStation, command, std::move(data)));
    }
    uint8_t StatusOf(uint8_t command, Bytes data = {}) {
        const Bytes reply = Send(command, std::move(data));
        return reply.size() >= 7 ? reply[3] : 0xFF;
    }

    VirtualBus bus{1};
};

TEST_F(ModuleCommands, StationInformationStopsAfterTheNamesTerminator) {
    const Bytes expected = {4,    253,  0x13, 0,    2,  0x16, 0xFE, 0x34, 0x12, 0x78, 0x56, 0x9A, 0x0B,
                            0x60, 0x00, 0xFA, 0x00, 10, 0x00, 50,   0x00, 2,    'A',  'B',  0x00, 0xD4};
    EXPECT_EQ(Send(2), expected);
}

TEST_F(ModuleCommands, ChannelCountIsSentNegated) {
    EXPECT_EQ(Send(230, {0}), (Bytes{4, 253, 8, 0, 230, 0x6F, 0xFE, 0, 0, 0x08, 0x25, 0x00, 0, 0, 0x2D}));
    // Channel 1 with no measurements: zero without a sign.
    EXPECT_EQ(DataOf(Send(230, {1})), (Bytes{1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ModuleCommands, CountsAndZeroOffsetsNeedTheUnlockedAnalogConfiguration) {
    const Bytes count = {0, 0, 0x08, 0x25, 0x01, 0, 0}; // -1250
    EXPECT_EQ(StatusOf(226, count), 7);
    EXPECT_EQ(StatusOf(228, {1}), 7);
    EXPECT_EQ(StatusOf(224, {1, 0, 0x30, 0x12, 0, 0, 0}), 7);

    // Unlock as the PC does it: bits 0 and 1 of yRawVofsVd of channel 0.
    EXPECT_EQ(StatusOf(225, {0, 0, 0x03, 0, 0, 1, 0}), 0);
    EXPECT_EQ(StatusOf(226, count), 0);
    EXPECT_EQ(State().channels[0].measurementCount, 1250u);
    EXPECT_EQ(DataOf(Send(228, {1})), (Bytes{1, 0, 0x00, 0x05, 0, 0, 0})); // 50 as BCD9
    EXPECT_EQ(StatusOf(224, {1, 0, 0x38, 0x12, 0, 0, 0}), 0);              // -123
    EXPECT_EQ(State().channels[1].zeroOffset, -123);
    EXPECT_EQ(DataOf(Send(228, {1})), (Bytes{1, 0, 0x38, 0x12, 0, 0, 0}));

    EXPECT_EQ(StatusOf(225, {0, 0, 0x00, 0, 0, 1, 0}), 0);
    EXPECT_EQ(StatusOf(228, {1}), 7);
    // A module without the lock takes them at any time.
    Change([](ModuleState& m) { m.settingsLock = false; });
    EXPECT_EQ(StatusOf(228, {1}), 0);
}

TEST_F(ModuleCommands, AnalogConfigurationIsKeptWholePerChannel) {
    EXPECT_EQ(DataOf(Send(229, {0})), (Bytes{0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(StatusOf(225, {1, 9, 8, 7, 6, 5, 4}), 0);
    EXPECT_EQ(DataOf(Send(229, {1})), (Bytes{1, 9, 8, 7, 6, 5, 4}));
}

TEST_F(ModuleCommands, SensorDataPartsCarryMantissaExponentPairs) {
    // Channel 0: zero offset 0, resolution 0.01 = 1 x 10^-2, unit 25, LSB 0..10000 (0x2710).
    EXPECT_EQ(Send(235, {0}), (Bytes{4, 253, 8, 0, 235, 0x74, 0xFE, 0, 0, 0, 0x01, 0x00, 0xFE, 0, 0xFF}));
    EXPECT_EQ(DataOf(Send(235, {8})), (Bytes{25, 0, 0, 0x10, 0x27, 0, 0}));
    // Channel 1: -40 = -4 x 10^1, 0.1 = 1 x 10^-1, unit 20, LSB 0..1200 (0x04B0).
    EXPECT_EQ(DataOf(Send(235, {16})), (Bytes{0xFC, 0xFF, 0x01, 0x01, 0x00, 0xFF, 0}));
    EXPECT_EQ(DataOf(Send(235, {24})), (Bytes{20, 0, 0, 0xB0, 0x04, 0, 0}));
    EXPECT_EQ(DataOf(Send(235, {40})), Bytes(7, 0));
}

TEST_F(ModuleCommands, MeasuredValuesAreTwoPackedGroupsWithFlags) {
    // 25.0 % / 0.01 = 2500 LSB; (20.0 + 40) / 0.1 = 600 LSB with bit 1 set.
    EXPECT_EQ(Send(241), (Bytes{4, 253, 7, 0, 241, 0x79, 0xFE, 0x00, 0x50, 0x02, 0x02, 0x60, 0x00, 0xB4}));
    // A channel without a value: bit 2 set, value 0.
    Change([](ModuleState& m) { m.channels[0].signal.reset(); });
    EXPECT_EQ(DataOf(Send(241)), (Bytes{0x04, 0, 0, 0x02, 0x60, 0x00}));
    // Values beyond the sensor's LSB range are held at its ends.
    Change([](ModuleState& m) { m.channels[1].signal = SignalModel{200.0, 0, 0, 0}; });
    EXPECT_EQ(DataOf(Send(241)), (Bytes{0x04, 0, 0, 0x02, 0x20, 0x01}));
}

TEST_F(ModuleCommands, MeasuringErrorAnswersStatusFiveWithTheCodeInByteFive) {
    Change([](ModuleState& m) { m.measuringError = 66; });
    EXPECT_EQ(Send(241), (Bytes{4, 253, 7, 5, 241, 0x7E, 0xFE, 0x04, 0, 0, 0x04, 0, 0x66, 0x6E}));
    Change([](ModuleState& m) { m.measuringError = 30; });
    EXPECT_EQ(DataOf(Send(241))[5], 0x30);
}

TEST_F(ModuleCommands, StartMeasurementTakesTheNextValue) {
    Change([](ModuleState& m) { m.channels[0].signal = SignalModel{25.0, 0, 0, 0.5}; });
    EXPECT_EQ(Send(241), Send(241)); // no new measurement without a start
    const Bytes before = DataOf(Send(241));
    EXPECT_EQ(StatusOf(242), 0);
    EXPECT_EQ(State().measurementIndex, 1u);
    EXPECT_NE(DataOf(Send(241)), before);
    // A continuously measuring module takes a new value on every read.
    Change([](ModuleState& m) { m.continuous = true; });
    Send(241);
    Send(241);
    EXPECT_EQ(State().measurementIndex, 3u);
}

TEST_F(ModuleCommands, MaterialCalibrationsKeepTheirFloatsExactly) {
    Change([](ModuleState& m) { m.material[5] = {1201, {-21.0f, 1.0f, 0, 0, 0, 0}, true}; });
    const Bytes data = DataOf(Send(206, {5}));
    ASSERT_EQ(data.size(), 27u);
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 11),
              (Bytes{5, 0xB1, 0x04, 0x00, 0x00, 0xA8, 0xC1, 0, 0, 0x80, 0x3F}));

    Bytes write(27, 0);
    write[0] = 9;
    write[1] = 0x39;
    write[2] = 0x30; // ID 12345
    const float c3 = 0.000123f;
    std::memcpy(&write[3 + 3 * 4], &c3, 4);
    EXPECT_EQ(StatusOf(207, write), 0);
    EXPECT_EQ(State().material[9].id, 12345);
    EXPECT_EQ(State().material[9].raw[3], c3);
    EXPECT_EQ(DataOf(Send(206, {9})), write);
}

TEST_F(ModuleCommands, TemperatureCalibrationsExistOnlyWithTdcSupport) {
    EXPECT_EQ(StatusOf(194, {0}), 6);
    EXPECT_EQ(StatusOf(195, Bytes(27, 0)), 6);
    Change([](ModuleState& m) {
        m.hasTemperatureCalibrations = true;
        m.temperature[0] = {2201, {0, 1, -0.0125f, 0, 0, 0}, true};
        m.temperature[3].valid = false;
    });
    const Bytes data = DataOf(Send(194, {0}));
    ASSERT_EQ(data.size(), 27u);
    EXPECT_EQ(data[1] | (data[2] << 8), 2201);
    EXPECT_EQ(FloatAt(data, 3 + 4 * 2), -0.0125f); // unscaled
    EXPECT_EQ(StatusOf(194, {3}), 7);              // a position the module marks invalid
    EXPECT_EQ(StatusOf(194, {16}), 7);
    // Writing a position makes it valid again.
    Bytes write(27, 0);
    write[0] = 3;
    write[1] = 7;
    EXPECT_EQ(StatusOf(195, write), 0);
    EXPECT_TRUE(State().temperature[3].valid);
    EXPECT_EQ(State().temperature[3].id, 7);
}

TEST_F(ModuleCommands, ActiveCalibrationAndOffset) {
    EXPECT_EQ(Send(204), (Bytes{4, 253, 2, 0, 204, 0x4F, 0xFE, 0, 0}));
    EXPECT_EQ(StatusOf(205, {12}), 0);
    EXPECT_EQ(DataOf(Send(204)), Bytes{12});

    // 1.5 = 150000000 x 10^-8: scale 2.
    EXPECT_EQ(StatusOf(232, {8, 0x20, 0x00, 0x00, 0x00, 0x00, 0x15}), 0);
    EXPECT_EQ(State().offsets[1].scale, 2);
    EXPECT_EQ(State().offsets[1].mantissa, 150000000);
    EXPECT_EQ(DataOf(Send(233, {8})), (Bytes{8, 0x20, 0x00, 0x00, 0x00, 0x00, 0x15}));
    EXPECT_EQ(DataOf(Send(233, {0})), (Bytes{0, 0, 0, 0, 0, 0, 0})); // another selector, untouched
}

TEST_F(ModuleCommands, ApplicationParametersAndHaltState) {
    const Bytes block = {0x00, 0x00, 0x70, 0x41, 26, 0, 15, 0, 25, 25};
    EXPECT_EQ(StatusOf(193, block), 0);
    EXPECT_EQ(DataOf(Send(192)), block);

    Change([](ModuleState& m) { m.haltBySignal = true; });
    EXPECT_EQ(DataOf(Send(190)), Bytes{1});
    // The command sets bit 1 only; bit 0 follows the module's input whatever the PC sends.
    EXPECT_EQ(StatusOf(191, {2}), 0);
    EXPECT_EQ(DataOf(Send(190)), Bytes{3});
    EXPECT_EQ(StatusOf(191, {1}), 0);
    EXPECT_EQ(DataOf(Send(190)), Bytes{1});
    EXPECT_FALSE(State().haltByCommand);
}

TEST_F(ModuleCommands, XvBlocksAverageTheSingleReadings) {
    Change([](ModuleState& m) {
        m.applicationParameters[4] = 4; // averaging over 4 readings
        m.xv.temperature = SignalModel{17.5, 0, 0, 0};
        m.xv.rejected = 1;
    });
    const Bytes b = DataOf(Send(197));
    ASSERT_EQ(b.size(), 22u);
    EXPECT_FLOAT_EQ(FloatAt(b, 0), 100.0f);  // 4 x 25.0
    EXPECT_FLOAT_EQ(FloatAt(b, 4), 2500.0f); // 4 x 25.0^2
    EXPECT_EQ(FloatAt(b, 8), 0.0f);
    EXPECT_EQ(b[12] | (b[13] << 8), 4);
    EXPECT_EQ(b[14] | (b[15] << 8), 5);
    EXPECT_EQ(b[16] | (b[17] << 8), 1);
    EXPECT_FLOAT_EQ(FloatAt(b, 18), 17.5f);
    EXPECT_EQ(DataOf(Send(196)), Bytes(16, 0));

    Change([](ModuleState& m) {
        m.xv.errorFraction = 0.25f;
        m.xv.errorCode = 66;
    });
    EXPECT_FLOAT_EQ(FloatAt(DataOf(Send(197)), 8), 0.25f);
    const Bytes a = DataOf(Send(196));
    EXPECT_EQ(a[0], 66);
    EXPECT_EQ(a[1], 1);
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
    const Bytes reply = Ask(bus, damaged);
    ASSERT_GE(reply.size(), 7u);
    EXPECT_EQ(reply[3], 3);
    EXPECT_EQ(reply[2], 0);
    EXPECT_EQ(StatusOf(206, {0}), 0);
    EXPECT_EQ(State().activeCalibration, 0);
    EXPECT_EQ(State().channels[1].analogConfig[0], 1);
}

} // namespace
} // namespace terrix::sim

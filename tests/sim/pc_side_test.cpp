// The program's own bus layer talking to the simulator: the two were written apart from each other, so a
// layout read differently on one side shows up here.

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "sim/scenario.h"
#include "sim/sim_transport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace terrix::sim {
namespace {

class PcSide : public ::testing::Test {
protected:
    void SetUp() override {
        bus = BuildBus(DefaultScenario());
        port = ComAdopt(std::make_unique<SimTransport>(bus, clock));
        ASSERT_NE(port, kInvalidPort);
    }
    void TearDown() override { ComClose(port); }

    ModuleRecord Identify(uint8_t station) {
        ModuleRecord record;
        identified = IdentifyModule(port, station, record, [](uint32_t code) { return UnitName(code); });
        return record;
    }

    VirtualClock clock;
    std::shared_ptr<VirtualBus> bus;
    PortHandle port = kInvalidPort;
    bool identified = false;
};

TEST_F(PcSide, IdentificationReadsEveryLayoutOfTheDefaultBus) {
    const ModuleRecord rov = Identify(252);
    ASSERT_TRUE(identified) << rov.wLastError;
    EXPECT_EQ(rov.SerialNo(), 20513);
    EXPECT_EQ(rov.dwMeasChannels, 0u);

    const ModuleRecord probe = Identify(1);
    ASSERT_TRUE(identified) << probe.wLastError;
    EXPECT_EQ(probe.stationInfo.yModuleId, 11);
    EXPECT_EQ(probe.stationInfo.wFirmwareVersion, 0x1232);
    EXPECT_EQ(probe.stationInfo.wStartupBaud, 96);
    EXPECT_EQ(probe.dwNumberOfMeas0, 3u);
    EXPECT_EQ(probe.dwNumberOfMeas1, 3u);
    EXPECT_EQ(probe.dwMeasChannels, 3u);
    EXPECT_EQ(probe.analogCfg0.yHasLinearisation, 1);
    EXPECT_FLOAT_EQ(probe.sensorData0.fResolution, 0.01f);
    EXPECT_FLOAT_EQ(probe.sensorData1.fZeroOffset, -40.0f);
    EXPECT_EQ(probe.sensorData1.nLSBMax, 1200);
    EXPECT_EQ(FieldText(probe.szUnit0), "%");
    EXPECT_EQ(FieldText(probe.szUnit1), "\xB0"
                                        "C");
    EXPECT_EQ(probe.dwMeasTime, 1300u * 3 + 200 + 600); // linearisation on: no C term

    const ModuleRecord xv = Identify(3);
    ASSERT_TRUE(identified) << xv.wLastError;
    EXPECT_EQ(xv.dwNumberOfMeas0, 100u);
}

TEST_F(PcSide, ValuesCalibrationsAndOffsetsSurviveTheRoundTrip) {
    ASSERT_TRUE(StartMeasurement(port, 1));
    MeasuredChannel c0;
    MeasuredChannel c1;
    ASSERT_TRUE(ReadMeasuredValues(port, 1, c0, c1)) << LastBusError();
    EXPECT_FALSE(c0.bit2Flag);
    const double moisture = c0.value * 0.01;
    const double temperature = c1.value * 0.1 - 40;
    EXPECT_GT(moisture, 20.0);
    EXPECT_LT(moisture, 29.0);
    EXPECT_GT(temperature, 15.0);
    EXPECT_LT(temperature, 21.0);

    uint16_t id = 0;
    CalibCoeffs coeffs{};
    ASSERT_TRUE(ReadMatCalib(port, 1, 0, id, coeffs));
    EXPECT_EQ(id, 1201);
    EXPECT_NEAR(coeffs[0], -2.1, 1e-6);
    EXPECT_NEAR(coeffs[4], 5.1e-6, 1e-12);
    const CalibCoeffs written = {1.5, -0.25, 0.0125, 3e-4, -7e-6, 1e-8};
    ASSERT_TRUE(WriteMatCalib(port, 1, 7, 4242, written));
    ASSERT_TRUE(ReadMatCalib(port, 1, 7, id, coeffs));
    EXPECT_EQ(id, 4242);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(coeffs[k], written[k], std::fabs(written[k]) * 1e-6) << k;
    }
    EXPECT_FALSE(ReadTempCalib(port, 1, 0, id, coeffs));
    EXPECT_EQ(LastBusError(), 6);

    ASSERT_TRUE(WriteOffset(port, 3, 0, false, 1.5));
    double offset = 0;
    ASSERT_TRUE(ReadOffset(port, 3, 0, false, offset));
    EXPECT_DOUBLE_EQ(offset, 1.5);

    ASSERT_TRUE(WriteActiveCalib(port, 3, 7));
    EXPECT_EQ(ReadActiveCalib(port, 3), 7);
}

TEST_F(PcSide, ConversionCountNeedsTheUnlockAndMeasuringErrorsBecomeCodes) {
    EXPECT_FALSE(WriteNumberOfMeas(port, 3, 0, 250));
    EXPECT_EQ(LastBusError(), 7);
    AnalogCfgBlock cfg{};
    ASSERT_TRUE(ReadAnalogCfg(port, 3, 0, cfg));
    AnalogCfgBlock unlocked = cfg;
    unlocked[2] |= 3;
    ASSERT_TRUE(WriteAnalogCfg(port, 3, unlocked));
    ASSERT_TRUE(WriteNumberOfMeas(port, 3, 0, 250));
    EXPECT_EQ(ReadNumberOfMeas(port, 3, 0), 250);
    int32_t limit = 0;
    ASSERT_TRUE(ReadZeroOffset(port, 3, 1, limit));
    EXPECT_EQ(limit, 50);

    bus->ModifyBySerial(31042, [](ModuleState& m) { m.measuringError = 66; });
    MeasuredChannel c0;
    MeasuredChannel c1;
    EXPECT_FALSE(ReadMeasuredValues(port, 1, c0, c1));
    EXPECT_EQ(LastBusError(), 366);
}

} // namespace
} // namespace terrix::sim

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

// The probe of the default bus is identified in the identification test.
TEST_F(PcSide, IdentificationReadsTheMultiplexerAndTheXvModule) {
    const ModuleRecord rov = Identify(252);
    ASSERT_TRUE(identified) << rov.wLastError;
    EXPECT_EQ(rov.SerialNo(), 20513);
    EXPECT_EQ(rov.dwMeasChannels, 0u);

    const ModuleRecord xv = Identify(3);
    ASSERT_TRUE(identified) << xv.wLastError;
    EXPECT_EQ(xv.dwNumberOfMeas0, 100u);
}

TEST_F(PcSide, ValuesCalibrationsAndOffsetsSurviveTheRoundTrip) {
    ASSERT_TRUE(StartMeasurement(port, 1));
    MeasuredChannel c0;
    MeasuredChannel c1;
    ASSERT_TRUE(ReadMeasuredValues(port, 1, c0, c1)) << LastBusError();
    EXPECT_NEAR(c0.value * 0.01, 24.5, 4.5);
    EXPECT_NEAR(c1.value * 0.1 - 40, 18.0, 3.0);

    uint16_t id = 0;
    CalibCoeffs coeffs{};
    const CalibCoeffs written = {1.5, -0.25, 0.0125, 3e-4, -7e-6, 1e-8};
    ASSERT_TRUE(WriteMatCalib(port, 1, 7, 4242, written));
    ASSERT_TRUE(ReadMatCalib(port, 1, 7, id, coeffs));
    EXPECT_EQ(id, 4242);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(coeffs[k], written[k], std::fabs(written[k]) * 1e-6) << k;
    }

    ASSERT_TRUE(WriteOffset(port, 3, 0, false, 1.5));
    double offset = 0;
    ASSERT_TRUE(ReadOffset(port, 3, 0, false, offset));
    EXPECT_DOUBLE_EQ(offset, 1.5);
    ASSERT_TRUE(WriteActiveCalib(port, 3, 7));
    EXPECT_EQ(ReadActiveCalib(port, 3), 7);
}

} // namespace
} // namespace terrix::sim

#include "core/bus/bus_error.h"
#include "core/config/calib_set.h"

#include "sim_fixture.h"

#include <tuple>

namespace terrix::test {
namespace {

class CalibSetTest : public SimBusTest {};

// The scale factor of each material coefficient is CommandsTest.MaterialCalibrationScaleFactors's.
TEST_F(CalibSetTest, ReadScalesMaterialAndKeepsTemperatureUnscaled) {
    Change(xv, [](sim::ModuleState& m) {
        m.material[3] = {1203, {1.5f, 2.0f, 0.25f, 4.0f, 0.5f, 0.125f}, true};
        m.temperature[3] = {2203, {1.5f, 2.0f, 0.25f, 4.0f, 0.5f, 0.125f}, true};
    });
    CalibSet set;
    ASSERT_TRUE(ReadCalibSet(port, 3, set));
    EXPECT_EQ(std::tie(set.aMatCalib[3].wCalibId, set.aMatCalib[3].adCoeff[5], set.bHasTempCalib,
                       set.aTempCalib[3].wCalibId, set.aTempCalib[3].bValid, set.aTempCalib[3].adCoeff[5]),
              std::make_tuple(1203, 1250.0, 1, 2203, 1, 0.125));
    EXPECT_EQ(std::make_tuple(CountRequests(206), CountRequests(194)), std::make_tuple(16u, 16u));
}

// A read whose window is closing ends before its next calibration instead of reading all 32.
TEST_F(CalibSetTest, ReadStopsBeforeTheNextCalibrationWhenAsked) {
    CalibSet set;
    int asked = 0;
    EXPECT_FALSE(ReadCalibSet(port, 3, set, [&asked] { return ++asked > 5; }));
    EXPECT_EQ(std::make_tuple(CountRequests(206), CountRequests(194)), std::make_tuple(5u, 0u));
}

TEST_F(CalibSetTest, ModuleWithoutTemperatureCalibrationsReadsAndWritesSuccessfully) {
    Change(xv, [](sim::ModuleState& m) { m.hasTemperatureCalibrations = false; });
    CalibSet set;
    set.bHasTempCalib = 1;
    ASSERT_TRUE(ReadCalibSet(port, 3, set));
    EXPECT_EQ(set.bHasTempCalib, 0u);
    for (TempCalib& calib : set.aTempCalib) {
        EXPECT_EQ(calib.bValid, 0u);
        calib.bValid = 1;
    }
    EXPECT_EQ(CountRequests(194), 1u);
    EXPECT_TRUE(WriteCalibSet(set, port, 3)) << "valid temperature calibrations the module cannot take";
    EXPECT_EQ(CountRequests(195), 1u);
    Change(xv, [](sim::ModuleState& m) { m.faults.mute = true; });
    EXPECT_FALSE(WriteCalibSet(set, port, 3));
}

TEST_F(CalibSetTest, ReadFailuresThatAreNotAMissingCommandAndWritingBack) {
    // Only status 6 at temperature position 0 means "no temperature calibrations"; another code there, or
    // at a later position, is a failed read, and so is a failing material read.
    const std::function<void(sim::ModuleState&)> faults[] = {
        [](sim::ModuleState& m) { m.temperature[0].valid = false; },
        [](sim::ModuleState& m) { m.temperature[3].valid = false; },
        [](sim::ModuleState& m) { m.faults.fatalCount = 1; },
    };
    for (const auto& fault : faults) {
        Change(xv, [](sim::ModuleState& m) {
            m.temperature.fill({7, {}, true});
            m.faults.fatalCount = 0;
        });
        Change(xv, fault);
        CalibSet set;
        EXPECT_FALSE(ReadCalibSet(port, 3, set));
        EXPECT_NE(LastBusError(), kBusNotImplemented);
    }
    EXPECT_EQ(LastBusError(), 2);

    // Writing divides by the scales and skips invalid temperature calibrations.
    Change(xv, [](sim::ModuleState& m) { m.faults.fatalCount = 0; });
    CalibSet set{};
    set.aMatCalib[2].wCalibId = 502;
    set.aMatCalib[2].adCoeff = {0.15, 2.0, 2.5, 400.0, 500.0, 1250.0};
    set.aTempCalib[4] = {1, {}, 604, {1, 2, 3, 4, 5, 6}};
    ASSERT_TRUE(WriteCalibSet(set, port, 3));
    EXPECT_EQ(CountRequests(207), 16u);
    EXPECT_EQ(Sent(195),
              (std::vector<Bytes>{{4, 0x5C, 0x02, 0,    0, 0x80, 0x3F, 0,    0, 0, 0x40, 0,   0, 0x40, 0x40,
                                   0, 0,    0x80, 0x40, 0, 0,    0xA0, 0x40, 0, 0, 0xC0, 0x40}}));
    const sim::SimCalibration mat = Module(xv).material[2];
    EXPECT_EQ(std::tie(mat.id, mat.raw),
              std::make_tuple(502, std::array<float, 6>{1.5f, 2.0f, 0.25f, 4.0f, 0.5f, 0.125f}));
}

// The switch has 16 positions: a larger one is never sent. (Reading first and writing only a change is
// CommandsTest's, the switch moved in the module CalibWorkspaceTest's.)
TEST_F(CalibSetTest, ActiveCalibrationBeyondTheSwitchIsNotSent) {
    EXPECT_FALSE(SetActiveCalib(port, 3, 16));
    EXPECT_TRUE(bus->RequestLog().empty());
}

} // namespace
} // namespace terrix::test

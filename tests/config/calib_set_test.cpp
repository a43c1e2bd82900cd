#include "core/bus/bus_error.h"
#include "core/config/calib_set.h"

#include "fake_bus.h"

#include <gtest/gtest.h>

namespace terrix::test {
namespace {

class CalibSetTest : public ::testing::Test {
protected:
    FakeBus bus;
    FakeModule& module = bus.Add(7);
};

TEST_F(CalibSetTest, ReadScalesMaterialAndKeepsTemperatureUnscaled) {
    module.SetMat(3, 1203, {1.5f, 2.0f, 0.25f, 4.0f, 0.5f, 0.125f});
    module.SetTemp(3, 2203, {1.5f, 2.0f, 0.25f, 4.0f, 0.5f, 0.125f});
    CalibSet set;
    ASSERT_TRUE(ReadCalibSet(bus.Port(), 7, set));
    EXPECT_EQ(set.aMatCalib[3].wCalibId, 1203);
    const CalibCoeffs expectedMat = {0.15, 2.0, 2.5, 400.0, 500.0, 1250.0};
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(set.aMatCalib[3].adCoeff[k], expectedMat[k]) << "c" << k;
    }
    EXPECT_EQ(set.bHasTempCalib, 1u);
    EXPECT_EQ(set.aTempCalib[3].wCalibId, 2203);
    EXPECT_EQ(set.aTempCalib[3].bValid, 1u);
    EXPECT_DOUBLE_EQ(set.aTempCalib[3].adCoeff[5], 0.125);
    EXPECT_EQ(module.CountOf(206), 16);
    EXPECT_EQ(module.CountOf(194), 16);
}

TEST_F(CalibSetTest, ModuleWithoutTemperatureCalibrationsReadsSuccessfully) {
    module.hasTempCalib = false;
    module.SetMat(0, 77, {});
    CalibSet set;
    set.bHasTempCalib = 1;
    ASSERT_TRUE(ReadCalibSet(bus.Port(), 7, set));
    EXPECT_EQ(set.bHasTempCalib, 0u);
    EXPECT_EQ(set.aMatCalib[0].wCalibId, 77);
    for (const TempCalib& calib : set.aTempCalib) {
        EXPECT_EQ(calib.bValid, 0u);
    }
    EXPECT_EQ(module.CountOf(194), 1);
}

TEST_F(CalibSetTest, TemperatureFailuresThatAreNotAMissingCommand) {
    struct Case {
        uint8_t failIndex;
        uint8_t status;
    };
    // Status 6 only means "no temperature calibrations" at position 0; another code there, or any code
    // later, is a failed read.
    for (const Case c : {Case{3, 6}, Case{0, 7}, Case{0, FakeModule::kSilent}}) {
        module.fault = [c](uint8_t command, const Bytes& data) -> std::optional<uint8_t> {
            if (command == 194 && data[0] == c.failIndex) {
                return c.status;
            }
            return std::nullopt;
        };
        CalibSet set;
        EXPECT_FALSE(ReadCalibSet(bus.Port(), 7, set)) << int(c.failIndex) << "/" << int(c.status);
    }
}

TEST_F(CalibSetTest, MaterialReadFailureEndsTheRead) {
    module.fault = [](uint8_t command, const Bytes& data) -> std::optional<uint8_t> {
        return command == 206 && data[0] == 5 ? std::optional<uint8_t>(FakeModule::kSilent) : std::nullopt;
    };
    CalibSet set;
    EXPECT_FALSE(ReadCalibSet(bus.Port(), 7, set));
    EXPECT_EQ(LastBusError(), kBusNoAnswer);
    EXPECT_EQ(module.CountOf(206), 6);
    EXPECT_EQ(module.CountOf(194), 0);
}

TEST_F(CalibSetTest, WriteDividesByTheScalesAndSkipsInvalidTemperatures) {
    CalibSet set{};
    set.aMatCalib[2].wCalibId = 502;
    set.aMatCalib[2].adCoeff = {0.15, 2.0, 2.5, 400.0, 500.0, 1250.0};
    set.aTempCalib[4].bValid = 1;
    set.aTempCalib[4].wCalibId = 604;
    set.aTempCalib[4].adCoeff = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(WriteCalibSet(set, bus.Port(), 7));
    EXPECT_EQ(module.CountOf(207), 16);
    EXPECT_EQ(module.CountOf(195), 1);
    EXPECT_EQ(module.matCalib[2], CalibBlock(2, 502, {1.5f, 2.0f, 0.25f, 4.0f, 0.5f, 0.125f}));
    EXPECT_EQ(module.tempCalib[4], CalibBlock(4, 604, {1, 2, 3, 4, 5, 6}));
}

TEST_F(CalibSetTest, WriteToModuleWithoutTemperatureCommandSucceeds) {
    module.hasTempCalib = false;
    CalibSet set{};
    for (TempCalib& calib : set.aTempCalib) {
        calib.bValid = 1;
    }
    EXPECT_TRUE(WriteCalibSet(set, bus.Port(), 7));
    EXPECT_EQ(module.CountOf(195), 1);

    // Refused later than position 0 it is a failure.
    module.hasTempCalib = true;
    module.fault = [](uint8_t command, const Bytes& data) -> std::optional<uint8_t> {
        return command == 195 && data[0] == 1 ? std::optional<uint8_t>(6) : std::nullopt;
    };
    EXPECT_FALSE(WriteCalibSet(set, bus.Port(), 7));
}

TEST_F(CalibSetTest, ActiveCalibration) {
    module.active = 4;
    EXPECT_EQ(GetActiveCalib(bus.Port(), 7), 4);
    EXPECT_TRUE(SetActiveCalib(bus.Port(), 7, 4));
    EXPECT_EQ(module.CountOf(205), 0); // already active: nothing sent
    EXPECT_TRUE(SetActiveCalib(bus.Port(), 7, 9));
    EXPECT_EQ(module.active, 9);
    EXPECT_FALSE(SetActiveCalib(bus.Port(), 7, 16));
    EXPECT_EQ(module.CountOf(205), 1);
    EXPECT_EQ(GetActiveCalib(bus.Port(), 8), kNoActiveCalib); // nobody at station 8
}

} // namespace
} // namespace terrix::test

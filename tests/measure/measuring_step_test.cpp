// The measuring step against the simulated bus: ordinary probes and the XV module, with the reads that
// fail and what the record then holds.

#include "core/bus/bus_error.h"
#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "core/measure/error_marker.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/measuring_step.h"
#include "core/measure/time_stamp.h"

#include "busops/sim_bus_fixture.h"

#include <cmath>

namespace terrix::test {
namespace {

constexpr uint32_t kStamp = 0x12345678;

sim::SignalModel Constant(double value) {
    return sim::SignalModel{value, 0, 0, 0};
}

class MeasuringStepTest : public SimBusFixture {
protected:
    // A probe with fixed readings: channel 0 24.5 (LSB 2450 at 0.01), channel 1 18.0 (LSB 580 at 0.1 - 40).
    size_t AddSteadyProbe(uint8_t station, uint16_t serial) {
        const size_t index = AddProbe(station, serial);
        bus->Modify(index, [](sim::ModuleState& m) {
            m.channels[0].sensor.zeroOffset = 0;
            m.channels[0].sensor.resolution = 0.01;
            m.channels[0].signal = Constant(24.5);
            m.channels[1].sensor.zeroOffset = -40;
            m.channels[1].sensor.resolution = 0.1;
            m.channels[1].signal = Constant(18.0);
        });
        return index;
    }
    // The XV module with fixed readings: moisture 12.75 in every averaged value, TDR level 0.842,
    // temperature 17.5.
    size_t AddSteadyXv(uint8_t station, uint16_t serial) {
        const size_t index = AddProbe(station, serial, true);
        bus->Modify(index, [](sim::ModuleState& m) {
            m.channels[0].signal = Constant(12.75);
            m.channels[1].sensor.zeroOffset = 0;
            m.channels[1].sensor.resolution = 0.001;
            m.channels[1].signal = Constant(0.842);
            m.xv.temperature = Constant(17.5);
        });
        return index;
    }
    ModuleRecord Identify(uint8_t station) {
        ModuleRecord r;
        EXPECT_TRUE(IdentifyModule(port, station, r, UnitName)) << "station " << int(station);
        return r;
    }
    MeasuringStepResult Measure(const ModuleRecord& module, const ChannelOptions& options = {}) {
        if (!store.IsBound()) {
            EXPECT_TRUE(store.Attach(module));
        }
        return RunMeasuringStep(port, module, options, kStamp, store);
    }
    float Float(size_t field) {
        float value = -1;
        EXPECT_TRUE(store.AppendRecord().GetFloat(field, &value)) << "field " << field;
        return value;
    }
    uint32_t Bits(size_t field) {
        uint32_t bits = 0;
        store.AppendRecord().GetValue(field, &bits);
        return bits;
    }
    uint16_t Word(size_t field) {
        uint16_t value = 0;
        store.AppendRecord().GetValue(field, &value);
        return value;
    }

    CMeasValueStore store;
};

TEST_F(MeasuringStepTest, ProbeValuesAreConvertedAndStored) {
    AddSteadyProbe(1, 31042);
    OpenPort();
    const ModuleRecord module = Identify(1);
    const MeasuringStepResult result = Measure(module);
    EXPECT_TRUE(result.stored);
    EXPECT_EQ(result.busError, 0);
    EXPECT_EQ(store.Layout(), MeasLayout::kTwoValue);
    uint32_t stamp = 0;
    store.AppendRecord().GetValue(0, &stamp);
    EXPECT_EQ(stamp, kStamp);
    EXPECT_FLOAT_EQ(Float(1), 2450 * 0.01f);
    EXPECT_FLOAT_EQ(Float(2), 580 * 0.1f - 40.0f);

    ASSERT_EQ(store.RecordCount(), 1u);
    ASSERT_TRUE(store.ReadRecord(0));
    EXPECT_EQ(store.ReadRecordData().Pack(), store.AppendRecord().Pack());
}

TEST_F(MeasuringStepTest, ChannelOptionsAndFlaggedReadings) {
    AddSteadyProbe(1, 31042);
    bus->Modify(0, [](sim::ModuleState& m) { m.channels[1].signal.reset(); }); // channel 1 reports invalid
    OpenPort();
    const ModuleRecord module = Identify(1);
    struct Case {
        const char* name;
        ChannelOptions options;
        float value1;
        float value2;
    };
    ChannelOptions raw;
    raw.raw = {true, true};
    ChannelOptions unused;
    unused.use = {false, true};
    for (const Case& c : {Case{"converted", {}, 24.5f, 0.0f}, Case{"raw", raw, 2450.0f, 0.0f},
                          Case{"channel 0 unused", unused, 0.0f, 0.0f}}) {
        ASSERT_TRUE(Measure(module, c.options).stored) << c.name;
        EXPECT_FLOAT_EQ(Float(1), c.value1) << c.name;
        EXPECT_FLOAT_EQ(Float(2), c.value2) << c.name << ": a flagged reading is stored as 0";
    }
}

TEST_F(MeasuringStepTest, OneChannelProbeKeepsOnlyChannelZero) {
    AddSteadyProbe(1, 31042);
    bus->Modify(0, [](sim::ModuleState& m) { m.channels[1].measurementCount = 0; });
    OpenPort();
    const ModuleRecord module = Identify(1);
    ASSERT_EQ(module.dwMeasChannels, 1u);
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_EQ(store.Layout(), MeasLayout::kOneValue);
    EXPECT_EQ(store.AppendRecord().FieldCount(), 2);
    EXPECT_FLOAT_EQ(Float(1), 24.5f);
}

TEST_F(MeasuringStepTest, ProbeMeasuringOnChannelOneAloneKeepsChannelOne) {
    AddSteadyProbe(1, 31042);
    bus->Modify(0, [](sim::ModuleState& m) {
        m.channels[0].measurementCount = 0;
        m.channels[0].signal.reset();
    });
    OpenPort();
    const ModuleRecord module = Identify(1);
    ASSERT_EQ(module.dwMeasChannels, 2u);
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_EQ(store.Layout(), MeasLayout::kOneValue);
    EXPECT_FLOAT_EQ(Float(1), 18.0f) << "the value of the channel the file is titled with";
}

TEST_F(MeasuringStepTest, FailedProbeReadStoresTheBusErrorAsMarker) {
    AddSteadyProbe(1, 31042);
    OpenPort();
    const ModuleRecord module = Identify(1);
    struct Case {
        const char* name;
        std::function<void(sim::ModuleState&)> fault;
        uint16_t code;
    };
    for (const Case& c :
         {Case{"silent", [](sim::ModuleState& m) { m.faults.mute = true; }, kBusNoAnswer},
          Case{"measuring error 23", [](sim::ModuleState& m) { m.measuringError = 23; }, 323},
          Case{"not implemented", [](sim::ModuleState& m) { m.faults.status6 = {kCmdReadMeasuredValues}; },
               6}}) {
        bus->Modify(0, [](sim::ModuleState& m) {
            m.faults = {};
            m.measuringError = 0;
        });
        bus->Modify(0, c.fault);
        const MeasuringStepResult result = Measure(module);
        EXPECT_TRUE(result.stored) << c.name << ": the marker is a measurement too";
        EXPECT_EQ(result.busError, c.code) << c.name;
        EXPECT_EQ(Bits(1), ErrorMarkerBits(c.code)) << c.name;
        EXPECT_EQ(store.AppendRecord().Format(1), ErrorMarkerText(c.code)) << c.name;
        EXPECT_FLOAT_EQ(Float(2), 0.0f) << c.name;
    }
    EXPECT_EQ(store.RecordCount(), 3u);
}

TEST_F(MeasuringStepTest, XvModuleGivesStatisticsTemperatureAndCalibrationIds) {
    const size_t xv = AddSteadyXv(3, 40218);
    OpenPort();
    const ModuleRecord module = Identify(3);
    ASSERT_TRUE(module.bHasTDCSupport);
    const sim::ModuleState state = *bus->Module(xv);
    const uint16_t n1 =
        static_cast<uint16_t>(state.applicationParameters[4] | state.applicationParameters[5] << 8);
    ASSERT_GT(n1, 1);

    const MeasuringStepResult result = Measure(module);
    EXPECT_TRUE(result.stored);
    EXPECT_EQ(result.busError, 0);
    EXPECT_EQ(store.Layout(), MeasLayout::kXvWithTdc);
    const CMeasRecord& r = store.AppendRecord();
    uint8_t density = 0;
    r.GetValue(kXvDensity, &density);
    EXPECT_EQ(density, state.activeCalibration);
    EXPECT_NEAR(Float(kXvMoisture), 12.75f, 1e-4);
    EXPECT_NEAR(Float(kXvStdDev), 0.0f, 0.01) << "every averaged value is the same";
    EXPECT_FLOAT_EQ(Float(kXvError), 0.0f);
    EXPECT_EQ(Word(kXvN1), n1);
    EXPECT_EQ(Word(kXvN2), n1);
    EXPECT_EQ(Word(kXvDeltaN), 0);
    EXPECT_NEAR(Float(kXvTdrLevel), 0.842f, 1e-6);
    EXPECT_FLOAT_EQ(Float(kXvC0), 15.0f);
    EXPECT_NEAR(Float(kXvTemperature), 17.5f, 1e-5);
    EXPECT_EQ(Word(kXvMatId), state.material[state.activeCalibration].id);
    EXPECT_EQ(Word(kXvTempId), state.temperature[state.activeCalibration].id);
    EXPECT_EQ(store.RecordSize(), 39);
}

TEST_F(MeasuringStepTest, XvErrorFractionReportsTheCodeOfBlockA) {
    const size_t xv = AddSteadyXv(3, 40218);
    bus->Modify(xv, [](sim::ModuleState& m) {
        m.xv.errorFraction = 0.05f;
        m.xv.errorCode = 7;
        m.xv.rejected = 3;
    });
    OpenPort();
    const ModuleRecord module = Identify(3);
    const MeasuringStepResult result = Measure(module);
    EXPECT_TRUE(result.stored);
    EXPECT_EQ(result.busError, 0) << "a rejected average is no failed read";
    EXPECT_EQ(Bits(kXvMoisture), ErrorMarkerBits(307));
    EXPECT_FLOAT_EQ(Float(kXvError), 5.0f);
    EXPECT_FLOAT_EQ(Float(kXvStdDev), 0.0f);
    EXPECT_FLOAT_EQ(Float(kXvTemperature), 0.0f);
    EXPECT_EQ(Word(kXvDeltaN), 3);
    EXPECT_EQ(Word(kXvN2), Word(kXvN1) + 3);
}

TEST_F(MeasuringStepTest, XvFailedReadsLeaveMarkersAndZeros) {
    const size_t xv = AddSteadyXv(3, 40218);
    OpenPort();
    const ModuleRecord module = Identify(3);
    const sim::ModuleState state = *bus->Module(xv);

    // Measured values fail: no statistics are read, the calibrations still are (with the active index).
    bus->Modify(xv, [](sim::ModuleState& m) { m.measuringError = 12; });
    bus->ClearRequestLog();
    MeasuringStepResult result = Measure(module);
    EXPECT_TRUE(result.stored);
    EXPECT_EQ(result.busError, 312);
    EXPECT_EQ(Bits(kXvMoisture), ErrorMarkerBits(312));
    EXPECT_EQ(CountRequests(kCmdReadMeasBlockB), 0u);
    EXPECT_EQ(Word(kXvN1), 0);
    EXPECT_FLOAT_EQ(Float(kXvTdrLevel), 0.0f);
    EXPECT_EQ(Word(kXvMatId), state.material[state.activeCalibration].id);
    EXPECT_FLOAT_EQ(Float(kXvC0), 15.0f);

    // Block B fails: the calibration index falls back to 0.
    bus->Modify(xv, [](sim::ModuleState& m) {
        m.measuringError = 0;
        m.faults.status6 = {kCmdReadMeasBlockB};
    });
    result = Measure(module);
    EXPECT_EQ(result.busError, kBusNotImplemented);
    EXPECT_EQ(Bits(kXvMoisture), ErrorMarkerBits(kBusNotImplemented));
    uint8_t density = 99;
    store.AppendRecord().GetValue(kXvDensity, &density);
    EXPECT_EQ(density, 0);
    EXPECT_EQ(Word(kXvMatId), state.material[0].id);
    EXPECT_EQ(Word(kXvTempId), state.temperature[0].id);
    EXPECT_NEAR(Float(kXvTdrLevel), 0.842f, 1e-6) << "the measured values were read";

    // The active calibration cannot be read: 255 is stored, and no calibration is asked for at 255.
    bus->Modify(xv, [](sim::ModuleState& m) { m.faults.status6 = {kCmdReadActiveCalib}; });
    bus->ClearRequestLog();
    result = Measure(module);
    EXPECT_EQ(result.busError, kBusNotImplemented);
    store.AppendRecord().GetValue(kXvDensity, &density);
    EXPECT_EQ(density, kNoActiveCalib);
    EXPECT_NEAR(Float(kXvMoisture), 12.75f, 1e-4);
    EXPECT_EQ(CountRequests(kCmdReadMatCalib), 0u);
    EXPECT_EQ(Word(kXvMatId), 0);
    EXPECT_EQ(store.RecordCount(), 3u);
}

TEST_F(MeasuringStepTest, XvWithoutTdcSupportHasNoTemperatureFields) {
    const size_t xv = AddSteadyXv(3, 40218);
    bus->Modify(xv, [](sim::ModuleState& m) { m.hasTemperatureCalibrations = false; });
    OpenPort();
    const ModuleRecord module = Identify(3);
    ASSERT_FALSE(module.bHasTDCSupport);
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_EQ(store.Layout(), MeasLayout::kXv);
    EXPECT_EQ(store.RecordSize(), 31);
    EXPECT_NEAR(Float(kXvMoisture), 12.75f, 1e-4);
}

TEST(XvStatisticsTest, MeanAndSampleStandardDeviation) {
    struct Case {
        float sum;
        float sumOfSquares;
        uint16_t n1;
        float moisture;
        float stdDev;
    };
    for (const Case& c : {Case{0, 0, 0, 0, 0},               // nothing averaged
                          Case{7.5f, 56.25f, 1, 7.5f, 0},    // one value: no deviation
                          Case{10, 30, 4, 2.5f, 1.2909944f}, // 1, 2, 3, 4
                          Case{10, 20, 4, 2.5f, 0}}) {       // rounding made the variance negative
        const XvStatistics s = ComputeXvStatistics(c.sum, c.sumOfSquares, c.n1);
        EXPECT_FLOAT_EQ(s.moisture, c.moisture) << c.n1;
        EXPECT_FLOAT_EQ(s.stdDev, c.stdDev) << c.n1 << " " << c.sumOfSquares;
    }
}

TEST(XvStatisticsTest, ErrorCodeComesFromTheLastFlaggedPair) {
    std::array<uint8_t, kMeasBlockASize> block{};
    EXPECT_EQ(XvErrorCode(block), 0);
    block[2 * 2] = 4;
    block[2 * 2 + 1] = 1;
    EXPECT_EQ(XvErrorCode(block), 304);
    block[2 * 5] = 9;
    block[2 * 5 + 1] = 0x80;
    EXPECT_EQ(XvErrorCode(block), 309);
    block[14] = 0; // pair 7 flagged with code 0
    block[15] = 1;
    EXPECT_EQ(XvErrorCode(block), 300);
}

} // namespace
} // namespace terrix::test

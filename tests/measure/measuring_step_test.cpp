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
#include <tuple>

namespace terrix::test {
namespace {

constexpr uint32_t kStamp = 0x12345678;

using Change = std::function<void(sim::ModuleState&)>;

sim::SignalModel Constant(double value) {
    return sim::SignalModel{value, 0, 0, 0};
}

class MeasuringStepTest : public SimBusFixture {
protected:
    // A probe at station 1 with fixed readings: channel 0 24.5 (LSB 2450 at 0.01), channel 1 18.0 (LSB 580
    // at 0.1 - 40); `change` is applied before the port opens and the probe is identified.
    ModuleRecord SteadyProbe(const Change& change = nullptr) {
        AddProbe(1, 31042);
        bus->Modify(0, [](sim::ModuleState& m) {
            m.channels[0].sensor.zeroOffset = 0;
            m.channels[0].sensor.resolution = 0.01;
            m.channels[0].signal = Constant(24.5);
            m.channels[1].sensor.zeroOffset = -40;
            m.channels[1].sensor.resolution = 0.1;
            m.channels[1].signal = Constant(18.0);
        });
        return Start(1, change);
    }
    // The XV module at station 3 with fixed readings: moisture 12.75 in every averaged value, TDR level
    // 0.842, temperature 17.5.
    ModuleRecord SteadyXv(const Change& change = nullptr) {
        AddProbe(3, 40218, true);
        bus->Modify(0, [](sim::ModuleState& m) {
            m.channels[0].signal = Constant(12.75);
            m.channels[1].sensor.zeroOffset = 0;
            m.channels[1].sensor.resolution = 0.001;
            m.channels[1].signal = Constant(0.842);
            m.xv.temperature = Constant(17.5);
        });
        return Start(3, change);
    }
    ModuleRecord Start(uint8_t station, const Change& change) {
        if (change) {
            bus->Modify(0, change);
        }
        OpenPort();
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
    // A field of the record the step filled last, as it stands in the file.
    template <typename T> T Value(size_t field) {
        T value{};
        EXPECT_TRUE(store.AppendRecord().GetValue(field, &value)) << "field " << field;
        return value;
    }

    CMeasValueStore store;
};

TEST_F(MeasuringStepTest, ProbeValuesConvertedRawUnusedFlaggedOrFailed) {
    const ModuleRecord module = SteadyProbe();
    // Name, options, whether channel 1 reports its reading invalid (from this case on), the two values.
    const ChannelOptions raw{{true, true}, {true, true}};
    const std::tuple<const char*, ChannelOptions, bool, float, float> cases[] = {
        {"converted", {}, false, 24.5f, 18.0f},
        {"raw", raw, false, 2450.0f, 580.0f},
        {"channel 0 unused", {{false, true}, {false, false}}, false, 0.0f, 18.0f},
        {"channel 1 flagged", {}, true, 24.5f, 0.0f},
        {"channel 1 flagged, raw", raw, true, 2450.0f, 0.0f}};
    for (const auto& [name, options, flagChannel1, value1, value2] : cases) {
        if (flagChannel1) {
            bus->Modify(0, [](sim::ModuleState& m) { m.channels[1].signal.reset(); });
        }
        const MeasuringStepResult result = Measure(module, options);
        EXPECT_EQ(std::make_pair(result.stored, result.busError), std::make_pair(true, uint16_t{0})) << name;
        EXPECT_EQ(Value<uint32_t>(0), kStamp) << name;
        EXPECT_FLOAT_EQ(Value<float>(1), value1) << name;
        EXPECT_FLOAT_EQ(Value<float>(2), value2) << name;
    }
    EXPECT_EQ(store.Layout(), MeasLayout::kTwoValue);
    ASSERT_TRUE(store.ReadRecord(std::size(cases) - 1));
    EXPECT_EQ(store.ReadRecordData().Pack(), store.AppendRecord().Pack());

    // A failed read stores the bus error as a marker: the marker is a measurement too.
    const std::tuple<const char*, Change, uint16_t> failures[] = {
        {"silent", [](sim::ModuleState& m) { m.faults.mute = true; }, kBusNoAnswer},
        {"measuring error 23", [](sim::ModuleState& m) { m.measuringError = 23; }, 323},
        {"not implemented", [](sim::ModuleState& m) { m.faults.status6 = {kCmdReadMeasuredValues}; }, 6},
    };
    for (const auto& [name, fault, code] : failures) {
        bus->Modify(0, [](sim::ModuleState& m) {
            m.faults = {};
            m.measuringError = 0;
            m.channels[1].signal = Constant(18.0);
        });
        bus->Modify(0, fault);
        const MeasuringStepResult result = Measure(module);
        EXPECT_EQ(std::make_pair(result.stored, result.busError), std::make_pair(true, code)) << name;
        EXPECT_EQ(Value<uint32_t>(1), ErrorMarkerBits(code)) << name;
        EXPECT_FLOAT_EQ(Value<float>(2), 0.0f) << name;
    }
}

TEST_F(MeasuringStepTest, OneChannelProbeKeepsOnlyChannelZero) {
    const ModuleRecord module = SteadyProbe([](sim::ModuleState& m) { m.channels[1].measurementCount = 0; });
    ASSERT_EQ(module.dwMeasChannels, 1u);
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_EQ(store.Layout(), MeasLayout::kOneValue);
    EXPECT_FLOAT_EQ(Value<float>(1), 24.5f);
}

TEST_F(MeasuringStepTest, ProbeMeasuringOnChannelOneAloneKeepsChannelOne) {
    const ModuleRecord module = SteadyProbe([](sim::ModuleState& m) {
        m.channels[0].measurementCount = 0;
        m.channels[0].signal.reset();
    });
    ASSERT_EQ(module.dwMeasChannels, 2u);
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_EQ(store.Layout(), MeasLayout::kOneValue);
    EXPECT_FLOAT_EQ(Value<float>(1), 18.0f) << "the value of the channel the file is titled with";
}

// The density (active calibration), n1, c0, calibration IDs and the measured values are checked on the
// files terrix-cli measures (e2e); the statistics of a steady signal and of a rejected average stay here.
TEST_F(MeasuringStepTest, XvStatisticsOfASteadySignalAndTheErrorCodeOfBlockA) {
    const ModuleRecord module = SteadyXv();
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_NEAR(Value<float>(kXvStdDev), 0.0f, 0.01) << "every averaged value is the same";
    EXPECT_FLOAT_EQ(Value<float>(kXvError), 0.0f);
    EXPECT_NEAR(Value<float>(kXvTemperature), 17.5f, 1e-5);

    bus->Modify(0, [](sim::ModuleState& m) {
        m.xv.errorFraction = 0.05f;
        m.xv.errorCode = 7;
        m.xv.rejected = 3;
    });
    const MeasuringStepResult result = Measure(module);
    EXPECT_EQ(std::make_pair(result.stored, result.busError), std::make_pair(true, uint16_t{0}))
        << "a rejected average is no failed read";
    EXPECT_EQ(Value<uint32_t>(kXvMoisture), ErrorMarkerBits(307));
    EXPECT_FLOAT_EQ(Value<float>(kXvError), 5.0f);
    EXPECT_EQ(std::make_tuple(Value<float>(kXvStdDev), Value<float>(kXvTemperature),
                              Value<uint16_t>(kXvDeltaN), Value<uint16_t>(kXvN2) - Value<uint16_t>(kXvN1)),
              std::make_tuple(0.0f, 0.0f, 3, 3));
}

TEST_F(MeasuringStepTest, XvFailedReadsLeaveMarkersAndZeros) {
    const ModuleRecord module = SteadyXv();
    const sim::ModuleState state = *bus->Module(0);

    // Measured values fail: no statistics are read, the calibrations still are (with the active index).
    bus->Modify(0, [](sim::ModuleState& m) { m.measuringError = 12; });
    bus->ClearRequestLog();
    MeasuringStepResult result = Measure(module);
    EXPECT_EQ(std::make_pair(result.stored, result.busError), std::make_pair(true, uint16_t{312}));
    EXPECT_EQ(std::make_tuple(Value<uint32_t>(kXvMoisture), CountRequests(kCmdReadMeasBlockB),
                              Value<uint16_t>(kXvN1), Value<float>(kXvTdrLevel), Value<uint16_t>(kXvMatId),
                              Value<float>(kXvC0)),
              std::make_tuple(ErrorMarkerBits(312), 0u, 0, 0.0f, state.material[state.activeCalibration].id,
                              15.0f));

    // Block B fails: the calibration index falls back to 0.
    bus->Modify(0, [](sim::ModuleState& m) {
        m.measuringError = 0;
        m.faults.status6 = {kCmdReadMeasBlockB};
    });
    result = Measure(module);
    EXPECT_EQ(std::make_tuple(result.busError, Value<uint32_t>(kXvMoisture), Value<uint8_t>(kXvDensity),
                              Value<uint16_t>(kXvMatId), Value<uint16_t>(kXvTempId)),
              std::make_tuple(kBusNotImplemented, ErrorMarkerBits(kBusNotImplemented), 0,
                              state.material[0].id, state.temperature[0].id));
    EXPECT_NEAR(Value<float>(kXvTdrLevel), 0.842f, 1e-6) << "the measured values were read";

    // The active calibration cannot be read: 255 is stored, and no calibration is asked for at 255.
    bus->Modify(0, [](sim::ModuleState& m) { m.faults.status6 = {kCmdReadActiveCalib}; });
    bus->ClearRequestLog();
    result = Measure(module);
    EXPECT_NEAR(Value<float>(kXvMoisture), 12.75f, 1e-4);
    EXPECT_EQ(std::make_tuple(result.busError, Value<uint8_t>(kXvDensity), CountRequests(kCmdReadMatCalib),
                              Value<uint16_t>(kXvMatId), store.RecordCount()),
              std::make_tuple(kBusNotImplemented, kNoActiveCalib, 0u, 0, 3u));
}

TEST_F(MeasuringStepTest, XvWithoutTdcSupportHasNoTemperatureFields) {
    const ModuleRecord module = SteadyXv([](sim::ModuleState& m) { m.hasTemperatureCalibrations = false; });
    ASSERT_FALSE(module.bHasTDCSupport);
    ASSERT_TRUE(Measure(module).stored);
    EXPECT_EQ(store.Layout(), MeasLayout::kXv);
    EXPECT_NEAR(Value<float>(kXvMoisture), 12.75f, 1e-4);
}

TEST(XvStatisticsTest, MeanAndSampleStandardDeviation) {
    // Sum, sum of squares, n1, the mean and the standard deviation.
    using Row = std::tuple<float, float, uint16_t, float, float>;
    for (const auto& [sum, sumOfSquares, n1, moisture, stdDev] :
         {Row{0, 0, 0, 0, 0},               // nothing averaged
          Row{7.5f, 56.25f, 1, 7.5f, 0},    // one value
          Row{10, 30, 4, 2.5f, 1.2909944f}, // 1, 2, 3, 4
          Row{10, 20, 4, 2.5f, 0}}) {       // a negative variance
        const XvStatistics s = ComputeXvStatistics(sum, sumOfSquares, n1);
        EXPECT_FLOAT_EQ(s.moisture, moisture) << n1;
        EXPECT_FLOAT_EQ(s.stdDev, stdDev) << n1 << " " << sumOfSquares;
    }
}

TEST(XvStatisticsTest, ErrorCodeComesFromTheLastFlaggedPair) {
    std::array<uint8_t, kMeasBlockASize> block{};
    EXPECT_EQ(XvErrorCode(block), 0);
    // pair, code, flag byte, then the code of the whole block; pair 7 is flagged with code 0
    const std::tuple<size_t, uint8_t, uint8_t, uint16_t> flags[] = {
        {2, 4, 1, 304}, {5, 9, 0x80, 309}, {7, 0, 1, 300}};
    for (const auto& [pair, code, flag, expected] : flags) {
        block[2 * pair] = code;
        block[2 * pair + 1] = flag;
        EXPECT_EQ(XvErrorCode(block), expected) << pair;
    }
}

} // namespace
} // namespace terrix::test

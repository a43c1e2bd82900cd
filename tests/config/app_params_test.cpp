#include "core/config/app_params.h"
#include "core/config/module_stations.h"

#include "inventory/inventory_test_util.h"
#include "sim_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace terrix::test {
namespace {

// 20 s averaging, 7 s Error66 delay and 10 s queue times are converted by ConfigE2eTest (e2e).
TEST(AppParamsConversionTest, SecondsAndCountsEntriesThatDoNotFitAndTheLittleEndianBlock) {
    // Both directions with R(x) = floor(x + 0.5): 2.5 rounds up, 0.4 down.
    EXPECT_EQ(std::make_tuple(Error66SecondsFromUnits(1), QueueSecondsFromCount(25), QueueCountFromSeconds(1),
                              QueueSecondsFromCount(1), OffsetBlockFromPercent(1.5),
                              OffsetPercentFromBlock(15.0f)),
              std::make_tuple(4u, 10u, 3u, 0u, 15.0f, 1.5));

    // The entries, whether they fit, the field a refusal names.
    const std::tuple<AppParamsSeconds, bool, const char*> cases[] = {
        {{0, kMaxAveragingSeconds, kMaxError66Seconds, kMaxQueueSeconds, kMaxQueueSeconds}, true, ""},
        {{0, kMaxAveragingSeconds + 1, 0, 0, 0}, false, "Averaging Time"},
        {{0, 0, kMaxError66Seconds + 1, 0, 0}, false, "Error66 Delay"},
        {{0, 0, 0, kMaxQueueSeconds + 1, 0}, false, "Queue-Full Time"},
        {{0, 0, 0, 0, UINT64_MAX}, false, "Queue-Empty Time"},
        {{1e300, 0, 0, 0, 0}, false, "offset"},
    };
    for (const auto& [seconds, fits, field] : cases) {
        AppParams params;
        params.wAveraging = 7;
        std::string error;
        EXPECT_EQ(BlockFromSeconds(seconds, params, error), fits) << field;
        if (!fits) {
            EXPECT_NE(error.find(field), std::string::npos) << error;
            EXPECT_EQ(params.wAveraging, 7) << "left unchanged";
        }
    }
    AppParams params;
    std::string error;
    ASSERT_TRUE(BlockFromSeconds({1.5, kMaxAveragingSeconds, kMaxError66Seconds, 102, 10}, params, error));
    EXPECT_EQ(params, (AppParams{15.0f, 65535, 65535, 255, 25}));

    // The block is little-endian.
    const AppParams block{15.0f, 0x1234, 0xABCD, 200, 7};
    const AppParamsBlock bytes = block.ToBytes();
    EXPECT_EQ(bytes, (AppParamsBlock{0x00, 0x00, 0x70, 0x41, 0x34, 0x12, 0xCD, 0xAB, 200, 7}));
    EXPECT_EQ(AppParams::FromBytes(bytes), block);
}

TEST(XvModuleStationsTest, OnlyXvModulesAreTakenAndTheOthersNamed) {
    struct Entry {
        uint8_t station;
        ModuleState state;
        uint16_t serial;
        bool tavik;
        bool xv;
    };
    const Entry entries[] = {
        {1, msIdentified, 101, true, false}, // plain Tavik probe: no calibration commands
        {3, msCollision, kNoSerial, false, false},
        {4, msNotIdentified, 104, false, true},    // loaded from the saved bus: read before it is written
        {5, msFailed, 105, false, true},           // fatal module error at identification
        {6, msIdentified, kNoSerial, false, true}, // placeholder with the flag left over
        {7, msIdentified, 107, false, true},
        {252, msIdentified, 252, false, false}, // the multiplexer
    };
    CBusList list;
    EXPECT_TRUE(XvModuleStations(list).stations.empty());
    for (const Entry& e : entries) {
        auto record = testing::MakeRecord(e.serial, e.station, e.state);
        record->bIsTavikButNotXV = e.tavik ? 1 : 0;
        record->bIsTavikXV = e.xv ? 1 : 0;
        list.Add(std::move(record));
    }
    const XvModuleSelection selection = XvModuleStations(list);
    EXPECT_EQ(selection.stations, (std::vector<uint8_t>{4, 7}));
    std::vector<uint8_t> skipped;
    for (const ModuleRecord* record : selection.skipped) {
        skipped.push_back(record->iaStation);
    }
    EXPECT_EQ(skipped, (std::vector<uint8_t>{1, 5, 252}));
}

class AppParamsBusTest : public SimBusTest {};

// Writing and reading one module's block is checked by ConfigE2eTest.ParameterFileRoundTrip (e2e).
TEST_F(AppParamsBusTest, SetAllOffsetsStopsAtTheFirstFailure) {
    const size_t second = bus->AddModule(sim::MakeProbe(5, 4712, true));
    bus->AddModule(sim::MakeProbe(6, 4713, true));
    ASSERT_TRUE(WriteAppParams(port, 5, AppParams{-12.5f, 2, 3, 4, 5}));
    AppParams read;
    EXPECT_FALSE(ReadAppParams(port, 9, read)) << "nobody at station 9";

    const std::vector<uint8_t> stations = {3, 5, 6};
    ASSERT_TRUE(SetAllOffsetsAndAveTime(port, stations, 15.0f, 26));
    ASSERT_TRUE(ReadAppParams(port, 5, read));
    EXPECT_EQ(read, (AppParams{15.0f, 26, 3, 4, 5}));

    bus->Modify(second, [](sim::ModuleState& m) { m.faults.mute = true; });
    size_t failed = 99;
    EXPECT_FALSE(SetAllOffsetsAndAveTime(port, stations, 20.0f, 30, &failed));
    EXPECT_EQ(failed, 1u);
    ASSERT_TRUE(ReadAppParams(port, 3, read));
    EXPECT_EQ(read.wAveraging, 30); // before the failing module: changed
    ASSERT_TRUE(ReadAppParams(port, 6, read));
    EXPECT_EQ(read.wAveraging, 26); // after it: unchanged
}

} // namespace
} // namespace terrix::test

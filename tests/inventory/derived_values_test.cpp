#include "core/inventory/conversion_time.h"
#include "core/inventory/module_kind.h"
#include "core/inventory/record_values.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"
#include "inventory_test_util.h"

#include <gtest/gtest.h>

#include <tuple>

namespace terrix {
namespace {

TEST(ModuleRecordWire, StationInfoAndAnalogCfgBlocksByteForByte) {
    std::array<uint8_t, kStationInfoSize> block{};
    const uint8_t head[] = {0x34, 0x12, 0x78, 0x56, 0x9A, 11, 0x60, 0, 0xFA, 0, 10, 0, 0x32, 1, 2, 'A', 'B'};
    std::copy(std::begin(head), std::end(head), block.begin());
    const uint8_t cfg[7] = {1, 2, 3, 4, 5, 6, 7};
    ModuleRecord r;
    r.stationInfo = StationInfo::FromBytes(block);
    r.analogCfg1 = AnalogCfg::FromBytes(cfg);
    r.bHasAnalogCfg1 = 1;
    ModuleRecord expected;
    expected.stationInfo = {4660, 22136, 154, 11, 96, 250, 10, 306};
    expected.bHasAnalogCfg1 = 1;
    expected.analogCfg1 = {1, 2, 3, 4, 5, 6, 7};
    expected.stationInfo.SetModuleName("AB");
    EXPECT_EQ(testing::AsModuleFile(r), testing::AsModuleFile(expected));
    EXPECT_EQ(r.stationInfo.ToBytes(), block);
    uint8_t back[7] = {};
    r.analogCfg1.ToBytes(back);
    EXPECT_TRUE(std::equal(std::begin(back), std::end(back), std::begin(cfg)));
    // A name without its terminator is cut at the end of the field.
    std::fill(block.begin() + StationInfo::kOffsetName, block.end(), 'x');
    EXPECT_EQ(StationInfo::FromBytes(block).ModuleName(), std::string(254, 'x'));
}

TEST(ConversionTime, XvModuleFollowsCountOtherModulesMeasTime) {
    // count, XV flag, dwMeasTime, ms, s. The XV product is count x 0.01262 x 60000 in double, truncated; a
    // failed count read (all bits set) is held at the top instead of overflowing.
    const std::tuple<uint32_t, bool, uint32_t, uint32_t, uint32_t> rows[] = {
        {1000, true, 5, 757200, 758},
        {1, true, 5, 757, 1},
        {10, true, 5, 7571, 8},
        {0, true, 5, 0, 0},
        {99999, true, 5, 75719242, 75720},
        {0xFFFFFFFFu, true, 5, 0xFFFFFFFFu, 4294968},
        {1000, false, 2001, 2001, 3},
        {1000, false, 3000, 3000, 3},
    };
    for (const auto& [count, xv, measTime, ms, sec] : rows) {
        ModuleRecord r;
        r.bIsTavikXV = xv ? 1 : 0;
        r.dwNumberOfMeas0 = count;
        r.dwMeasTime = measTime;
        EXPECT_EQ(std::pair(ConversionTimeMs(&r), ConversionTimeSec(&r)), std::pair(ms, sec)) << count;
    }
    EXPECT_EQ(std::make_tuple(ConversionTimeMs(nullptr), ConversionTimeSec(nullptr)),
              std::make_tuple(0u, 0u));
}

TEST(RecordValues, ChannelMaskUnitsMeasurementsAndFirmwareText) {
    ModuleRecord r;
    r.dwNumberOfMeas1 = 5;
    RecomputeMeasChannels(r);
    EXPECT_EQ(r.dwMeasChannels, 2u);
    const auto measured = [&r] {
        return std::make_tuple(ChannelHasMeasurements(r, 0), ChannelHasMeasurements(r, 1),
                               ChannelHasMeasurements(r, 2));
    };
    EXPECT_EQ(measured(), std::make_tuple(false, true, false));
    EXPECT_EQ(MeasChannelsFor(1, 0xFFFFFFFFu), 3u);

    r.sensorData0.yUnitCode = 25;
    r.sensorData1.yUnitCode = 20;
    EXPECT_EQ(ChannelUnitCode(r, 0), 0); // no sensor data read
    r.bHasSensorData = 1;
    EXPECT_EQ(std::make_tuple(ChannelUnitCode(r, 0), ChannelUnitCode(r, 1), ChannelUnitCode(r, 2)),
              std::make_tuple(25, 20, 0));

    r.bIsTavikXV = 1;
    EXPECT_EQ(measured(), std::make_tuple(true, true, false));
    EXPECT_EQ(FirmwareText(0x1312) + "|" + FirmwareText(0x0000) + "|" + FirmwareText(0xFFFF),
              "1.2 A.3|0.0 @.0|15.15 O.15");
}

TEST(ModuleKind, FlagsByName) {
    // name, bIsTavikXV, bIsTavikButNotXV, multiplexer
    const std::tuple<const char*, int, int, bool> rows[] = {
        {"PX-TAVIK2XV", 1, 0, false}, {"px-tavik2xv", 1, 0, false},  {"PX-TAVIK2", 0, 1, false},
        {"Px-Tavik1", 0, 1, false},   {"PX-TAVIK2XVZ", 0, 1, false}, {"PX-TAVI", 0, 0, false},
        {"PX-ROV4", 0, 0, true},      {"px-rov4", 0, 0, false},      {"", 0, 0, false},
    };
    for (const auto& [name, xv, tavikNotXv, multiplexer] : rows) {
        ModuleRecord r;
        r.bIsTavikXV = r.bIsTavikButNotXV = 7;
        r.stationInfo.SetModuleName(name);
        SetModuleKindFlags(r);
        EXPECT_EQ(r.bIsTavikXV, xv) << name;
        EXPECT_EQ(r.bIsTavikButNotXV, tavikNotXv) << name;
        EXPECT_EQ(IsMultiplexerName(name), multiplexer) << name;
    }
}

TEST(ComputeMeasTime, ByModuleIdNameCountsAndLinearisation) {
    // yModuleId, name, dwNumberOfMeas0, dwNumberOfMeas1, yHasLinearisation of AnalogCfg0, dwMeasTime
    const std::tuple<uint8_t, const char*, uint32_t, uint32_t, uint8_t, uint32_t> rows[] = {
        {6, "any", 10, 5, 0, 610},
        {6, "any", 10, 5, 1, 410},
        {11, "PX-TAVIK2ZUZ", 2, 9, 0, 48600}, // channel 1 not counted
        {11, "px-tavik2zuz", 2, 0, 1, 48400},
        {11, "PX-TAVIK1", 3, 0, 0, 900 * 3 + 9000},
        {11, "PX-TAVIK2", 4, 4, 0, 1300 * 4 + 1000},
        {11, "PX-TAVIK2XV", 500, 40, 0, 660}, // one measurement counts
        {11, "PX-TAVIK2XV", 500, 40, 1, 630},
        {11, "PX-TAVIK3", 500, 40, 0, 0},
        {10, "any", 2, 3, 0, 55 * 5 + 140},
        {12, "any", 2, 3, 0, 5},
        {14, "any", 1, 1, 0, 938 * 2 + 400},
        {15, "any", 1, 1, 1, 18 * 2 + 200},
        {16, "di-rivov2-B", 2, 5, 0, 1300 * 2 + 1000}, // the first 9 characters decide
        {16, "DI-RIVOV1", 2, 5, 0, 900 * 2 + 9000},
        {4, "any", 9, 9, 0, 0},
        {9, "any", 9, 9, 0, 0},
        {13, "any", 9, 9, 0, 0},
        {6, "any", 0xFFFFFFFFu, 0, 0, 18u * 0xFFFFFFFFu + 340}, // 32-bit wrap
    };
    for (const auto& [moduleId, name, meas0, meas1, linearised, expected] : rows) {
        ModuleRecord r;
        r.dwNumberOfMeas0 = meas0;
        r.dwNumberOfMeas1 = meas1;
        r.stationInfo.yModuleId = moduleId;
        r.stationInfo.SetModuleName(name);
        r.analogCfg0.yHasLinearisation = linearised;
        EXPECT_EQ(ComputeMeasTime(r), expected) << int(moduleId) << " " << name;
    }
}

TEST(UnitNameAndStoredText, TableCodePageAndLineBreaks) {
    // The table's first and last entries, and the codes past it.
    EXPECT_EQ(UnitName(0) + "|" + UnitName(36) + "|" + UnitName(37) + "|" + UnitName(255), "-|\xB0\x46||");
    EXPECT_EQ(Cp1252ToUtf8(UnitName(26)), "W/m\u00B2");
    const std::string cp1252 = "M\xFCller \x80 \x81";
    const std::string utf8 = "M\u00FCller \u20AC \u0081";
    EXPECT_EQ(std::make_pair(Cp1252ToUtf8(cp1252), Utf8ToCp1252(utf8)), std::make_pair(utf8, cp1252));
    EXPECT_EQ(Utf8ToCp1252("\u4E2D\xFF\x61\xC3"), "??a?"); // a character outside the code page, broken UTF-8
    EXPECT_EQ(EncodeLineBreaks("a\r\nb\nc\rd"), "a\\nb\\nc\\nd");
    EXPECT_EQ(DecodeLineBreaks("a\\nb\\"), "a\nb\\");
}

} // namespace
} // namespace terrix

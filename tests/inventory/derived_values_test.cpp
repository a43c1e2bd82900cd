#include "core/inventory/conversion_time.h"
#include "core/inventory/module_kind.h"
#include "core/inventory/record_values.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"

#include <gtest/gtest.h>

namespace terrix {
namespace {

ModuleRecord XvRecord(uint32_t count) {
    ModuleRecord r;
    r.stationInfo.SetModuleName("PX-TAVIK2XV");
    SetModuleKindFlags(r);
    r.dwNumberOfMeas0 = count;
    r.dwMeasTime = 12345; // not used for the XV module
    return r;
}

TEST(ConversionTime, XvModuleFollowsCountInDoublePrecisionOrder) {
    struct Row {
        uint32_t count;
        uint32_t ms;
        uint32_t sec;
    };
    const Row rows[] = {{1000, 757200, 758}, {1, 757, 1}, {10, 7571, 8}, {0, 0, 0}, {99999, 75719242, 75720}};
    for (const Row& row : rows) {
        const ModuleRecord r = XvRecord(row.count);
        EXPECT_EQ(ConversionTimeMs(&r), row.ms) << row.count;
        EXPECT_EQ(ConversionTimeSec(&r), row.sec) << row.count;
    }
}

TEST(ConversionTime, FailedCountReadIsHeldAtTheTopInsteadOfOverflowing) {
    const ModuleRecord r = XvRecord(0xFFFFFFFFu);
    EXPECT_EQ(ConversionTimeMs(&r), 0xFFFFFFFFu);
    EXPECT_EQ(ConversionTimeSec(&r), 4294968u);
}

TEST(ConversionTime, OtherModulesUseMeasTimeAndMissingRecordIsZero) {
    ModuleRecord r;
    r.dwMeasTime = 2001;
    r.dwNumberOfMeas0 = 1000;
    EXPECT_EQ(ConversionTimeMs(&r), 2001u);
    EXPECT_EQ(ConversionTimeSec(&r), 3u);
    r.dwMeasTime = 3000;
    EXPECT_EQ(ConversionTimeSec(&r), 3u);
    EXPECT_EQ(ConversionTimeMs(nullptr), 0u);
    EXPECT_EQ(ConversionTimeSec(nullptr), 0u);
}

TEST(RecordValues, ChannelMaskUnitsAndMeasurements) {
    ModuleRecord r;
    r.dwNumberOfMeas0 = 0;
    r.dwNumberOfMeas1 = 5;
    RecomputeMeasChannels(r);
    EXPECT_EQ(r.dwMeasChannels, 2u);
    EXPECT_FALSE(ChannelHasMeasurements(r, 0));
    EXPECT_TRUE(ChannelHasMeasurements(r, 1));
    EXPECT_FALSE(ChannelHasMeasurements(r, 2));
    EXPECT_EQ(MeasChannelsFor(1, 0xFFFFFFFFu), 3u);

    r.sensorData0.yUnitCode = 25;
    r.sensorData1.yUnitCode = 20;
    EXPECT_EQ(ChannelUnitCode(r, 0), 0); // no sensor data read
    r.bHasSensorData = 1;
    EXPECT_EQ(ChannelUnitCode(r, 0), 25);
    EXPECT_EQ(ChannelUnitCode(r, 1), 20);
    EXPECT_EQ(ChannelUnitCode(r, 2), 0);

    const ModuleRecord xv = XvRecord(0);
    EXPECT_TRUE(ChannelHasMeasurements(xv, 0));
    EXPECT_TRUE(ChannelHasMeasurements(xv, 1));
    EXPECT_FALSE(ChannelHasMeasurements(xv, 2));
}

TEST(RecordValues, FirmwareText) {
    EXPECT_EQ(FirmwareText(0x1312), "1.2 A.3");
    EXPECT_EQ(FirmwareText(0x0000), "0.0 @.0");
    EXPECT_EQ(FirmwareText(0xFFFF), "15.15 O.15");
    EXPECT_EQ(FirmwareText(0x2A57), "5.7 B.10");
}

TEST(ModuleKind, FlagsByName) {
    struct Row {
        const char* name;
        int xv;
        int tavikNotXv;
        bool multiplexer;
    };
    const Row rows[] = {
        {"PX-TAVIK2XV", 1, 0, false}, {"px-tavik2xv", 1, 0, false},  {"PX-TAVIK2", 0, 1, false},
        {"Px-Tavik1", 0, 1, false},   {"PX-TAVIK2XVZ", 0, 1, false}, {"PX-TAVI", 0, 0, false},
        {"PX-ROV4", 0, 0, true},      {"px-rov4", 0, 0, false},      {"", 0, 0, false},
    };
    for (const Row& row : rows) {
        ModuleRecord r;
        r.bIsTavikXV = 7;
        r.bIsTavikButNotXV = 7;
        r.stationInfo.SetModuleName(row.name);
        SetModuleKindFlags(r);
        EXPECT_EQ(r.bIsTavikXV, row.xv) << row.name;
        EXPECT_EQ(r.bIsTavikButNotXV, row.tavikNotXv) << row.name;
        EXPECT_EQ(IsMultiplexerName(row.name), row.multiplexer) << row.name;
    }
}

TEST(ComputeMeasTime, Table) {
    struct Row {
        uint8_t moduleId;
        const char* name;
        uint32_t meas0;
        uint32_t meas1;
        uint8_t linearised;
        uint32_t expected;
    };
    const Row rows[] = {
        {6, "any", 10, 5, 0, 18 * 15 + 140 + 200},              // 610
        {6, "any", 10, 5, 1, 18 * 15 + 140},                    // 410
        {11, "PX-TAVIK2ZUZ", 2, 9, 0, 48600},                   // channel 1 not counted
        {11, "px-tavik2zuz", 2, 0, 1, 48400},                   // case ignored, no C with linearisation
        {11, "PX-TAVIK1", 3, 0, 0, 900 * 3 + 200 + 200 + 8600}, //
        {11, "PX-TAVIK2", 4, 4, 0, 1300 * 4 + 1000},            //
        {11, "PX-TAVIK2XV", 500, 40, 0, 660},                   // counts as one measurement
        {11, "PX-TAVIK2XV", 500, 40, 1, 630},                   //
        {11, "PX-TAVIK3", 500, 40, 0, 0},                       // unknown Tavik
        {10, "any", 2, 3, 0, 55 * 5 + 140},                     //
        {12, "any", 2, 3, 0, 5},                                //
        {14, "any", 1, 1, 0, 938 * 2 + 400},                    //
        {15, "any", 1, 1, 1, 18 * 2 + 200},                     //
        {16, "DI-RIVOV2-B", 2, 5, 0, 1300 * 2 + 1000},          // first 9 characters decide
        {16, "di-rivov2", 2, 5, 0, 1300 * 2 + 1000},            //
        {16, "DI-RIVOV1", 2, 5, 0, 900 * 2 + 9000},             //
        {0, "any", 9, 9, 0, 0},                                 //
        {4, "any", 9, 9, 0, 0},                                 //
        {9, "any", 9, 9, 0, 0},                                 //
        {5, "any", 9, 9, 0, 0},                                 //
        {13, "any", 9, 9, 0, 0},                                //
        {255, "any", 9, 9, 0, 0},                               //
        {6, "any", 0xFFFFFFFFu, 0, 0, 18u * 0xFFFFFFFFu + 340}, // 32-bit wrap of a failed count read
    };
    for (const Row& row : rows) {
        ModuleRecord r;
        r.stationInfo.yModuleId = row.moduleId;
        r.stationInfo.SetModuleName(row.name);
        r.dwNumberOfMeas0 = row.meas0;
        r.dwNumberOfMeas1 = row.meas1;
        r.analogCfg0.yHasLinearisation = row.linearised;
        EXPECT_EQ(ComputeMeasTime(r), row.expected) << int(row.moduleId) << " " << row.name;
    }
}

TEST(UnitName, TableAndOutside) {
    EXPECT_EQ(UnitName(0), "-");
    EXPECT_EQ(UnitName(7), "Ohm");
    EXPECT_EQ(UnitName(20), "\xB0"
                            "C");
    EXPECT_EQ(UnitName(25), "%");
    EXPECT_EQ(UnitName(35), "mol/m\xB2s");
    EXPECT_EQ(UnitName(36), "\xB0"
                            "F");
    EXPECT_EQ(UnitName(37), "");
    EXPECT_EQ(UnitName(128), "");
    EXPECT_EQ(Cp1252ToUtf8(UnitName(26)), "W/m\u00B2");
}

TEST(StoredText, CodePageAndLineBreaks) {
    EXPECT_EQ(Cp1252ToUtf8("M\xFC"
                           "ller \x80 \x81"),
              "M\u00FCller \u20AC \u0081");
    EXPECT_EQ(Utf8ToCp1252("M\u00FCller \u20AC \u0081"), "M\xFC"
                                                         "ller \x80 \x81");
    EXPECT_EQ(Utf8ToCp1252("\u4E2D\xFF"
                           "a\xC3"),
              "??a?");
    EXPECT_EQ(EncodeLineBreaks("a\r\nb\nc\rd"), "a\\nb\\nc\\nd");
    EXPECT_EQ(DecodeLineBreaks("a\\nb\\"), "a\nb\\");
}

} // namespace
} // namespace terrix

// Records and their layouts: field order, packed bytes, titles and text lines.

#include <gtest/gtest.h>

#include <tuple>

#include "core/measure/meas_layouts.h"
#include "core/measure/time_stamp.h"
#include "measure_test_util.h"

namespace terrix {
namespace {

TEST(MeasLayout, ChosenFromTheModuleAndNothingPastTheLastField) {
    const std::tuple<const char*, uint32_t, bool, MeasLayout, uint16_t, uint16_t> cases[] = {
        {"PX-TAVIK2", 1, false, MeasLayout::kOneValue, 2, 8},
        {"PX-TAVIK2", 2, false, MeasLayout::kOneValue, 2, 8},
        {"PX-TAVIK2", 3, false, MeasLayout::kTwoValue, 3, 12},
        {"PX-TAVIK2", 0, false, MeasLayout::kTwoValue, 3, 12},
        {"PX-TAVIK2XV", 1, false, MeasLayout::kXv, 10, 31},
        {"PX-TAVIK2XV", 0, true, MeasLayout::kXvWithTdc, 13, 39},
        // Letter case counts for the layout, and a longer name is another module.
        {"px-tavik2xv", 1, true, MeasLayout::kOneValue, 2, 8},
        {"PX-TAVIK2XV-B", 3, true, MeasLayout::kTwoValue, 3, 12},
    };
    for (const auto& [name, mask, tdc, expected, fields, size] : cases) {
        const ModuleRecord module = test::MakeModule(100, name, mask, tdc);
        const MeasLayout layout = ChooseLayout(module);
        EXPECT_EQ(layout, expected) << name << " mask " << mask;
        const CMeasRecord record = MakeRecord(layout);
        EXPECT_EQ(std::make_tuple(record.FieldCount(), record.GetSize(), RecordSizeOf(layout)),
                  std::make_tuple(fields, size, size))
            << name;
    }

    // The titles and formats of the XV fields show in the title and text lines of the packing test below.
    CMeasRecord record = MakeRecord(MeasLayout::kXvWithTdc);
    // Empty title and text; setting does nothing.
    EXPECT_FALSE(record.SetFloat(13, 1.0f));
    record.SetTitle(13, "x");
    EXPECT_EQ(record.GetTitle(13) + record.GetText(13) + record.Format(13), "");

    CMeasRecord withoutTdc = MakeRecord(MeasLayout::kXv);
    EXPECT_FALSE(withoutTdc.SetFloat(kXvTemperature, 21.5f)) << "the field does not exist without TDC";
    EXPECT_FALSE(withoutTdc.SetWord(kXvMatId, 5));
}

TEST(MeasRecord, TwoValueRecordPacksLittleEndian) {
    CMeasRecord record = MakeRecord(MeasLayout::kTwoValue);
    ASSERT_TRUE(record.SetStamp(0, PackTimeStamp({5, 3, 2004, 14, 7, 9})));
    ASSERT_TRUE(record.SetFloat(1, 1.5f));    // 0x3FC00000
    ASSERT_TRUE(record.SetErrorMarker(2, 9)); // 0x7F800009
    const std::vector<uint8_t> bytes = record.Pack();
    // The stamp of 5 March 2004 14:07:09 is 0x24774465.
    EXPECT_EQ(bytes,
              (std::vector<uint8_t>{0x65, 0x44, 0x77, 0x24, 0x00, 0x00, 0xC0, 0x3F, 0x09, 0x00, 0x80, 0x7F}));

    CMeasRecord back = MakeRecord(MeasLayout::kTwoValue);
    ASSERT_TRUE(back.Unpack(bytes));
    EXPECT_EQ(back.BuildTextLine(), "05.03.2004 14:07:09\t1.500\tNaN(9)\r\n");
    EXPECT_EQ(std::make_tuple(back.IsErrorMarker(1), back.IsErrorMarker(2)), std::make_tuple(false, true));
    EXPECT_FALSE(back.Unpack(std::span<const uint8_t>(bytes.data(), 11))) << "too short a buffer";
}

TEST(MeasRecord, TextsFollowTheLastFormatAndAppendingALineLeavesThemAlone) {
    CMeasRecord record = MakeRecord(MeasLayout::kOneValue);
    EXPECT_EQ(record.GetText(1), "NaN(777)");
    record.SetFloat(1, 2.0f);
    EXPECT_EQ(record.GetText(1), "NaN(777)") << "GetText does not format";
    EXPECT_EQ(record.Format(1), "2.000");
    EXPECT_EQ(record.GetText(1), "2.000");
    EXPECT_EQ(record.FormatFrom(1, 0.125), "0.125");
    record.SetTitle(1, "mm");
    EXPECT_EQ(record.BuildTitleLine(), "Date/Time\tmm\r\n");

    // Raw values are little-endian bytes.
    const uint8_t le[4] = {0x00, 0x00, 0x80, 0x3F}; // 1.0f
    ASSERT_TRUE(record.SetValue(1, le));
    EXPECT_EQ(record.Format(1), "1.000");
    EXPECT_FALSE(record.GetValue(1, nullptr));
    EXPECT_FALSE(record.SetValue(2, le));

    // The XV layout's field order, sizes, titles and formats are read back independently from the files
    // terrix-cli measures (e2e); what stays here is how a line is appended.
    CMeasRecord xv = MakeRecord(MeasLayout::kXv);
    xv.SetStamp(0, PackTimeStamp({1, 1, 2020, 0, 0, 0}));
    xv.SetFloat(kXvMoisture, 25.25f);
    xv.SetWord(kXvN1, 0x1234);
    const std::string line = "01.01.2020 00:00:00\t0\t25.2\t0.000\t0.0\t4660\t0\t0\t0.000\t0.000\r\n";
    std::string appended = "earlier line\n";
    xv.AppendTextLine(appended);
    EXPECT_EQ(appended, "earlier line\n" + line);
    EXPECT_EQ(xv.GetText(kXvN1), "65535") << "appending leaves the fields' texts alone";
    EXPECT_EQ(xv.BuildTextLine(), line);
}

} // namespace
} // namespace terrix

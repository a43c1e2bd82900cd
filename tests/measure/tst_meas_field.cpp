// Formatting of measured-value fields: error markers, the packed time stamp, placeholders, and output
// that does not change with the process locale.

#include <gtest/gtest.h>

#include <tuple>

#include <bit>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "core/measure/c_locale_format.h"
#include "core/measure/error_marker.h"
#include "core/measure/meas_field.h"
#include "core/measure/time_stamp.h"
#include "support/german_locale.h"
#include "support/test_seed.h"

namespace terrix {
namespace {

TEST(MeasFieldFormat, FloatBitPatterns) {
    const std::tuple<uint32_t, const char*, const char*> cases[] = {
        {ErrorMarkerBits(9), "%.3f", "NaN(9)"},
        {0x7F80FFFFu, "%.3f", "NaN(?)"},
        {ErrorMarkerBits(0), "%.3f", "NaN(?)"}, // code 0 is the unknown one: 0x7F800000 would be infinity
        {0xFF80012Cu, "%.3f", "NaN(300)"},      // sign bit set: still a marker
        {0x7FC00000u, "%.3f", "NaN(0)"},        // a plain quiet NaN carries code 0
        {0x7F800000u, "%.3f", "inf"},           // infinity is a value, printed with the format
        {0xFF800000u, "%.1f", "-inf"},
        {std::bit_cast<uint32_t>(1.2345f), "%.3f", "1.235"}, // 1.2345f is 1.23450005...
        {std::bit_cast<uint32_t>(-0.05f), "%.1f", "-0.1"},
        {std::bit_cast<uint32_t>(3.0e38f), "%.3f", "300000000549775575777803994281145270272.000"},
    };
    for (const auto& [bits, format, expected] : cases) {
        CFloatField field("Value", format);
        ASSERT_TRUE(field.SetFloatBits(bits));
        EXPECT_EQ(field.Format(), expected) << std::hex << bits;
        EXPECT_EQ(field.Text(), expected) << "the text keeps what was formatted";
    }
}

// The default formats are printed by hand rather than by printf; any bit pattern must give printf's text.
TEST(MeasFieldFormat, DefaultFormatsPrintWhatPrintfPrints) {
    std::mt19937 random(test::TestSeed(7));
    CTimeStampField stamp;
    // Every precision the hand-made path takes: the scaled float stays exact up to nine decimals.
    const char* const formats[] = {"%.0f", "%.1f", "%.3f", "%.6f", "%.9f"};
    std::vector<std::unique_ptr<CFloatField>> values;
    for (const char* format : formats) {
        values.push_back(std::make_unique<CFloatField>("v", format));
    }
    CWordField word("n1");
    for (int i = 0; i < 100000; ++i) {
        const uint32_t bits = random();
        // Every stamp bit pattern, even day 0, month 15 or minute 63, which no clock gives.
        const StampParts p = UnpackTimeStamp(bits);
        stamp.SetStamp(bits);
        ASSERT_EQ(stamp.Format(), FormatC("%02u.%02u.%04u %02u:%02u:%02u", p.day, p.month, p.year, p.hour,
                                          p.minute, p.second))
            << std::hex << bits;
        // Small values often, with exact halves and negative values rounding to zero among them, and the
        // whole range of patterns.
        const float value = i % 2 == 0 ? static_cast<float>(static_cast<int32_t>(bits) % 200000) / 1024.0f
                                       : std::bit_cast<float>(bits);
        CFloatField& field = *values[static_cast<size_t>(i) % values.size()];
        field.SetFloat(value);
        if (!std::isnan(value)) {
            ASSERT_EQ(field.Format(),
                      FormatCDynamic(field.FormatString().c_str(), static_cast<double>(value)))
                << std::hex << bits << " " << field.FormatString();
        }
        word.SetWord(static_cast<uint16_t>(bits));
        ASSERT_EQ(word.Format(), FormatC("%u", bits & 0xFFFFu));
    }
}

TEST(MeasFieldFormat, PlaceholdersFormatFromSettersOfAnotherKindAndForeignFormats) {
    CWordField word("n1");
    CByteField byte("Density");
    CFloatField value("Moisture [%]", "%.1f");
    EXPECT_EQ(CTimeStampField().Text() + " " + value.Text() + " " + word.Text() + " " + byte.Text(),
              "31.12.2222 23:59:59 NaN(777) 65535 255");
    byte.SetByte(7);
    EXPECT_EQ(byte.Format(), "7");
    EXPECT_EQ((std::vector<std::string>{value.FormatFrom(42.25), value.FormatFrom(std::nan("")),
                                        word.FormatFrom(70000.0), word.FormatFrom(-3.0),
                                        CTimeStampField().FormatFrom(PackTimeStamp({1, 2, 2003, 4, 5, 6}))}),
              (std::vector<std::string>{"42.2", "NaN(?)", "65535", "0", "01.02.2003 04:05:06"}));

    EXPECT_EQ(std::make_tuple(word.SetFloat(1.0f), value.SetWord(1), value.SetStamp(1)),
              std::make_tuple(false, false, false));
    EXPECT_EQ(word.Bits(), 0u);

    // Formats that take other arguments are replaced by the field's default.
    EXPECT_EQ(CFloatField("x", "%s").FormatString() + " " + CFloatField("x", "%f %f").FormatString() + " " +
                  CWordField("x", "%*u").FormatString() + " " +
                  CTimeStampField("T", "%u.%u.%u %u:%u").FormatString(),
              std::string("%.3f %.3f %u ") + CTimeStampField::kDefaultFormat);
    CFloatField percent("x", "%.1f %%");
    percent.SetFloat(12.25f);
    EXPECT_EQ(percent.Format(), "12.2 %");
}

TEST(TimeStamp, PackedBitsAndYearsThatWrapAfter2033) {
    // Day in bits 0-4, month 5-8, year since 1970 9-14, hour 15-19, minute 20-25, second 26-31.
    EXPECT_EQ(PackTimeStamp({5, 3, 2004, 14, 7, 9}),
              5u | 3u << 5 | 34u << 9 | 14u << 15 | 7u << 20 | 9u << 26);
    const std::pair<StampParts, const char*> cases[] = {
        {{5, 3, 2004, 14, 7, 9}, "05.03.2004 14:07:09"},
        {{31, 12, 2033, 23, 59, 59}, "31.12.2033 23:59:59"},
        {{1, 6, 2034, 12, 0, 0}, "01.06.1970 12:00:00"},
    };
    CTimeStampField field;
    for (const auto& [parts, text] : cases) {
        field.SetStamp(PackTimeStamp(parts));
        EXPECT_EQ(field.Format(), text);
    }
}

// The numbers a value field prints must not follow the locale the program runs in.
TEST(GermanNumbers, ValuesKeepTheDecimalPoint) {
    test::GermanNumberLocale german;
    if (!german.Active()) {
        GTEST_SKIP() << "no German locale available";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale is in force for plain printf";

    CFloatField value("Value");
    value.SetFloat(1.234f);
    EXPECT_EQ(value.Format(), "1.234");
    EXPECT_EQ(value.FormatFrom(-2.5), "-2.500");
    EXPECT_EQ(FormatC("%.2f", 1234.5), "1234.50");
}

} // namespace
} // namespace terrix

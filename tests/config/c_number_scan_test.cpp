#include "core/config/c_number_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace terrix::test {
namespace {

TEST(CNumberScanTest, UnsignedLikeScanf) {
    struct Case {
        const char* text;
        bool ok;
        uint32_t value;
    };
    const Case cases[] = {
        {"0 ", true, 0},
        {" \t12x", true, 12},
        {"+3", true, 3},
        {"-1", true, 4294967295u},
        {"99999999999", true, 4294967295u},
        {"x1", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"]", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ScanUnsigned(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(CNumberScanTest, IntegersAndRealsLikeTheCLibrary) {
    EXPECT_EQ(AtoiLike("  -42abc"), -42);
    EXPECT_EQ(AtoiLike("abc"), 0);
    EXPECT_EQ(AtoiLike("99999999999999999999999"), INT64_MAX);
    EXPECT_DOUBLE_EQ(AtofLike(" 1.5"), 1.5);
    EXPECT_DOUBLE_EQ(AtofLike("-2.5e-1;"), -0.25);
    EXPECT_DOUBLE_EQ(AtofLike("0x10"), 16.0);
    EXPECT_DOUBLE_EQ(AtofLike("1e999"), HUGE_VAL);
    EXPECT_DOUBLE_EQ(AtofLike(".5"), 0.5);
    EXPECT_DOUBLE_EQ(AtofLike("x"), 0.0);
    double value = 7;
    EXPECT_FALSE(ScanReal("+-1", value));
    EXPECT_TRUE(ScanReal("nan", value));
    EXPECT_TRUE(std::isnan(value));
    EXPECT_DOUBLE_EQ(AtofLike(std::string("2.5\0009", 5)), 2.5); // a NUL ends the text
}

} // namespace
} // namespace terrix::test

#include "core/config/c_number_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace terrix::test {
namespace {

TEST(CNumberScanTest, UnsignedIntegersAndRealsLikeScanfAndTheCLibrary) {
    // The text, whether it scans, the value.
    const std::tuple<const char*, bool, uint32_t> cases[] = {
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
    for (const auto& [text, ok, expected] : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ScanUnsigned(text, value), ok) << text;
        if (ok) {
            EXPECT_EQ(value, expected) << text;
        }
    }

    EXPECT_EQ(std::make_tuple(AtoiLike("  -42abc"), AtoiLike("abc"), AtoiLike("99999999999999999999999")),
              std::make_tuple(-42, 0, INT64_MAX));
    // Every expected value is exact in binary.
    EXPECT_EQ((std::vector<double>{AtofLike(" 1.5"), AtofLike("-2.5e-1;"), AtofLike("0x10"),
                                   AtofLike("1e999"), AtofLike(".5"), AtofLike("x")}),
              (std::vector<double>{1.5, -0.25, 16.0, HUGE_VAL, 0.5, 0.0}));
    double value = 7;
    EXPECT_FALSE(ScanReal("+-1", value));
    EXPECT_TRUE(ScanReal("nan", value));
    EXPECT_TRUE(std::isnan(value));
    EXPECT_DOUBLE_EQ(AtofLike(std::string("2.5\0009", 5)), 2.5); // a NUL ends the text
}

} // namespace
} // namespace terrix::test

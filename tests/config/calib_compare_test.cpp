#include "core/config/calib_compare.h"
#include "core/config/coeff_format.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace terrix::test {
namespace {

TEST(CoeffEqualTest, ToleranceFollowsTheFirstArgument) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::tuple<double, double, bool> cases[] = {
        {100.0, 100.00005, true}, // tolerance 1e-4 for 100..999.9
        {100.0, 100.00011, false},  {0.0, 0.0000005, true},     {0.0, 0.00001, false},
        {0.00001, 0.0, false},      // n = -5: the tolerance shrinks to 1e-11
        {12345.0, 12345.009, true}, // n = 4: 1e-2
        {0.05, 0.0500005, true},    // n = trunc(-1.3) = -1 would give 1e-7; the absolute 1e-6 comes first
        {5.0, 5.0000015, false},    {-250.0, -250.00009, true}, {nan, nan, false},
        {nan, 1.0, false},          {1.0, nan, false},          {inf, inf, false},
    };
    for (const auto& [a, b, equal] : cases) {
        EXPECT_EQ(CoeffEqual(a, b), equal) << a << " vs " << b;
    }
}

class CompareTest : public ::testing::Test {
protected:
    CompareTest() {
        for (unsigned i = 0; i < kCalibPositions; ++i) {
            a.aMatCalib[i].wCalibId = static_cast<uint16_t>(100 + i);
            a.aMatCalib[i].adCoeff = {1, 2, 3, 4, 5, 6};
            a.aTempCalib[i] = {1, {}, static_cast<uint16_t>(200 + i), {1, 2, 3, 4, 5, 6}};
        }
        b = a;
    }
    using Calls = std::vector<std::pair<unsigned, unsigned>>;
    CalibDiffCallback Recorder(Calls& calls, int result) {
        return [&calls, result](unsigned position, unsigned code) {
            calls.emplace_back(position, code);
            return result;
        };
    }
    CalibSet a{};
    CalibSet b{};
};

TEST_F(CompareTest, CallbackResultDecidesWhetherAPositionGoesOnAndInvalidTemperaturesAreSkipped) {
    Calls none;
    EXPECT_FALSE(CompareMatCalibs(a, b, Recorder(none, 1)));
    EXPECT_FALSE(CompareTempCalibs(a, b, Recorder(none, 1)));
    EXPECT_TRUE(none.empty()) << "identical sets";

    b.aMatCalib[2].wCalibId = 9;
    b.aMatCalib[2].adCoeff[1] = 7;
    b.aMatCalib[2].adCoeff[4] = 7;
    b.aMatCalib[5].adCoeff[0] = 7;
    b.aMatCalib[5].adCoeff[3] = 7;

    Calls stopping;
    EXPECT_TRUE(CompareMatCalibs(a, b, Recorder(stopping, 0)));
    EXPECT_EQ(stopping, (Calls{{2, 6}, {5, 0}}));

    Calls listing;
    EXPECT_TRUE(CompareMatCalibs(a, b, Recorder(listing, 1)));
    EXPECT_EQ(listing, (Calls{{2, 6}, {2, 1}, {2, 4}, {5, 0}, {5, 3}}));

    EXPECT_TRUE(CompareMatCalibs(a, b));
    b = a;
    b.aMatCalib[15].adCoeff[5] = 6.5;
    EXPECT_TRUE(CompareMatCalibs(a, b));

    // Temperature positions invalid in the first set are skipped.
    b = a;
    b.aTempCalib[3].wCalibId = 1;
    b.aTempCalib[8].adCoeff[2] = 0;
    a.aTempCalib[3].bValid = 0;
    Calls calls;
    EXPECT_TRUE(CompareTempCalibs(a, b, Recorder(calls, 1)));
    EXPECT_EQ(calls, (Calls{{8, 2}}));
    // The other way round position 3 counts.
    calls.clear();
    EXPECT_TRUE(CompareTempCalibs(b, a, Recorder(calls, 1)));
    EXPECT_EQ(calls, (Calls{{3, 6}, {8, 2}}));
}

TEST(FormatCoeffTest, FixedAndExponentNotation) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.0"},         {1.0, "1.0"},
        {-1.0, "-1.0"},       {0.00001, "1.0e-5"},
        {2500000, "2.5e6"},   {123.456, "123.456"},
        {-0.5, "-0.5"},       {1.234567, "1.23457"},
        {0.001, "0.001"},     {0.0001234, "1.234e-4"},
        {100, "100.0"},       {-123456.7, "-123457.0"}, // five significant decimals
        {999999.7, "1.0e6"}, // the rounded mantissa carries into the next power of ten
        {1e-300, "1.0e-300"}, {-4.5e-12, "-4.5e-12"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatCoeff(value), text) << value;
    }
}

} // namespace
} // namespace terrix::test

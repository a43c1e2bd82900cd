#include "core/bus/packed_decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace terrix {
namespace {

TEST(PackedDecimal, NegativeBcd5) {
    std::array<uint8_t, 3> bytes{0xFF, 0xFF, 0xFF};
    EncodeBcd(-1234, 5, bytes);
    EXPECT_EQ(bytes, (std::array<uint8_t, 3>{0x48, 0x23, 0x01}));
    int32_t value = 0;
    uint8_t flag = 0;
    DecodeBcd(bytes, 5, &value, &flag);
    EXPECT_EQ(value, -1234);
    EXPECT_EQ(flag, 0x48);
}

TEST(PackedDecimal, RoundTrips) {
    for (const int32_t v : {0, 1, 9, 10, 99999, -99999, 12345, -5}) {
        std::array<uint8_t, 3> bytes{};
        EncodeBcd(v, 5, bytes);
        int32_t back = -1;
        DecodeBcd(bytes, 5, &back, nullptr);
        EXPECT_EQ(back, v);
    }
    for (const int32_t v : {0, 999999999, -999999999, 123456789}) {
        std::array<uint8_t, 5> bytes{};
        EncodeBcd(v, 9, bytes);
        int32_t back = -1;
        DecodeBcd(bytes, 9, &back, nullptr);
        EXPECT_EQ(back, v);
    }
}

TEST(PackedDecimal, DigitsBeyondTheWidthAreDropped) {
    std::array<uint8_t, 3> bytes{};
    EncodeBcd(123456, 5, bytes);
    int32_t back = 0;
    DecodeBcd(bytes, 5, &back, nullptr);
    EXPECT_EQ(back, 23456);
}

TEST(PackedDecimal, ZeroAndFullWidthDigitCountsDecodeToZero) {
    const std::array<uint8_t, 3> bytes{0x10, 0x32, 0x54};
    for (unsigned n : {0u, 255u}) {
        int32_t value = -1;
        uint8_t flag = 0;
        DecodeBcd(bytes, n, &value, &flag);
        EXPECT_EQ(value, 0);
        EXPECT_EQ(flag, 0x10);
    }
}

TEST(PackedDecimal, StatusBitsOfTheFlagNibbleAreHandedBack) {
    const std::array<uint8_t, 3> bytes{0x5C, 0x00, 0x00}; // sign + bit 2, units 5
    int32_t value = 0;
    uint8_t flag = 0;
    DecodeBcd(bytes, 5, &value, &flag);
    EXPECT_EQ(value, -5);
    EXPECT_EQ(flag & 0x04, 0x04);
}

TEST(PackedDecimal, ShortSourceReadsMissingDigitsAsZero) {
    const std::array<uint8_t, 1> bytes{0x70};
    int32_t value = 0;
    DecodeBcd(bytes, 9, &value, nullptr);
    EXPECT_EQ(value, 7);
}

struct ScaledCase {
    double value;
    bool ok;
    uint8_t scale;
    int32_t mantissa;
};

TEST(ScaledDecimal, Encoding) {
    const ScaledCase cases[] = {
        {0.0, true, 15, 0},
        {1e-22, true, 15, 0},
        {1000.0, false, 0, 0},
        {-1000.0, false, 0, 0},
        {1.5, true, 2, 150000000},
        {-1.5, true, 2, -150000000},
        // Powers of ten below 1 keep nine significant digits.
        {0.1, true, 3, 100000000},
        {0.01, true, 4, 100000000},
        {0.5, true, 3, 500000000},
        {999.0, true, 0, 999000000},
        {12.0, true, 1, 120000000},
        {1e-15, true, 15, 1000000},
    };
    for (const ScaledCase& c : cases) {
        uint8_t scale = 99;
        int32_t mantissa = 99;
        ASSERT_EQ(EncodeScaled(c.value, scale, mantissa), c.ok) << c.value;
        if (c.ok) {
            EXPECT_EQ(scale, c.scale) << c.value;
            EXPECT_EQ(mantissa, c.mantissa) << c.value;
        }
    }
    uint8_t scale = 0;
    int32_t mantissa = 0;
    EXPECT_FALSE(EncodeScaled(std::nan(""), scale, mantissa));
}

TEST(ScaledDecimal, DecodeInvertsEncode) {
    for (const double v : {1.5, 0.1, 0.01, 0.5, 12.37, -3.25, 999.5}) {
        uint8_t scale = 0;
        int32_t mantissa = 0;
        ASSERT_TRUE(EncodeScaled(v, scale, mantissa));
        std::array<uint8_t, 5> bytes{};
        EncodeBcd(mantissa, 9, bytes);
        EXPECT_NEAR(DecodeScaled(bytes, scale), v, std::fabs(v) * 1e-8) << v;
    }
}

} // namespace
} // namespace terrix

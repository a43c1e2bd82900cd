#include "core/bus/packed_decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

namespace terrix {
namespace {

TEST(PackedDecimal, EncodesAndDecodesDigitsBehindTheFlagNibble) {
    struct Case {
        int32_t value;
        unsigned digits;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {-1234, 5, {0x48, 0x23, 0x01}},
        {99999, 5, {0x90, 0x99, 0x99}},
        {0, 5, {0x00, 0x00, 0x00}},
        {-5, 5, {0x58, 0x00, 0x00}},
        {123456789, 9, {0x90, 0x78, 0x56, 0x34, 0x12}},
        {-999999999, 9, {0x98, 0x99, 0x99, 0x99, 0x99}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(c.bytes.size(), 0xFF);
        EncodeBcd(c.value, c.digits, bytes);
        EXPECT_EQ(bytes, c.bytes) << c.value;
        int32_t back = -1;
        uint8_t flag = 0;
        DecodeBcd(bytes, c.digits, &back, &flag);
        EXPECT_EQ(std::pair(back, flag), std::pair(c.value, c.bytes[0])) << c.value;
    }
}

TEST(PackedDecimal, EdgesOfTheWidth) {
    std::array<uint8_t, 3> bytes{};
    EncodeBcd(123456, 5, bytes); // digits beyond the width are dropped
    int32_t value = 0;
    DecodeBcd(bytes, 5, &value, nullptr);
    EXPECT_EQ(value, 23456);
    // Zero and "full width" digit counts decode to 0 but hand back the flag byte.
    for (unsigned n : {0u, 255u}) {
        uint8_t flag = 0;
        DecodeBcd(std::array<uint8_t, 3>{0x10, 0x32, 0x54}, n, &value, &flag);
        EXPECT_EQ(std::pair(value, flag), std::pair(0, uint8_t{0x10})) << n;
    }
    // Status bit 2 beside the sign; a short source reads the missing digits as zero.
    DecodeBcd(std::array<uint8_t, 3>{0x5C, 0x00, 0x00}, 5, &value, nullptr);
    EXPECT_EQ(value, -5);
    DecodeBcd(std::array<uint8_t, 1>{0x70}, 9, &value, nullptr);
    EXPECT_EQ(value, 7);
}

TEST(ScaledDecimal, EncodingAndDecoding) {
    struct Case {
        double value;
        bool ok;
        uint8_t scale;
        int32_t mantissa;
    };
    const Case cases[] = {
        {0.0, true, 15, 0},
        {1e-22, true, 15, 0},
        {1000.0, false, 0, 0},
        {-1000.0, false, 0, 0},
        {std::nan(""), false, 0, 0},
        {1.5, true, 2, 150000000},
        {-1.5, true, 2, -150000000},
        // Powers of ten below 1 keep nine significant digits.
        {0.1, true, 3, 100000000},
        {0.01, true, 4, 100000000},
        {0.5, true, 3, 500000000},
        {999.0, true, 0, 999000000},
        {999.5, true, 0, 999500000},
        {1e-15, true, 15, 1000000},
    };
    for (const Case& c : cases) {
        uint8_t scale = 99;
        int32_t mantissa = 99;
        ASSERT_EQ(EncodeScaled(c.value, scale, mantissa), c.ok) << c.value;
        if (c.ok) {
            EXPECT_EQ(std::tuple(scale, mantissa), std::tuple(c.scale, c.mantissa)) << c.value;
            std::array<uint8_t, 5> bytes{};
            EncodeBcd(mantissa, 9, bytes);
            EXPECT_NEAR(DecodeScaled(bytes, scale), mantissa == 0 ? 0.0 : c.value, std::fabs(c.value) * 1e-8);
        }
    }
}

} // namespace
} // namespace terrix

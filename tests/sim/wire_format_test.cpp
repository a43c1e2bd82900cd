#include "sim/frame.h"
#include "sim/wire_format.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

namespace terrix::sim {
namespace {

using test::RequestBytes;

TEST(SimPackedDecimal, EncodesDigitsBehindTheFlagNibbleWithinItsWidth) {
    struct Case {
        int64_t value;
        unsigned digits;
        uint8_t flags;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {-1234, 5, 0, {0x48, 0x23, 0x01}},
        {-250, 5, 0, {0x08, 0x25, 0x00}},
        {0, 5, 0, {0x00, 0x00, 0x00}},
        {99999, 5, 0, {0x90, 0x99, 0x99}},
        {123, 5, 0x06, {0x36, 0x12, 0x00}},
        {150000000, 9, 0, {0x00, 0x00, 0x00, 0x00, 0x15}},
        {-987654321, 9, 0, {0x18, 0x32, 0x54, 0x76, 0x98}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out((c.digits + 1) / 2, 0xEE);
        WritePacked(out, c.value, c.digits, c.flags);
        EXPECT_EQ(out, c.bytes) << c.value;
        EXPECT_EQ(ReadPacked(out, c.digits), c.value);
    }
    // Digits beyond the width are not written.
    std::array<uint8_t, 3> out{};
    WritePacked(out, 123456, 5);
    EXPECT_EQ(ReadPacked(out, 5), 23456);
    EXPECT_EQ(PackedLimit(5), 99999);
    EXPECT_EQ(PackedLimit(9), 999999999);
}

TEST(SimScaledDecimal, ChoosesNineDigitsAndTheScaleAndRefusesWhatDoesNotFit) {
    // 0.3 is rounded (a cut gives 0.299999999); 999.9999999999 is cut (rounding needs ten digits).
    const std::tuple<double, int, int32_t> cases[] = {{1.5, 2, 150000000},
                                                      {0.0, 15, 0},
                                                      {-123.25, 0, -123250000},
                                                      {0.3, 3, 300000000},
                                                      {999.9999999999, 0, 999999999},
                                                      {2.5e-15, 15, 2500000}};
    ScaledDecimal s;
    for (const auto& [value, scale, mantissa] : cases) {
        ASSERT_TRUE(ToScaledDecimal(value, s)) << value;
        EXPECT_EQ(s.scale, scale) << value;
        EXPECT_EQ(s.mantissa, mantissa) << value;
    }
    ASSERT_TRUE(ToScaledDecimal(0.3, s));
    EXPECT_DOUBLE_EQ(FromScaledDecimal(s), 0.3);
    for (const double tooBig : {1000.0, -1000.0, double(NAN)}) {
        EXPECT_FALSE(ToScaledDecimal(tooBig, s)) << tooBig;
    }
}

TEST(SimMantissaExponent, KeepsShortExactForms) {
    struct Case {
        double value;
        int16_t mantissa;
        int8_t exponent;
    };
    const Case cases[] = {{0.01, 1, -2},   {-40, -4, 1},     {0.1, 1, -1},      {0, 0, 0},
                          {12.5, 125, -1}, {-0.001, -1, -3}, {123456, 12346, 1}};
    for (const Case& c : cases) {
        const MantissaExponent me = ToMantissaExponent(c.value);
        EXPECT_EQ(me.mantissa, c.mantissa) << c.value;
        EXPECT_EQ(me.exponent, c.exponent) << c.value;
    }
    EXPECT_NEAR(FromMantissaExponent(ToMantissaExponent(0.842)), 0.842, 1e-12);
}

TEST(SimFrameAssembler, FindsFramesBetweenGarbageAndBadHeadersAcrossChunks) {
    FrameAssembler assembler;
    const auto a = RequestBytes(1, 2);
    const auto b = RequestBytes(2, 206, {4});
    auto badHeader = RequestBytes(1, 2);
    badHeader[5] = static_cast<uint8_t>((badHeader[5] + 1) & 0x7F);
    EXPECT_FALSE(ParseRequest(badHeader));
    std::vector<uint8_t> stream = {0x00, 0xFE, 0x13, 0x88};
    stream.insert(stream.end(), badHeader.begin(), badHeader.end());
    stream.insert(stream.end(), a.begin(), a.end());
    stream.insert(stream.end(), {0xFE, 0xFE});
    stream.insert(stream.end(), b.begin(), b.end());

    // Delivered in chunks of three bytes, as a line may hand them over.
    std::vector<Request> found;
    for (size_t i = 0; i < stream.size(); i += 3) {
        const size_t n = std::min<size_t>(3, stream.size() - i);
        for (auto& r : assembler.Feed(std::span(stream).subspan(i, n), i * 10)) {
            found.push_back(std::move(r));
        }
    }
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].raw, a);
    EXPECT_EQ(found[1].raw, b);
    std::vector<uint8_t> dropped = {0x00, 0xFE, 0x13, 0x88};
    dropped.insert(dropped.end(), badHeader.begin(), badHeader.end());
    dropped.insert(dropped.end(), {0xFE, 0xFE});
    EXPECT_EQ(assembler.TakeDropped(), dropped);
    EXPECT_EQ(assembler.Pending(), 0u);
}

TEST(SimFrameAssembler, GivesUpACutFrameAfterTheLineWasQuiet) {
    FrameAssembler assembler(50000);
    // A header that announces a data block, then nothing for 60 ms: the next request must not be taken
    // as that block.
    const auto cut = RequestBytes(3, 207, std::vector<uint8_t>(27, 1));
    EXPECT_TRUE(assembler.Feed(std::span(cut).first(10), 0).empty());
    const auto next = RequestBytes(3, 204);
    const auto found = assembler.Feed(next, 60000);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].command, 204);
}

} // namespace
} // namespace terrix::sim

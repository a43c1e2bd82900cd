#include "sim/frame.h"
#include "sim/wire_format.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <span>
#include <tuple>

namespace terrix::sim {
namespace {

using test::RequestBytes;

// Byte strings joined into one. The room is reserved first: GCC 12 at -O3 takes the growth of a vector made
// from an initializer list for a write past its end (a false -Warray-bounds).
std::vector<uint8_t> Join(std::initializer_list<std::span<const uint8_t>> parts) {
    size_t size = 0;
    for (const auto& part : parts) {
        size += part.size();
    }
    std::vector<uint8_t> joined;
    joined.reserve(size);
    for (const auto& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

// The packed decimal numbers and the sensor data's mantissa/exponent pairs of the simulator are decoded by
// the program's bus layer in the bus-operation and measuring tests; the scaled decimal only reads scenario
// files.
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
        EXPECT_EQ(std::tuple(int(s.scale), s.mantissa), std::tuple(scale, mantissa)) << value;
    }
    for (const double tooBig : {1000.0, -1000.0, double(NAN)}) {
        EXPECT_FALSE(ToScaledDecimal(tooBig, s)) << tooBig;
    }
}

// Frames are found between garbage and bad headers, across chunks; a frame cut short is given up once the
// line was quiet.
TEST(SimFrameAssembler, FindsFramesBetweenGarbageAndGivesUpACutFrame) {
    FrameAssembler assembler; // gives a cut frame up after 50 ms
    const auto a = RequestBytes(1, 2);
    const auto b = RequestBytes(2, 206, {4});
    auto badHeader = RequestBytes(1, 2);
    badHeader[5] = static_cast<uint8_t>((badHeader[5] + 1) & 0x7F);
    EXPECT_FALSE(ParseRequest(badHeader));
    const std::vector<uint8_t> garbage = {0x00, 0xFE, 0x13, 0x88};
    const std::vector<uint8_t> stray = {0xFE, 0xFE};
    const std::vector<uint8_t> stream = Join({garbage, badHeader, a, stray, b});

    // Delivered in chunks of three bytes, as a line may hand them over.
    std::vector<std::vector<uint8_t>> found;
    for (size_t i = 0; i < stream.size(); i += 3) {
        const size_t n = std::min<size_t>(3, stream.size() - i);
        for (auto& r : assembler.Feed(std::span(stream).subspan(i, n), i * 10)) {
            found.push_back(r.raw);
        }
    }
    EXPECT_EQ(found, (std::vector{a, b}));
    EXPECT_EQ(assembler.TakeDropped(), Join({garbage, badHeader, stray}));
    EXPECT_EQ(assembler.Pending(), 0u);

    // A header that announces a data block, then nothing for 60 ms: the next request must not be taken as
    // that block.
    const auto cut = RequestBytes(3, 207, std::vector<uint8_t>(27, 1));
    EXPECT_TRUE(assembler.Feed(std::span(cut).first(10), 1000).empty());
    const auto next = RequestBytes(3, 204);
    const auto after = assembler.Feed(next, 61000);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].command, 204);
}

} // namespace
} // namespace terrix::sim

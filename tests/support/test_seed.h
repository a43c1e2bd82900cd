#pragma once
// The seed of a randomised test: fixed, so that a failure repeats, printed with the test's output, and
// overridable through TERRIX_TEST_SEED to try other streams or to replay one seen elsewhere.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace terrix::test {

inline uint32_t TestSeed(uint32_t fixed) {
    const char* text = std::getenv("TERRIX_TEST_SEED");
    const uint32_t seed =
        text != nullptr && *text != '\0' ? static_cast<uint32_t>(std::strtoul(text, nullptr, 0)) : fixed;
    std::fprintf(stderr, "random seed %u (set TERRIX_TEST_SEED to change it)\n", seed);
    return seed;
}

} // namespace terrix::test

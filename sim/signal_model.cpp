#include "sim/signal_model.h"

#include <cmath>
#include <numbers>

namespace terrix::sim {

namespace {

// splitmix64: a counter-based generator, so value k needs no history.
uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace

double NoiseUnit(uint64_t key) {
    const uint64_t bits = Mix(key) >> 11; // 53 bits
    return static_cast<double>(bits) / static_cast<double>(uint64_t{1} << 52) - 1.0;
}

double SampleSignal(const SignalModel& model, uint64_t seed, uint16_t serial, uint32_t stream, uint64_t k) {
    double value = model.base;
    if (model.period > 0) {
        // Each module starts at its own point of the cycle.
        const double phase = static_cast<double>(Mix(seed ^ serial) % 1000) / 1000.0;
        value += model.amplitude *
                 std::sin(2 * std::numbers::pi * (static_cast<double>(k) / model.period + phase));
    }
    const uint64_t key = Mix(seed) ^ (uint64_t{serial} << 40) ^ (uint64_t{stream} << 32) ^ k;
    value += model.noise * NoiseUnit(key);
    return value;
}

} // namespace terrix::sim

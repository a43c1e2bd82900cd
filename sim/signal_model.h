#pragma once
// Deterministic, plausibly varying measured values: the same seed gives the same series on every run.

#include "sim/module_state.h"

#include <cstdint>

namespace terrix::sim {

// Value number k of a quantity of one module. `stream` keeps the quantities of a module apart (channel 0,
// channel 1, the XV temperature, the XV's single readings).
double SampleSignal(const SignalModel& model, uint64_t seed, uint16_t serial, uint32_t stream, uint64_t k);

// A uniformly distributed number in [-1, 1) from a counter, without state.
double NoiseUnit(uint64_t key);

} // namespace terrix::sim

#pragma once
// Scenario files: a bus and its modules with all their data and optional faults, in JSON (the format is
// described in sim/SCENARIOS.md). A scenario that cannot be used gives a message that names the file, the
// place in it and what is wrong.

#include "sim/module_state.h"
#include "sim/virtual_bus.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terrix::sim {

struct Scenario {
    std::string name;
    uint64_t seed = 1;
    bool cable = true;
    std::vector<ModuleState> modules;
};

// Parses scenario text; on failure `error` says where and why and `out` is left unchanged.
bool ParseScenario(std::string_view text, Scenario& out, std::string& error);
bool LoadScenarioFile(const std::string& path, Scenario& out, std::string& error);

// The scenario used when no file is given (a multiplexer, two probes and an XV module), and its text.
Scenario DefaultScenario();
std::string_view DefaultScenarioText();

// A bus with the scenario's modules; `seed` overrides the scenario's seed.
std::shared_ptr<VirtualBus> BuildBus(const Scenario& scenario, std::optional<uint64_t> seed = std::nullopt);

// A module with sensible defaults for its kind, for tests that build a bus in code: a two-channel probe
// ("PX-TAVIK2", module id 11) with material calibrations, or with `xv` the XV module with temperature
// calibrations and application parameters.
ModuleState MakeProbe(uint8_t station, uint16_t serial, bool xv = false);

} // namespace terrix::sim

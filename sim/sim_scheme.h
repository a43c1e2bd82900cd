#pragma once
// The "sim" transport scheme of the COM port layer: ComOpenDevice("sim") opens the built-in scenario's bus,
// ComOpenDevice("sim:/path/scenario.json") the bus of that file. Each scenario's bus lives as long as the
// process, so modules keep their moved stations and written settings while the port is opened and closed
// again between operations.

#include "core/platform/clock.h"
#include "sim/virtual_bus.h"

#include <memory>
#include <string>

namespace terrix {

// Makes "sim" and "sim:<file>" openable through ComOpenDevice. Calling it again does no harm.
void RegisterSimTransportScheme();

} // namespace terrix

namespace terrix::sim {

// The bus of a scenario file ("" = the built-in scenario), made on first use; nullptr with the reason in
// `error` when the file cannot be used.
std::shared_ptr<VirtualBus> SharedBus(const std::string& scenarioPath, std::string& error);
// Drops every kept bus, so the next open starts from the scenario again (tests).
void ForgetSharedBuses();
// The clock of transports opened through the scheme from now on; nullptr = the system clock. A test that
// sets a virtual clock must reset this before the clock goes away.
void SetSchemeClock(Clock* clock);
// Why the last open through the scheme failed (the port layer only keeps an error number).
std::string LastSchemeError();

} // namespace terrix::sim

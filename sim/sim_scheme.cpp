#include "sim/sim_scheme.h"

#include "core/platform/com_port.h"
#include "sim/scenario.h"
#include "sim/sim_transport.h"
#include "sim/virtual_module.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>

namespace terrix::sim {

namespace {

struct SchemeState {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<VirtualBus>> buses;
    Clock* clock = nullptr;
    std::string lastError;
};

SchemeState& State() {
    static SchemeState state;
    return state;
}

// Two spellings of one file share one bus.
std::string BusKey(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::error_code ec;
    const auto canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : canonical.string();
}

} // namespace

std::shared_ptr<VirtualBus> SharedBus(const std::string& scenarioPath, std::string& error) {
    SchemeState& s = State();
    const std::string key = BusKey(scenarioPath);
    std::lock_guard lock(s.mutex);
    if (const auto it = s.buses.find(key); it != s.buses.end()) {
        return it->second;
    }
    Scenario scenario;
    if (key.empty()) {
        scenario = DefaultScenario();
    } else if (!LoadScenarioFile(scenarioPath, scenario, error)) {
        return nullptr;
    }
    auto bus = BuildBus(scenario);
    s.buses[key] = bus;
    return bus;
}

void ForgetSharedBuses() {
    SchemeState& s = State();
    std::lock_guard lock(s.mutex);
    s.buses.clear();
}

void SetSchemeClock(Clock* clock) {
    SchemeState& s = State();
    std::lock_guard lock(s.mutex);
    s.clock = clock;
}

std::string LastSchemeError() {
    SchemeState& s = State();
    std::lock_guard lock(s.mutex);
    return s.lastError;
}

namespace {

std::unique_ptr<Transport> OpenSim(std::string_view argument, uint32_t baud, uint32_t& error) {
    SchemeState& s = State();
    const std::string path(argument);
    auto fail = [&](uint32_t code, const std::string& text) -> std::unique_ptr<Transport> {
        error = code;
        std::lock_guard lock(s.mutex);
        s.lastError = text;
        return nullptr;
    };
    if (!IsModuleBaud(baud)) {
        return fail(EINVAL, std::to_string(baud) + " is not a baud rate of the bus");
    }
    std::string why;
    auto bus = SharedBus(path, why);
    if (!bus) {
        std::error_code ec;
        return fail(std::filesystem::exists(path, ec) ? EINVAL : ENOENT, why);
    }
    if (bus->Unplugged()) {
        return fail(ENOENT, "the simulated adapter is pulled out");
    }
    Clock* clock = nullptr;
    {
        std::lock_guard lock(s.mutex);
        clock = s.clock;
        s.lastError.clear();
    }
    const std::string name = path.empty() ? std::string("sim") : "sim:" + path;
    return std::make_unique<SimTransport>(std::move(bus), clock ? *clock : SystemClock::Instance(), baud,
                                          name);
}

} // namespace

} // namespace terrix::sim

namespace terrix {

void RegisterSimTransportScheme() {
    RegisterTransportScheme("sim", sim::OpenSim);
}

} // namespace terrix

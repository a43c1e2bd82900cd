// terrix-sim: the simulated NKP bus on a pseudo-terminal. Prints the slave device's path, then answers
// whoever opens it until SIGTERM or SIGINT.

#include "sim/pty_server.h"
#include "sim/scenario.h"
#include "terrix_version.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void OnStopSignal(int) {
    stopRequested = true;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Simulated NKP bus on a pseudo-terminal"};
    app.set_version_flag("--version", "terrix-sim " TERRIX_VERSION, "Print the version and exit");
    std::string scenarioPath;
    std::string linkPath;
    std::string tracePath;
    std::optional<uint64_t> seed;
    bool printDefault = false;
    app.add_option("--scenario", scenarioPath, "Scenario file (JSON); the built-in bus without it");
    app.add_option("--link", linkPath, "Symbolic link to create that points at the slave device");
    app.add_option("--trace", tracePath, "Write one line per request and reply to this file");
    app.add_option("--seed", seed, "Seed of the measured values (overrides the scenario's)");
    app.add_flag("--print-default-scenario", printDefault, "Print the built-in scenario and exit");
    CLI11_PARSE(app, argc, argv);

    if (printDefault) {
        std::cout << terrix::sim::DefaultScenarioText();
        return 0;
    }

    terrix::sim::Scenario scenario;
    std::string error;
    if (scenarioPath.empty()) {
        scenario = terrix::sim::DefaultScenario();
    } else if (!terrix::sim::LoadScenarioFile(scenarioPath, scenario, error)) {
        std::cerr << "terrix-sim: " << error << '\n';
        return 1;
    }
    std::ofstream trace;
    if (!tracePath.empty()) {
        trace.open(tracePath, std::ios::out | std::ios::trunc);
        if (!trace) {
            std::cerr << "terrix-sim: cannot write trace file " << tracePath << '\n';
            return 1;
        }
    }
    auto server = terrix::sim::PtyServer::Create(terrix::sim::BuildBus(scenario, seed), error);
    if (!server) {
        std::cerr << "terrix-sim: cannot create a pseudo-terminal: " << error << '\n';
        return 2;
    }
    if (!linkPath.empty() && !server->MakeLink(linkPath, error)) {
        std::cerr << "terrix-sim: " << error << '\n';
        return 2;
    }
    if (trace.is_open()) {
        server->SetTrace(&trace);
    }

    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::cout << server->SlavePath() << std::endl; // the one line a parent process waits for
    server->Serve(stopRequested);
    return 0;
}

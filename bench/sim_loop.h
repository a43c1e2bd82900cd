#pragma once
// The measuring loop of the benchmarks: an in-process simulated bus in virtual time, whose modules are
// identified into a bus list, with the files in a data directory of their own (removed at the end).

#include "core/busops/identification.h"
#include "core/circuit/meas_loop.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "sim/scenario.h"
#include "sim/sim_transport.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <unistd.h>

namespace terrix::bench {

// A listener the benchmark waits on until the loop has stopped.
class IdleListener : public MeasLoopListener {
public:
    void OnCountdown(uint32_t) override {}
    void OnIdle() override {
        std::lock_guard lock(mutex_);
        idle_ = true;
        changed_.notify_all();
    }
    void WaitIdle() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return idle_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool idle_ = false;
};

class SimLoopBench {
public:
    // `scheme` is the port name the loop opens the simulated bus by.
    explicit SimLoopBench(const std::string& scheme) : scheme_(scheme) {
        std::string pattern = (std::filesystem::temp_directory_path() / "terrix-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            return;
        }
        dataDir = pattern;
        SetDataDir(dataDir);
        RegisterTransportScheme(scheme_, [this](std::string_view, uint32_t, uint32_t&) {
            return std::make_unique<sim::SimTransport>(bus, clock);
        });
        context.portContext.nPortNo = 1;
        context.portContext.device = scheme_;
    }
    ~SimLoopBench() {
        if (!dataDir.empty()) {
            std::filesystem::remove_all(dataDir);
        }
    }
    SimLoopBench(const SimLoopBench&) = delete;
    SimLoopBench& operator=(const SimLoopBench&) = delete;

    bool Ready() const { return !dataDir.empty(); }

    // Identifies the modules at stations 1..count into the bus list; false (with a message) when one of
    // them does not answer.
    bool Identify(uint32_t count) {
        const PortHandle port = ComOpenDevice(scheme_, kBusBaud);
        bool ok = true;
        for (uint32_t station = 1; station <= count && ok; ++station) {
            auto record = std::make_unique<ModuleRecord>();
            ok = IdentifyModule(port, static_cast<uint8_t>(station), *record, UnitName);
            if (!ok) {
                std::fprintf(stderr, "module at station %u not identified\n", station);
            } else {
                context.busList.Add(std::move(record));
            }
        }
        ComClose(port);
        return ok;
    }

    // A loop on this bus and its clock.
    std::unique_ptr<CMeasLoop> MakeLoop() {
        MeasLoopOptions options;
        options.clock = &clock;
        options.timer = std::make_unique<ThreadLoopTimer>(clock);
        return std::make_unique<CMeasLoop>(std::move(options));
    }

    // Runs the loop at rate 0 until the listener stops it; the seconds of real time it took, or -1 when it
    // did not start.
    double Run(CMeasLoop& loop, IdleListener& listener) {
        loop.Bind(&listener, &context);
        const auto start = std::chrono::steady_clock::now();
        if (!loop.Start(true, 0)) {
            std::fprintf(stderr, "start failed: %s\n", MeasStartErrorText(loop.StartError()));
            return -1;
        }
        listener.WaitIdle();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    VirtualClock clock{1'000'000};
    std::shared_ptr<sim::VirtualBus> bus = std::make_shared<sim::VirtualBus>(1);
    BusContext context;
    std::string dataDir;

private:
    std::string scheme_;
};

} // namespace terrix::bench

// A long unattended run: the measuring loop over an in-process simulated bus in virtual time, with faults
// switched on and off as it goes (garbled replies, late replies, a module muted for a while, a collision
// appearing), for many rounds at rate 0. Prints resident memory and open descriptors at the start and at
// the end, checks that every value or error marker reached the module's binary and ASCII files, and that
// no frame went out before the waits the protocol mandates. Exit status 1 when a check fails; it never
// fails on time.
//
// Usage: bench_long_run [rounds (default 100000)]

#include "bench/sim_loop.h"
#include "core/bus/bus_error.h"
#include "core/bus/bus_trace.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

using namespace terrix;

namespace {

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

long OpenDescriptors() {
    long n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++n;
    }
    return n - 1; // the iterator's own
}

// Checks the spacing of the frames sent: a request occupies the line for 12 ms per byte, and after a
// reply whose header checksum failed the line is left alone for 110 ms.
class WaitChecker final : public BusTraceObserver {
public:
    void OnFrame(const BusTraceEvent& e) override {
        if (e.direction == BusTraceEvent::Direction::Received) {
            if (e.busError == kBusHeaderChecksum) {
                quietUntilUs_ = std::max(quietUntilUs_, e.clockUs + 110'000);
                ++garbled;
            }
            return;
        }
        ++sent;
        if (e.clockUs < quietUntilUs_) {
            ++early;
        }
        quietUntilUs_ = e.clockUs + 12'000ull * e.bytes.size();
    }
    uint64_t sent = 0;
    uint64_t garbled = 0;
    uint64_t early = 0;

private:
    uint64_t quietUntilUs_ = 0;
};

class RunListener final : public bench::IdleListener {
public:
    RunListener(CMeasLoop& loop, sim::VirtualBus& bus, uint32_t rounds)
        : loop_(loop), bus_(bus), wanted_(rounds) {}
    void OnNewValue(uint32_t slot) override {
        ++values[slot];
        const std::optional<CMeasRecord> record = loop_.NewestValue(slot);
        if (record && record->FieldCount() > 1) {
            uint32_t bits = 0;
            record->GetValue(1, &bits);
            markers += (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0 ? 1 : 0;
        }
    }
    void OnStoreFailed(uint32_t, const std::string& reason) override {
        ++storeFailures;
        std::fprintf(stderr, "store failed: %s\n", reason.c_str());
    }
    void OnPortLost(const std::string& reason) override {
        std::fprintf(stderr, "port lost: %s\n", reason.c_str());
    }
    void OnRoundDone(uint32_t rounds) override {
        if (rounds == 1) {
            startRssKb = ResidentKb();
            startFds = OpenDescriptors();
        }
        ScheduleFaults(rounds);
        bus_.ClearRequestLog(); // the simulator's own log is not what is measured here
        if (rounds >= wanted_) {
            loop_.Stop();
        }
    }
    std::map<uint32_t, uint64_t> values;
    uint64_t markers = 0;
    uint64_t storeFailures = 0;
    long startRssKb = 0;
    long startFds = 0;

private:
    // Every 500 rounds: probe 1 garbled for 5 rounds, probe 2 late by 30 ms for 10, probe 3 muted for 10,
    // and the XV module moved onto probe 1's station (a collision) for 5.
    void ScheduleFaults(uint32_t round) {
        const uint32_t phase = round % 500;
        sim::ModuleFaults garbled;
        garbled.damagedHeader = phase >= 100 && phase < 105;
        bus_.SetFaults(30001, garbled);
        sim::ModuleFaults late;
        late.delayMs = phase >= 200 && phase < 210 ? 30 : 0;
        bus_.SetFaults(30002, late);
        sim::ModuleFaults muted;
        muted.mute = phase >= 300 && phase < 310;
        bus_.SetFaults(30003, muted);
        const bool collide = phase >= 400 && phase < 405;
        bus_.ModifyBySerial(40000, [collide](sim::ModuleState& m) { m.station = collide ? 1 : 4; });
    }

    CMeasLoop& loop_;
    sim::VirtualBus& bus_;
    uint32_t wanted_;
};

} // namespace

int main(int argc, char** argv) {
    const uint32_t rounds = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 100'000u;
    if (rounds == 0) {
        std::fprintf(stderr, "usage: %s [rounds]\n", argv[0]);
        return 1;
    }
    bench::SimLoopBench rig("longrun");
    if (!rig.Ready()) {
        return 1;
    }
    for (uint16_t i = 1; i <= 3; ++i) {
        rig.bus->AddModule(sim::MakeProbe(static_cast<uint8_t>(i), static_cast<uint16_t>(30000 + i)));
    }
    rig.bus->AddModule(sim::MakeProbe(4, 40000, true));
    if (!rig.Identify(4)) {
        return 1;
    }

    int status = 0;
    WaitChecker waits;
    SetBusTraceObserver(&waits);
    {
        const std::unique_ptr<CMeasLoop> loop = rig.MakeLoop();
        RunListener listener(*loop, *rig.bus, rounds);
        const uint64_t busStartUs = rig.clock.NowUs();
        const double seconds = rig.Run(*loop, listener);
        if (seconds < 0) {
            return 1;
        }
        const long endRss = ResidentKb();
        const long endFds = OpenDescriptors();
        SetBusTraceObserver(nullptr);

        std::printf("rounds                      %10u in %.1f s (%.0f rounds/s), %.1f days of bus time\n",
                    rounds, seconds, rounds / seconds, (rig.clock.NowUs() - busStartUs) / 86400e6);
        std::printf("frames sent                 %10llu, %llu garbled replies, %llu sent before their wait\n",
                    static_cast<unsigned long long>(waits.sent),
                    static_cast<unsigned long long>(waits.garbled),
                    static_cast<unsigned long long>(waits.early));
        std::printf("resident memory             %10ld kB after round 1, %ld kB at the end\n",
                    listener.startRssKb, endRss);
        std::printf("open descriptors            %10ld after round 1, %ld at the end\n", listener.startFds,
                    endFds);
        std::printf("error markers (1st value)   %10llu\n",
                    static_cast<unsigned long long>(listener.markers));
        status = waits.early == 0 && listener.storeFailures == 0 && endFds <= listener.startFds ? 0 : 1;
        for (uint32_t slot = 0; slot < loop->SlotCount(); ++slot) {
            CMeasValueStore* store = loop->StoreAt(slot);
            const ModuleRecord* module = loop->RecordAt(slot);
            const std::string base = rig.dataDir + "/" + std::to_string(module->SerialNo());
            const uint64_t bytes = std::filesystem::file_size(base + ".BinMeasData");
            const uint64_t stored = (bytes - 56) / store->RecordSize();
            std::ifstream ascii(base + ".ASC", std::ios::binary);
            uint64_t lines = 0;
            for (std::string line; std::getline(ascii, line);) {
                ++lines;
            }
            const bool whole = (bytes - 56) % store->RecordSize() == 0 && stored == listener.values[slot] &&
                               lines == stored + 1;
            std::printf("module %5u                 %10llu values, %llu binary records, %llu ASCII lines%s\n",
                        module->SerialNo(), static_cast<unsigned long long>(listener.values[slot]),
                        static_cast<unsigned long long>(stored), static_cast<unsigned long long>(lines),
                        whole ? "" : "  <-- MISMATCH");
            status = whole ? status : 1;
        }
    }
    return status;
}

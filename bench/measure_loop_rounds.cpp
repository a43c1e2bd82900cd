// Measuring rounds of the loop over an in-process simulated bus in virtual time: how long a round keeps a
// real bus busy (the mandated waits of its transactions), and how much computer time the loop, the
// measuring step and the value stores spend on it. Prints figures; never fails on time.
//
// Usage: bench_measure_loop_rounds [probes (default 30)] [rounds (default 20)]

#include "bench/sim_loop.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace terrix;

namespace {

// Counts values and rounds; stops the loop after the wanted number of rounds.
class CountingListener final : public bench::IdleListener {
public:
    CountingListener(CMeasLoop& loop, VirtualClock& clock, uint32_t rounds)
        : loop_(loop), clock_(clock), wanted_(rounds) {}
    void OnNewValue(uint32_t) override { ++values; }
    void OnStoreFailed(uint32_t, const std::string& reason) override {
        std::fprintf(stderr, "store failed: %s\n", reason.c_str());
    }
    void OnRoundDone(uint32_t rounds) override {
        if (rounds == 1) {
            firstRoundEndUs = clock_.NowUs();
        }
        lastRoundEndUs = clock_.NowUs();
        if (rounds >= wanted_) {
            loop_.Stop();
        }
    }

    uint32_t values = 0; // written on the loop's thread, read after idle
    uint64_t firstRoundEndUs = 0;
    uint64_t lastRoundEndUs = 0;

private:
    CMeasLoop& loop_;
    VirtualClock& clock_;
    uint32_t wanted_;
};

} // namespace

int main(int argc, char** argv) {
    const uint32_t probes = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 30u;
    const uint32_t rounds = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 20u;
    if (probes == 0 || probes > 250 || rounds == 0) {
        std::fprintf(stderr, "usage: %s [probes 1..250] [rounds]\n", argv[0]);
        return 1;
    }
    bench::SimLoopBench rig("benchsim");
    if (!rig.Ready()) {
        return 1;
    }
    for (uint32_t i = 0; i < probes; ++i) {
        rig.bus->AddModule(sim::MakeProbe(static_cast<uint8_t>(1 + i), static_cast<uint16_t>(30000 + i)));
    }
    rig.bus->AddModule(sim::MakeProbe(static_cast<uint8_t>(1 + probes), 40000, true));
    if (!rig.Identify(probes + 1)) {
        return 1;
    }

    int status = 0;
    {
        const std::unique_ptr<CMeasLoop> loop = rig.MakeLoop();
        CountingListener listener(*loop, rig.clock, rounds);
        const uint64_t busStartUs = rig.clock.NowUs();
        const std::clock_t cpuStart = std::clock();
        const double seconds = rig.Run(*loop, listener);
        if (seconds < 0) {
            return 1;
        }
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

        const double firstRound = (listener.firstRoundEndUs - busStartUs) / 1e6;
        const double perRound = (listener.lastRoundEndUs - busStartUs) / 1e6 / rounds;
        std::printf("modules                          %9u (%u probes and the XV module)\n", probes + 1,
                    probes);
        std::printf("rounds                           %9u, %u values\n", rounds, listener.values);
        std::printf("minimum interval                 %9u s\n", loop->MinimumInterval());
        std::printf("bus time of the first round      %9.2f s (virtual: the waits a real bus takes)\n",
                    firstRound);
        std::printf("bus time per round with waits    %9.2f s\n", perRound);
        std::printf("computer time                    %9.3f s real, %.3f s processor\n", seconds, cpu);
        std::printf("computer time per round          %9.2f ms, %.1f us per value\n", seconds * 1e3 / rounds,
                    seconds * 1e6 / listener.values);
        if (listener.values != rounds * (probes + 1)) {
            std::fprintf(stderr, "expected %u values\n", rounds * (probes + 1));
            status = 1;
        }
    }
    return status;
}

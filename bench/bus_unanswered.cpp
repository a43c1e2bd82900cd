// 200 transactions to a station nobody answers, over a pseudo-terminal: wall time against the protocol's
// minimum (84 ms of send wait + 24 ms of header time-out each) and the processor time the waits cost.
//
// Usage: bench_bus_unanswered [count]     (the bus simulator serves the pseudo-terminal when it was built)

#include "core/bus/bus_error.h"
#include "core/bus/frame.h"
#include "core/platform/clock.h"
#include "core/platform/com_port.h"
#include "support/child_process.h"
#include "support/pty_pair.h"

#include "cpu_time.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    std::string device;
    std::unique_ptr<terrix::test::BackgroundProcess> sim;
    std::unique_ptr<terrix::test::PtyPair> pty;
#ifdef TERRIX_SIM_PATH
    sim = std::make_unique<terrix::test::BackgroundProcess>(TERRIX_SIM_PATH, std::vector<std::string>{});
    device = sim->firstLine();
    std::printf("peer: terrix-sim on %s\n", device.c_str());
#endif
    if (device.empty()) {
        pty = std::make_unique<terrix::test::PtyPair>();
        device = pty->slavePath();
        std::printf("peer: bare pseudo-terminal %s\n", device.c_str());
    }
    const terrix::PortHandle port = terrix::ComOpenDevice(device, 9600);
    if (port == terrix::kInvalidPort) {
        std::fprintf(stderr, "%s\n", terrix::PortErrorText(terrix::LastPortError(), device).c_str());
        return 2;
    }
    const uint8_t unusedStation = 200;
    terrix::SystemClock& clock = terrix::SystemClock::Instance();
    const double cpuStart = terrix::bench::CpuSeconds();
    const uint64_t wallStart = clock.NowUs();
    int silent = 0;
    for (int i = 0; i < count; ++i) {
        const bool ok = terrix::Transact(port, unusedStation, 190, {}, 1, {});
        if (!ok && terrix::LastBusError() == terrix::kBusNoAnswer) {
            ++silent;
        }
    }
    const double wall = static_cast<double>(clock.NowUs() - wallStart) / 1e6;
    const double cpu = terrix::bench::CpuSeconds() - cpuStart;
    terrix::ComClose(port);
    const double minimum = count * (0.084 + 0.024);
    std::printf("transactions:      %d (%d answered with error 9)\n", count, silent);
    std::printf("wall time:         %.3f s\n", wall);
    std::printf("protocol minimum:  %.3f s\n", minimum);
    std::printf("over the minimum:  %+.2f %%  (target within 3 %%)\n", (wall / minimum - 1.0) * 100.0);
    std::printf("CPU time:          %.3f s = %.2f %% of wall time  (target under 5 %%)\n", cpu,
                cpu / wall * 100.0);
    return 0;
}

// A complete bus scan ("scan completely") against terrix-sim over a pseudo-terminal: wall time against the
// sum of the waits the protocol mandates for exactly the transactions that were sent, and processor time.
//
// Mandated per transaction: 12 ms per request byte; for a silent station the header time-out of
// 10 + 2 x 7 ms; 2 ms per reply byte before the data block is read; 110 ms after a garbled header; 400 ms
// after each baud-rate change of the ladder.

#include "core/bus/bus_trace.h"
#include "core/busops/scan_session.h"
#include "core/inventory/unit_names.h"
#include "core/platform/clock.h"
#include "core/platform/data_paths.h"
#include "support/child_process.h"

#include "cpu_time.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

class MandatedWaits final : public terrix::BusTraceObserver {
public:
    void OnFrame(const terrix::BusTraceEvent& e) override {
        if (e.direction == terrix::BusTraceEvent::Direction::Sent) {
            ++requests;
            ms += 12.0 * static_cast<double>(e.bytes.size());
            if (e.bytes.size() >= 7 && e.bytes[0] == 255 && e.bytes[4] == 16) {
                ms += 400.0;
            }
            return;
        }
        ++replies;
        switch (e.busError) {
        case 9:
            ms += 24.0;
            break;
        case 11:
            ms += 110.0;
            break;
        default:
            if (e.bytes.size() >= 7 && e.bytes[2] > 0) {
                ms += 2.0 * e.bytes[2];
            }
        }
    }
    double ms = 0;
    int requests = 0;
    int replies = 0;
};

} // namespace

int main() {
#ifndef TERRIX_SIM_PATH
    std::fprintf(stderr, "built without terrix-sim\n");
    return 2;
#else
    terrix::test::BackgroundProcess sim(TERRIX_SIM_PATH, {});
    if (!sim.running()) {
        std::fprintf(stderr, "terrix-sim did not start\n");
        return 2;
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("terrix-bench-" + std::to_string(getpid()));
    terrix::SetDataDir(dir);
    terrix::BusContext context;
    context.portContext.nPortNo = 1;
    context.portContext.device = sim.firstLine();
    MandatedWaits waits;
    terrix::SetBusTraceObserver(&waits);
    terrix::ScanSessionOptions options;
    options.forgetSavedBus = true;
    terrix::SystemClock& clock = terrix::SystemClock::Instance();
    const double cpuStart = terrix::bench::CpuSeconds();
    const uint64_t start = clock.NowUs();
    const terrix::ScanSessionResult result =
        terrix::RunScanSession(context, options, terrix::UnitName, {}, {});
    const double wall = static_cast<double>(clock.NowUs() - start) / 1e6;
    const double cpu = terrix::bench::CpuSeconds() - cpuStart;
    terrix::SetBusTraceObserver(nullptr);
    std::filesystem::remove_all(dir);
    const double mandated = waits.ms / 1000.0;
    std::printf("modules found:    %u (scan %s)\n", context.busList.Count(), result.scanOk ? "ok" : "failed");
    std::printf("transactions:     %d requests, %d replies checked\n", waits.requests, waits.replies);
    std::printf("wall time:        %.3f s\n", wall);
    std::printf("mandated waits:   %.3f s\n", mandated);
    std::printf("over the minimum: %+.2f %%  (target within 3 %%)\n", (wall / mandated - 1.0) * 100.0);
    std::printf("CPU time:         %.3f s = %.2f %% of wall time  (target under 5 %%)\n", cpu,
                cpu / wall * 100.0);
    return result.scanOk ? 0 : 1;
#endif
}

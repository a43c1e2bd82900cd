// Fleet logging: how fast the publisher sends a backlog to a local Mosquitto broker (started by the bench on
// a free loopback port, as the tests do), and its memory meanwhile. The backlog is spread over four
// two-value modules, as a logger that was offline for a long time would have it; every record is sent at
// QoS 1 and counted when the broker acknowledged it.
//
// Usage: bench_publish_backlog [records]   (default 1000000)

#include "bench/cpu_time.h"
#include "bench/two_value_file.h"
#include "core/measure/little_endian.h"
#include "core/measure/time_stamp.h"
#include "core/publish/publisher.h"
#include "support/temp_dir.h"
#include "support/test_broker.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

using namespace terrix;

namespace {

// The resident set of this process in KiB.
long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    const uint32_t total = argc > 1 ? static_cast<uint32_t>(std::atol(argv[1])) : 1000000u;
    constexpr uint16_t kModules = 4;
    test::TempDir data;
    std::vector<PublishedModule> modules;
    for (uint16_t m = 0; m < kModules; ++m) {
        const uint16_t serial = static_cast<uint16_t>(31000 + m);
        const uint32_t count = total / kModules + (m < total % kModules ? 1 : 0);
        const uint32_t start = PackTimeStamp({1, 1, 2026, 0, 0, 0});
        if (!bench::WriteTwoValueFile(data / (std::to_string(serial) + ".BinMeasData"), serial, count,
                                      [&](uint32_t i, uint8_t* record) {
                                          StoreLe32(record, start + i % 60);
                                          StoreLeFloat(record + 4, 10.0f + static_cast<float>(i % 1000) / 7);
                                          StoreLeFloat(record + 8, 20.0f - static_cast<float>(i % 333) / 3);
                                      })) {
            std::fprintf(stderr, "cannot write the backlog\n");
            return 1;
        }
        modules.push_back({bench::TwoValueModule(serial), data.path().string()});
    }

    test::TestBroker broker;
    if (!broker.Start()) {
        std::fprintf(stderr, "mosquitto did not start: %s\n", broker.Log().c_str());
        return 1;
    }
    const long before = ResidentKiB();
    rusage startChildren{};
    getrusage(RUSAGE_CHILDREN, &startChildren); // the tools that made the set-up
    const double childrenBefore =
        static_cast<double>(startChildren.ru_utime.tv_sec + startChildren.ru_stime.tv_sec) +
        static_cast<double>(startChildren.ru_utime.tv_usec + startChildren.ru_stime.tv_usec) / 1e6;
    const double cpuBefore = bench::CpuSeconds();
    Publisher publisher(broker.ClientOptions(), modules);
    const auto started = std::chrono::steady_clock::now();
    publisher.Start();
    long peak = before;
    uint64_t waiting = total;
    bool connected = false;
    std::printf("backlog: %u records of %u modules\n", total, kModules);
    auto lastReport = started;
    while (waiting > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const PublishStatus status = publisher.Status();
        connected = connected || status.connected; // the files are counted once connected
        waiting = connected ? status.waiting : total;
        peak = std::max(peak, ResidentKiB());
        if (std::chrono::steady_clock::now() - lastReport >= std::chrono::seconds(5)) {
            lastReport = std::chrono::steady_clock::now();
            std::printf("  %llu waiting, resident %ld KiB\n", static_cast<unsigned long long>(waiting),
                        ResidentKiB());
            std::fflush(stdout);
        }
        if (std::chrono::steady_clock::now() - started > std::chrono::minutes(10)) {
            std::fprintf(stderr, "gave up with %llu records waiting\n",
                         static_cast<unsigned long long>(waiting));
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double publisherCpu = bench::CpuSeconds() - cpuBefore;
    publisher.Stop();
    broker.Stop(); // reaped: its processor time is now in this process's children's
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const double brokerCpu =
        static_cast<double>(children.ru_utime.tv_sec + children.ru_stime.tv_sec) +
        static_cast<double>(children.ru_utime.tv_usec + children.ru_stime.tv_usec) / 1e6 - childrenBefore;
    std::printf("published and acknowledged: %u records in %.2f s = %.0f records/s (target >= 20000)\n",
                total, seconds, total / seconds);
    std::printf("resident memory: %ld KiB before, %ld KiB peak while publishing (+%ld KiB)\n", before, peak,
                peak - before);
    // On a machine shared with other work the wall-clock rate understates what the code can do; the
    // processor time per record says what each side needs (they run on separate cores).
    std::printf("processor time: publisher %.2f s (%.1f us/record), broker %.2f s (%.1f us/record)\n",
                publisherCpu, 1e6 * publisherCpu / total, brokerCpu, 1e6 * brokerCpu / total);
    std::printf("records per second the busier side allows on idle cores: %.0f\n",
                total / std::max(publisherCpu, brokerCpu));
    return 0;
}

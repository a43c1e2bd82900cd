// The serial adapter pulled out: terrix-sim's pseudo-terminal closed while terrix-cli scans or measures.
// The program must end with the port-error status and a message, spend no processor time on the dead
// device, leave whole files and no partial bus behind, and work again once the device is back on the link.

#include "sim_cli.h"

#include <chrono>
#include <future>
#include <sys/resource.h>
#include <thread>

namespace terrix::test {
namespace {

using namespace std::chrono_literals;

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class VanishingPortTest : public SimCliTest {
protected:
    // terrix-sim behind a link that stays the same across restarts, with a trace of the bus traffic.
    void StartLinkedSim() {
        StartSim({"--link", link.string(), "--trace", (data / "sim-trace.txt").string()});
        port = link.string();
    }
    // terrix-cli in the background; `timeout` ends it should it never end by itself.
    std::future<RunResult> CliAsync(const std::vector<std::string>& args) {
        std::vector<std::string> all = Args(args);
        all.insert(all.begin(), {"60", TERRIX_CLI_PATH});
        return std::async(std::launch::async, [all] { return RunProgram("/usr/bin/timeout", all); });
    }
    // Waits until `ready` holds, then closes the pseudo-terminal under the running program.
    template <typename Ready> void PullOutWhen(Ready ready) {
        ASSERT_TRUE(WaitUntil(ready, 60'000)) << "the program never got that far";
        sim->Stop();
        cpuAtPull = ChildrenCpuSeconds(); // terrix-sim's share is counted from here on
        pulledAt = std::chrono::steady_clock::now();
    }
    // Reported once, soon, and without spinning: a busy loop on the dead device would burn the whole time
    // since the pull.
    void ExpectPortErrorSoonAndQuietly(const RunResult& r) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - pulledAt).count();
        EXPECT_EQ(r.exitCode, 2) << r.err;
        const std::string message = "Lost the connection to " + link.string();
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(message), r.err.rfind(message)) << "reported more than once: " << r.err;
        EXPECT_LT(seconds, 20.0) << "no endless retrying";
        EXPECT_LT(ChildrenCpuSeconds() - cpuAtPull, 0.5 * seconds + 2.0);
    }

    std::filesystem::path link = data / "tty";
    double cpuAtPull = 0;
    std::chrono::steady_clock::time_point pulledAt;
};

TEST_F(VanishingPortTest, CompleteScanEndsWithPortErrorSavesNothingAndWorksAgainOnTheSameLink) {
    StartLinkedSim();
    std::future<RunResult> scan = CliAsync(Words("scan --mode complete"));
    // The multiplexer and the first probe answered; the scan is on its way through the stations.
    PullOutWhen([&] { return Lines(ReadFileBytes(data / "sim-trace.txt")) >= 30; });
    ExpectPortErrorSoonAndQuietly(scan.get());
    const std::string settings = ReadFileBytes(data / "Terrix.ini");
    EXPECT_EQ(settings.find("[BUS INFO]"), std::string::npos) << "part of the bus saved as the bus:\n"
                                                              << settings;

    // Back on the same link: a scan (of the stations remembered, to keep the test short) finds every module.
    StartLinkedSim();
    SaveBus(kSavedBus);
    const RunResult again = CliAsync(Words("scan --mode known")).get();
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("4 module(s), 0 collision(s)"), std::string::npos) << again.out;
}

TEST_F(VanishingPortTest, MeasuringLoopReportsTheLostPortOnceAndStopsWithWholeFiles) {
    StartLinkedSim();
    SaveBus(kSavedBus);
    std::future<RunResult> loop = CliAsync(Words("measure --loop --rate 0"));
    // A record of the XV module: the first round has reached its third module.
    PullOutWhen([&] { return RecordCount(40218) >= 1; });
    ExpectPortErrorSoonAndQuietly(loop.get());
    // Every file reached before the pull holds its header and whole records, and the ASCII file a line per
    // record.
    for (const auto& [serial, size] : kRecordSizes) {
        WholeRecords(serial);
    }
}

// With --reconnect the loop says on standard error when the device goes and when it is back (terrix-sim
// restarted on the same link), measures on after it, and the files hold whole records throughout.
TEST_F(VanishingPortTest, ReconnectingLoopMeasuresOnWhenTheDeviceIsBackOnTheSameLink) {
    StartLinkedSim();
    SaveBus(kSavedBus);
    std::future<RunResult> loop = CliAsync(Words("measure --loop --rate 0 --reconnect --duration 40"));
    PullOutWhen([&] { return RecordCount(40218) >= 1; });
    const size_t atPull = RecordCount(40218);
    std::this_thread::sleep_for(2s);
    StartLinkedSim();
    const RunResult r = loop.get();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string lost = "Lost the connection to " + link.string();
    EXPECT_NE(r.err.find(lost), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(lost), r.err.rfind(lost)) << "reported more than once: " << r.err;
    EXPECT_NE(r.err.find("the port is back after 00:00:"), std::string::npos) << r.err;
    // The round cut by the pull may have added one record of error markers; measuring on adds more.
    EXPECT_GE(RecordCount(40218), atPull + 2) << r.err;
    for (const auto& [serial, size] : kRecordSizes) {
        WholeRecords(serial);
    }
}

} // namespace
} // namespace terrix::test

// The serial adapter pulled out: terrix-sim's pseudo-terminal closed while terrix-cli scans or measures.
// The program must end with the port-error status and a message, spend no processor time on the dead
// device, leave whole files and no partial bus behind, and work again once the device is back on the link.

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <sys/resource.h>
#include <thread>

namespace terrix::test {
namespace {

using namespace std::chrono_literals;

// The default scenario's bus as a scan saves it (module files are not needed: the stations are probed).
const std::string kSavedBus =
    "[BUS "
    "INFO]\r\nModules=4\r\nModule0=31042,1\r\nModule1=31057,2\r\nModule2=40218,3\r\nModule3=20513,252\r\n";

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

size_t LineCount(const std::filesystem::path& file) {
    const std::string text = ReadFileBytes(file);
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class VanishingPortTest : public ::testing::Test {
protected:
    void StartSim() {
        sim = std::make_unique<BackgroundProcess>(
            TERRIX_SIM_PATH,
            std::vector<std::string>{"--link", link.string(), "--trace", (data / "sim-trace.txt").string()});
        ASSERT_TRUE(sim->running()) << "terrix-sim did not start";
    }
    // terrix-cli in the background; `timeout` ends it should it never end by itself.
    std::future<RunResult> CliAsync(std::vector<std::string> args) {
        std::vector<std::string> all = {"60",     TERRIX_CLI_PATH, "--data-dir", data.path().string(),
                                        "--port", link.string()};
        all.insert(all.end(), args.begin(), args.end());
        return std::async(std::launch::async, [all] { return RunProgram("/usr/bin/timeout", all); });
    }
    // Waits until `ready` holds, then closes the pseudo-terminal under the running program.
    template <typename Ready> void PullOutWhen(Ready ready) {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!ready() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
        }
        ASSERT_TRUE(ready()) << "the program never got that far";
        sim->Stop();
        cpuAtPull = ChildrenCpuSeconds(); // terrix-sim's share is counted from here on
        pulledAt = std::chrono::steady_clock::now();
    }
    void ExpectPortErrorSoonAndQuietly(const RunResult& r) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - pulledAt).count();
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find("Lost the connection to " + link.string()), std::string::npos) << r.err;
        EXPECT_LT(seconds, 20.0) << "no endless retrying";
        // A busy loop on the dead device would burn the whole time since the pull.
        EXPECT_LT(ChildrenCpuSeconds() - cpuAtPull, 0.5 * seconds + 2.0);
    }

    TempDir data;
    std::filesystem::path link = data / "tty";
    std::unique_ptr<BackgroundProcess> sim;
    double cpuAtPull = 0;
    std::chrono::steady_clock::time_point pulledAt;
};

TEST_F(VanishingPortTest, CompleteScanEndsWithPortErrorSavesNothingAndWorksAgainOnTheSameLink) {
    StartSim();
    std::future<RunResult> scan = CliAsync({"scan", "--mode", "complete"});
    // The multiplexer and the first probe answered; the scan is on its way through the stations.
    PullOutWhen([&] { return LineCount(data / "sim-trace.txt") >= 30; });
    const RunResult r = scan.get();
    ExpectPortErrorSoonAndQuietly(r);
    const std::string settings =
        std::filesystem::exists(data / "Terrix.ini") ? ReadFileBytes(data / "Terrix.ini") : std::string();
    EXPECT_EQ(settings.find("[BUS INFO]"), std::string::npos) << "part of the bus saved as the bus:\n"
                                                              << settings;

    // Back on the same link: a scan (of the stations remembered, to keep the test short) finds every module.
    StartSim();
    WriteFileBytes(data / "Terrix.ini", kSavedBus);
    const RunResult again = CliAsync({"--quiet", "scan", "--mode", "known"}).get();
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("4 module(s), 0 collision(s)"), std::string::npos) << again.out;
}

TEST_F(VanishingPortTest, MeasuringLoopReportsTheLostPortOnceAndStopsWithWholeFiles) {
    StartSim();
    WriteFileBytes(data / "Terrix.ini", kSavedBus);
    std::future<RunResult> loop = CliAsync({"--quiet", "measure", "--loop", "--rate", "0"});
    // A record of the XV module: the first round has reached its third module.
    PullOutWhen([&] {
        std::error_code ec;
        return std::filesystem::file_size(data / "40218.BinMeasData", ec) >= 56 + 39 && !ec;
    });
    const RunResult r = loop.get();
    ExpectPortErrorSoonAndQuietly(r);
    size_t reports = 0;
    for (size_t at = r.err.find("Lost the connection"); at != std::string::npos;
         at = r.err.find("Lost the connection", at + 1)) {
        ++reports;
    }
    EXPECT_EQ(reports, 1u) << r.err;
    // Every file holds its header and whole records, and the ASCII file a line per record.
    for (const auto& [serial, size] : {std::pair{31042, 12u}, {31057, 12u}, {40218, 39u}, {20513, 12u}}) {
        SCOPED_TRACE(serial);
        const auto binary = data / (std::to_string(serial) + ".BinMeasData");
        if (!std::filesystem::exists(binary)) {
            continue; // not reached before the pull
        }
        const size_t bytes = std::filesystem::file_size(binary);
        ASSERT_GE(bytes, 56u);
        EXPECT_EQ((bytes - 56) % size, 0u);
        EXPECT_EQ(LineCount(data / (std::to_string(serial) + ".ASC")), 1 + (bytes - 56) / size);
    }
}

} // namespace
} // namespace terrix::test

// terrix-cli.exe, the Windows build, under Wine against terrix-sim's pseudo-terminal as a COM port: the runs
// a technician makes must give what the Linux build gives. TERRIX_WINDOWS_BUILD names the Windows build
// folder (scripts/test-windows.sh sets it); without it the cases are skipped.
//
// Wine makes COM<n> of the registry key HKLM\Software\Wine\Ports a link to the path given there; each case
// has a COM number and a link of its own, so that the cases can run side by side in one Wine prefix.

#include "sim_cli.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace terrix::test {
namespace {

using namespace std::chrono_literals;

std::string WindowsBuild() {
    const char* dir = std::getenv("TERRIX_WINDOWS_BUILD");
    return dir != nullptr ? dir : "";
}

class WineCliTest : public SimCliTest {
protected:
    // Prepares the prefix once (creating it, then mapping COM1..COM8 to links inside it) and starts
    // terrix-sim behind the link of COM `number`.
    void SetUp() override {
        if (WindowsBuild().empty()) {
            GTEST_SKIP() << "TERRIX_WINDOWS_BUILD is not set (scripts/test-windows-e2e.sh runs these cases)";
        }
    }
    void StartWineSim(int number, std::vector<std::string> simArgs = {}) {
        exe = WindowsBuild() + "/bin/terrix-cli.exe";
        prefix = WindowsBuild() + "/wine-e2e";
        ASSERT_TRUE(std::filesystem::exists(exe)) << exe;
        comName = "COM" + std::to_string(number);
        link = prefix + "/" + comName + "-sim";
        const std::string script = "set -e; export WINEPREFIX='" + prefix +
                                   "' WINEDEBUG=-all; [ -f \"$WINEPREFIX/ports-mapped\" ] && exit 0; "
                                   "mkdir -p \"$WINEPREFIX\"; wineboot -i >/dev/null 2>&1 || true; "
                                   "for n in 1 2 3 4 5 6 7 8; do wine reg add 'HKLM\\Software\\Wine\\Ports' "
                                   "/v COM$n /d \"$WINEPREFIX/COM$n-sim\" "
                                   "/f >/dev/null 2>&1; done; wineserver -k || true; wineserver -w || true; "
                                   "touch \"$WINEPREFIX/ports-mapped\"";
        const RunResult prepared = RunProgram("/usr/bin/flock", {prefix + ".lock", "sh", "-c", script});
        ASSERT_EQ(prepared.exitCode, 0) << prepared.err;
        simArgs.insert(simArgs.end(), {"--link", link});
        StartSim(simArgs);
        port = comName;
    }
    std::vector<std::string> WineArgs(const std::vector<std::string>& args) const {
        // Wine reaches the Linux folders through drive Z:.
        std::vector<std::string> all = {
            "/usr/bin/env", "WINEPREFIX=" + prefix,      "WINEDEBUG=-all", "wine", exe,
            "--data-dir",   "Z:" + data.path().string(), "--port",         port,   "--quiet"};
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
    RunResult Wine(const std::string& command) const {
        const std::vector<std::string> all = WineArgs(Words(command));
        return RunProgram(all[0], std::vector<std::string>(all.begin() + 1, all.end()));
    }
    bool WineOk(const std::string& command) const {
        const RunResult r = Wine(command);
        EXPECT_EQ(r.exitCode, 0) << command << ": " << r.err << r.out;
        return r.exitCode == 0;
    }
    // Each record of a module's binary file in `dir` without its time stamp (the first four bytes).
    static std::vector<std::string> RecordsWithoutTime(const std::filesystem::path& dir, int serial) {
        const std::string records = ReadFileBytes(dir / (std::to_string(serial) + ".BinMeasData"));
        const size_t size = kRecordSizes.at(serial);
        std::vector<std::string> out;
        for (size_t at = kMeasHeaderSize; at + size <= records.size(); at += size) {
            out.push_back(records.substr(at + 4, size - 4));
        }
        return out;
    }

    std::string exe;
    std::string prefix;
    std::string comName;
    std::string link;
};

// A complete scan saves the bus; three rounds store the records the Linux build stores against a simulator
// with the same seed.
TEST_F(WineCliTest, ScanAndThreeRoundsMatchTheLinuxBuild) {
    StartWineSim(1, {"--seed", "7"});
    ASSERT_TRUE(WineOk("scan --mode complete"));
    EXPECT_NE(ReadFileBytes(data / "Terrix.ini").find(kSavedBus), std::string::npos);
    ASSERT_TRUE(WineOk("measure --rounds 3 --rate 0"));
    // The Linux build, in a fresh folder, against a fresh simulator with the same seed.
    TempDir linuxData;
    StartSim({"--seed", "7"});
    for (const char* command : {"scan --mode complete", "measure --rounds 3 --rate 0"}) {
        std::vector<std::string> args = Args(Words(command));
        args[1] = linuxData.path().string();
        const RunResult r = RunProgram(TERRIX_CLI_PATH, args);
        ASSERT_EQ(r.exitCode, 0) << command << ": " << r.err;
    }
    for (const auto& [serial, size] : kRecordSizes) {
        WholeRecords(serial);
        EXPECT_EQ(RecordsWithoutTime(data.path(), serial).size(), 3u) << serial;
        EXPECT_EQ(RecordsWithoutTime(data.path(), serial), RecordsWithoutTime(linuxData.path(), serial))
            << serial;
    }
}

// Collision resolution, a station change and a configuration written and read back, as on Linux.
TEST_F(WineCliTest, CollisionStationChangeAndConfiguration) {
    StartWineSim(2, {"--scenario", std::string(TERRIX_SOURCE_DIR) + "/sim/scenarios/collision.json"});
    SaveBus("[BUS INFO]\r\nModules=3\r\nModule0=40218,1\r\nModule1=31042,5\r\nModule2=20513,252\r\n",
            {40218, 31042, 20513});
    const RunResult collided = Wine("scan --mode known");
    EXPECT_EQ(collided.exitCode, 5) << collided.err;
    ASSERT_TRUE(WineOk("scan --mode known --resolve range:31000-31100"));
    EXPECT_NE(
        ReadFileBytes(data / "Terrix.ini")
            .find("Modules=4\r\nModule0=40218,1\r\nModule1=31042,2\r\nModule2=31057,5\r\nModule3=20513,252"),
        std::string::npos);
    ASSERT_TRUE(WineOk("set-station --serial 31057 --station 40"));
    ASSERT_TRUE(WineOk("user-info set --station 40 --place Feld-7 --comment Nord --yes"));
    const RunResult read = Wine("--json user-info get --station 40");
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_NE(read.out.find("Feld-7"), std::string::npos) << read.out;
    EXPECT_NE(read.out.find("Nord"), std::string::npos) << read.out;
}

// The device vanishing under a loop ends it with the port error, naming the port; with --reconnect the
// loop measures on once the device is back, and Ctrl+C (SIGINT to Wine, a CTRL_C_EVENT for the program)
// ends it with 130.
TEST_F(WineCliTest, VanishingPortReconnectAndCtrlC) {
    StartWineSim(3);
    SaveBus(kSavedBus);
    {
        std::vector<std::string> args = WineArgs(Words("measure --loop --rate 0"));
        BackgroundProcess loop("/usr/bin/timeout", [&] {
            args.insert(args.begin(), "120");
            return args;
        }());
        ASSERT_TRUE(WaitUntil([&] { return RecordCount(40218) >= 1; }, 90'000));
        sim->Stop();
        EXPECT_EQ(loop.WaitExit(60'000), 2);
    }
    StartWineSim(3);
    std::vector<std::string> args = WineArgs(Words("measure --loop --rate 0 --reconnect"));
    args.erase(args.begin()); // BackgroundProcess takes the program apart
    BackgroundProcess loop("/usr/bin/env", args);
    ASSERT_TRUE(WaitUntil([&] { return RecordCount(40218) >= 2; }, 90'000));
    sim->Stop();
    std::this_thread::sleep_for(2s);
    const size_t atPull = RecordCount(40218);
    StartWineSim(3);
    EXPECT_TRUE(WaitUntil([&] { return RecordCount(40218) >= atPull + 2; }, 90'000))
        << "no values after the device came back";
    ASSERT_TRUE(loop.Signal(SIGINT));
    EXPECT_EQ(loop.WaitExit(60'000), 130);
    for (const auto& [serial, size] : kRecordSizes) {
        WholeRecords(serial);
    }
}

} // namespace
} // namespace terrix::test

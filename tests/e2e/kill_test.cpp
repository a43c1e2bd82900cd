// Power loss: terrix-cli killed with SIGKILL at random moments while it measures in a loop, and while a scan
// saves the bus. After every kill each measurement file is its header and whole records (a trailing part
// of a record is allowed; the next append repairs it), nothing stored before is lost or changed, and a
// module file holds its old or its new content, the settings file old or new sections, never a part.
// TERRIX_KILLS sets the number of kills (scripts/kill-test.sh runs 100), TERRIX_KILL_SEED the random seed
// (printed).

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <unistd.h>

namespace terrix::test {
namespace {

const std::string kSavedBus =
    "[BUS "
    "INFO]\r\nModules=4\r\nModule0=31042,1\r\nModule1=31057,2\r\nModule2=40218,3\r\nModule3=20513,252\r\n";
// The default scenario's modules and the record sizes of their binary files.
const std::map<int, size_t> kRecordSizes = {{31042, 12}, {31057, 12}, {40218, 39}, {20513, 12}};
constexpr size_t kHeader = 56;

int EnvInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

std::string FileOrEmpty(const std::filesystem::path& file) {
    return std::filesystem::exists(file) ? ReadFileBytes(file) : std::string();
}

size_t Lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The sections of a profile file by name, each with its lines (carriage returns dropped).
std::map<std::string, std::string> Sections(const std::string& text) {
    std::map<std::string, std::string> sections;
    std::string name;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (!line.empty() && line[0] == '[') {
            name = line;
        }
        sections[name] += line;
        start = end;
    }
    return sections;
}

class KillTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartSim();
        kills = EnvInt("TERRIX_KILLS", 2);
        const int seed = EnvInt("TERRIX_KILL_SEED", 16);
        std::cout << "kills: " << kills << ", seed: " << seed << " (TERRIX_KILLS, TERRIX_KILL_SEED)\n";
        random.seed(static_cast<unsigned>(seed));
        WriteFileBytes(data / "Terrix.ini", kSavedBus);
    }
    // A fresh simulator for every run: a process killed in mid-transaction leaves the simulated module
    // halfway through its reply, and what that does to the next program is not what this test is about.
    void RestartSim() {
        sim.reset();
        sim = std::make_unique<BackgroundProcess>(TERRIX_SIM_PATH, std::vector<std::string>{});
        ASSERT_TRUE(sim->running()) << "terrix-sim did not start";
    }
    std::vector<std::string> Args(std::vector<std::string> args) const {
        std::vector<std::string> all = {"--data-dir", data.path().string(), "--port", sim->firstLine(),
                                        "--quiet"};
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    TempDir data;
    std::unique_ptr<BackgroundProcess> sim;
    int kills = 0;
    std::mt19937 random;
};

TEST_F(KillTest, MeasuringLoopKilledAtRandomKeepsEveryWholeRecord) {
    std::map<int, std::string> kept; // each module's whole records after the previous kill
    size_t records = 0;
    size_t partials = 0; // trailing parts of a record seen after a kill
    for (int k = 0; k < kills; ++k) {
        SCOPED_TRACE("kill " + std::to_string(k));
        RestartSim();
        {
            // Values go to standard output as they are stored; the first one marks a running loop.
            BackgroundProcess cli(TERRIX_CLI_PATH, Args({"--json", "measure", "--loop", "--rate", "0"}),
                                  60'000);
            ASSERT_TRUE(cli.running()) << "no value from measure --loop";
            usleep(static_cast<useconds_t>(Uniform(0, 6000)) * 1000); // a round takes about five seconds
            ASSERT_TRUE(cli.Signal(SIGKILL));
            ASSERT_EQ(cli.WaitExit(10'000), 128 + SIGKILL);
        }
        records = 0;
        for (const auto& [serial, size] : kRecordSizes) {
            SCOPED_TRACE(serial);
            const std::string binary = FileOrEmpty(data / (std::to_string(serial) + ".BinMeasData"));
            if (binary.empty()) {
                EXPECT_TRUE(kept[serial].empty()) << "a file with records vanished";
                continue;
            }
            ASSERT_GE(binary.size(), kHeader) << "a header cut short";
            const size_t whole = (binary.size() - kHeader) / size;
            partials += (binary.size() - kHeader) % size != 0 ? 1 : 0;
            const std::string body = binary.substr(kHeader, whole * size);
            ASSERT_GE(body.size(), kept[serial].size()) << "records lost";
            EXPECT_EQ(body.substr(0, kept[serial].size()), kept[serial]) << "stored records changed";
            kept[serial] = body;
            records += whole;
        }
    }
    RestartSim();
    // One clean round after the last kill: every binary file is whole again and its ASCII file has a title
    // line and one line per record.
    const RunResult r = RunProgram(TERRIX_CLI_PATH, Args({"measure", "--rounds", "1", "--rate", "0"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const auto& [serial, size] : kRecordSizes) {
        SCOPED_TRACE(serial);
        const std::string binary = FileOrEmpty(data / (std::to_string(serial) + ".BinMeasData"));
        ASSERT_GE(binary.size(), kHeader);
        EXPECT_EQ((binary.size() - kHeader) % size, 0u) << "the trailing part was not repaired";
        EXPECT_EQ(binary.substr(kHeader, kept[serial].size()), kept[serial]);
        EXPECT_EQ(Lines(FileOrEmpty(data / (std::to_string(serial) + ".ASC"))),
                  1 + (binary.size() - kHeader) / size);
    }
    std::cout << kills << " kills, " << records << " whole records checked after the last one, " << partials
              << " trailing part(s) of a record seen\n";
}

TEST_F(KillTest, ScanKilledWhileSavingLeavesOldOrNewFiles) {
    // The files as a whole scan of the saved stations writes them, starting from the hand-written state.
    const std::vector<std::string> files = {"Terrix.ini", "31042.ini", "31057.ini", "40218.ini", "20513.ini"};
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunProgram(TERRIX_CLI_PATH, Args({"scan", "--mode", "known"})).exitCode, 0);
    const int scanMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count());
    std::map<std::string, std::string> written;
    for (const std::string& f : files) {
        written[f] = FileOrEmpty(data / f);
        ASSERT_FALSE(written[f].empty()) << f;
    }
    int killedInTime = 0;
    for (int k = 0; k < kills; ++k) {
        SCOPED_TRACE("kill " + std::to_string(k));
        for (const std::string& f : files) {
            std::filesystem::remove(data / f);
        }
        WriteFileBytes(data / "Terrix.ini", kSavedBus);
        RestartSim();
        // Most kills land near the end, where the scan saves.
        const int delay = Uniform(scanMs / 2, scanMs + 200);
        BackgroundProcess cli(TERRIX_CLI_PATH, Args({"scan", "--mode", "known"}), delay);
        cli.Signal(SIGKILL);
        killedInTime += cli.WaitExit(10'000) == 128 + SIGKILL ? 1 : 0;
        for (const std::string& f : files) {
            SCOPED_TRACE(f);
            const std::string now = FileOrEmpty(data / f);
            if (f == "Terrix.ini") {
                // The scan saves the known modules and then the bus, each save atomic: every section is
                // the old or the new one, whole.
                const auto oldSections = Sections(kSavedBus);
                const auto newSections = Sections(written[f]);
                for (const auto& [name, text] : Sections(now)) {
                    EXPECT_TRUE((oldSections.count(name) != 0 && oldSections.at(name) == text) ||
                                (newSections.count(name) != 0 && newSections.at(name) == text))
                        << "section " << name << " is neither old nor new:\n"
                        << now;
                }
                continue;
            }
            EXPECT_TRUE(now.empty() || now == written[f]) << "neither old nor new:\n" << now;
        }
    }
    std::cout << killedInTime << " of " << kills << " scans killed before their end\n";
}

} // namespace
} // namespace terrix::test

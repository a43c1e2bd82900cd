// Power loss: terrix-cli killed with SIGKILL at random moments while it measures in a loop, and while a scan
// saves the bus. After every kill each measurement file is its header and whole records (a trailing part
// of a record is allowed; the next append repairs it), nothing stored before is lost or changed, and a
// module file holds its old or its new content, the settings file old or new sections, never a part.
// TERRIX_KILLS sets the number of kills (scripts/kill-test.sh runs 100), TERRIX_KILL_SEED the random seed
// (printed).

#include "sim_cli.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <random>
#include <unistd.h>

namespace terrix::test {
namespace {

int EnvInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

// The sections of a profile file by name, each with its lines (carriage returns dropped).
std::map<std::string, std::string> Sections(const std::string& text) {
    std::map<std::string, std::string> sections;
    std::string name;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (!line.empty() && line[0] == '[') {
            name = line;
        }
        sections[name] += line + (lines.eof() ? "" : "\n"); // a last line cut before its end stays so
    }
    return sections;
}

// A fresh simulator for every run: a process killed in mid-transaction leaves the simulated module halfway
// through its reply, and what that does to the next program is not what this test is about.
class KillTest : public SimCliTest {
protected:
    void SetUp() override {
        kills = EnvInt("TERRIX_KILLS", 2);
        const int seed = EnvInt("TERRIX_KILL_SEED", 16);
        std::cout << "kills: " << kills << ", seed: " << seed << " (TERRIX_KILLS, TERRIX_KILL_SEED)\n";
        random.seed(static_cast<unsigned>(seed));
        SaveBus(kSavedBus);
    }
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    int kills = 0;
    std::mt19937 random;
};

TEST_F(KillTest, MeasuringLoopKilledAtRandomKeepsEveryWholeRecord) {
    std::map<int, std::string> kept; // each module's whole records after the previous kill
    size_t records = 0;
    size_t partials = 0; // trailing parts of a record seen after a kill
    for (int k = 0; k < kills; ++k) {
        SCOPED_TRACE("kill " + std::to_string(k));
        StartSim();
        {
            // Values go to standard output as they are stored; the first one marks a running loop.
            BackgroundProcess cli(TERRIX_CLI_PATH, Args(Words("--json measure --loop --rate 0")), 60'000);
            ASSERT_TRUE(cli.running()) << "no value from measure --loop";
            usleep(static_cast<useconds_t>(Uniform(0, 6000)) * 1000); // a round takes about five seconds
            ASSERT_TRUE(cli.Signal(SIGKILL));
            ASSERT_EQ(cli.WaitExit(10'000), 128 + SIGKILL);
        }
        records = 0;
        for (const auto& [serial, size] : kRecordSizes) {
            SCOPED_TRACE(serial);
            const std::string binary = ReadFileBytes(data / (std::to_string(serial) + ".BinMeasData"));
            if (binary.empty()) {
                EXPECT_TRUE(kept[serial].empty()) << "a file with records vanished";
                continue;
            }
            ASSERT_GE(binary.size(), kMeasHeaderSize) << "a header cut short";
            const size_t whole = (binary.size() - kMeasHeaderSize) / size;
            partials += (binary.size() - kMeasHeaderSize) % size != 0 ? 1 : 0;
            const std::string body = binary.substr(kMeasHeaderSize, whole * size);
            ASSERT_GE(body.size(), kept[serial].size()) << "records lost";
            EXPECT_EQ(body.substr(0, kept[serial].size()), kept[serial]) << "stored records changed";
            kept[serial] = body;
            records += whole;
        }
    }
    StartSim();
    // One clean round after the last kill repairs a trailing part and adds a record to every file.
    ASSERT_TRUE(CliOk(Words("measure --rounds 1 --rate 0")));
    for (const auto& [serial, size] : kRecordSizes) {
        const std::string now = WholeRecords(serial);
        EXPECT_GE(now.size(), kept[serial].size() + size) << serial;
        EXPECT_EQ(now.substr(0, kept[serial].size()), kept[serial]) << serial;
    }
    std::cout << kills << " kills, " << records << " whole records checked after the last one, " << partials
              << " trailing part(s) of a record seen\n";
}

TEST_F(KillTest, ScanKilledWhileSavingLeavesOldOrNewFiles) {
    // The files as a whole scan of the saved stations writes them, starting from the hand-written state.
    const std::vector<std::string> files = {"Terrix.ini", "31042.ini", "31057.ini", "40218.ini", "20513.ini"};
    StartSim();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(CliOk(Words("scan --mode known")));
    const int scanMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count());
    std::map<std::string, std::string> written;
    for (const std::string& f : files) {
        written[f] = ReadFileBytes(data / f);
        ASSERT_FALSE(written[f].empty()) << f;
    }
    int killedInTime = 0;
    for (int k = 0; k < kills; ++k) {
        SCOPED_TRACE("kill " + std::to_string(k));
        for (const std::string& f : files) {
            std::filesystem::remove(data / f);
        }
        SaveBus(kSavedBus);
        StartSim();
        // Most kills land near the end, where the scan saves.
        const int delay = Uniform(scanMs / 2, scanMs + 200);
        BackgroundProcess cli(TERRIX_CLI_PATH, Args(Words("scan --mode known")), delay);
        cli.Signal(SIGKILL);
        killedInTime += cli.WaitExit(10'000) == 128 + SIGKILL ? 1 : 0;
        for (const std::string& f : files) {
            SCOPED_TRACE(f);
            const std::string now = ReadFileBytes(data / f);
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

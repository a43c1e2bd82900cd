// terrix-cli against terrix-sim over a pseudo-terminal: the programs as a technician runs them.

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>

namespace terrix::test {
namespace {

const std::string kScenarios = std::string(TERRIX_SOURCE_DIR) + "/sim/scenarios/";

class CliBusTest : public ::testing::Test {
protected:
    void StartSim(const std::string& scenario = {}) {
        std::vector<std::string> args;
        if (!scenario.empty()) {
            args = {"--scenario", kScenarios + scenario};
        }
        sim = std::make_unique<BackgroundProcess>(TERRIX_SIM_PATH, args);
        ASSERT_TRUE(sim->running()) << "terrix-sim did not start";
    }
    RunResult Cli(std::vector<std::string> args) {
        std::vector<std::string> all = {"--data-dir", data.path().string(), "--port", sim->firstLine(), "--quiet"};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(TERRIX_CLI_PATH, all);
    }
    static nlohmann::json Json(const RunResult& r) { return nlohmann::json::parse(r.out, nullptr, false); }

    TempDir data;
    std::unique_ptr<BackgroundProcess> sim;
};

std::string ModuleNameFromStationInfo(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 3) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    if (bytes.size() < 15) {
        return {};
    }
    return std::string(bytes.begin() + 15, bytes.begin() + 15 + std::min<size_t>(bytes[14], bytes.size() - 15));
}

TEST_F(CliBusTest, SendReadsStationInformationAndReportsBusErrors) {
    StartSim();
    struct Case {
        int station;
        int exitCode;
        int busError;
        const char* name;
    };
    for (const Case c : {Case{1, 0, 0, "PX-TAVIK2"}, Case{3, 0, 0, "PX-TAVIK2XV"}, Case{252, 0, 0, "PX-ROV4"},
                         Case{100, 3, 9, ""}}) {
        const RunResult r = Cli({"--json", "send", "--station", std::to_string(c.station), "--command", "2"});
        ASSERT_EQ(r.exitCode, c.exitCode) << r.err;
        const nlohmann::json j = Json(r);
        ASSERT_FALSE(j.is_discarded()) << r.out;
        EXPECT_EQ(j["lastBusError"], c.busError) << c.station;
        if (c.busError == 0) {
            EXPECT_EQ(ModuleNameFromStationInfo(j["replyData"]), c.name);
        } else {
            EXPECT_EQ(j["lastBusErrorText"], "Module does not answer");
        }
    }
}

TEST_F(CliBusTest, CollisionReadsAsError11) {
    StartSim("collision.json");
    const RunResult r = Cli({"send", "--station", "5", "--command", "2"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.out.find("LastBusError: 11 (Checksum error in received addr block (collison found?))"),
              std::string::npos)
        << r.out;
}

TEST_F(CliBusTest, CompleteScanOfTheDefaultBusWritesTheBusFiles) {
    StartSim();
    const RunResult r = Cli({"--json", "scan", "--mode", "complete"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = Json(r);
    ASSERT_EQ(j["count"], 4);
    EXPECT_EQ(j["collisions"], 0);
    EXPECT_EQ(j["modules"][0]["iaStation"], 1);
    EXPECT_EQ(j["modules"][3]["StationInfo"]["acModuleName"], "PX-ROV4");
    for (const char* serial : {"31042", "31057", "40218", "20513"}) {
        EXPECT_TRUE(std::filesystem::exists(data / (std::string(serial) + ".ini"))) << serial;
    }
    const std::string settings = ReadFileBytes(data / "Terrix.ini");
    EXPECT_NE(settings.find("[BUS INFO]\r\nModules=4\r\nModule0=31042,1\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("[KNOWN MODULES]"), std::string::npos);

    // The saved bus is shown without bus traffic, even with the simulator gone.
    sim->Stop();
    const RunResult list = Cli({"list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_NE(list.out.find("PX-TAVIK2XV"), std::string::npos) << list.out;
}

TEST_F(CliBusTest, CollisionIsReportedThenResolved) {
    StartSim("collision.json");
    // A bus saved earlier, before a second probe was put on station 5.
    WriteFileBytes(data / "Terrix.ini",
                   "[BUS INFO]\r\nModules=3\r\nModule0=40218,1\r\nModule1=31042,5\r\nModule2=20513,252\r\n");
    for (const char* serial : {"40218", "31042", "20513"}) {
        WriteFileBytes(data / (std::string(serial) + ".ini"), std::string("[StationInfo]\r\nwSerialNo=") + serial + "\r\n");
    }
    RunResult r = Cli({"scan", "--mode", "known"});
    EXPECT_EQ(r.exitCode, 5) << r.err;
    EXPECT_NE(r.err.find("--resolve"), std::string::npos) << r.err;
    EXPECT_NE(ReadFileBytes(data / "Terrix.ini").find("Modules=3\r\nModule0=40218,1\r\nModule1=31042,5"), std::string::npos)
        << "a bus with collisions is not saved";

    r = Cli({"--json", "scan", "--mode", "known", "--resolve", "range:31000-31100"});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    const nlohmann::json j = Json(r);
    EXPECT_EQ(j["collisions"], 0);
    EXPECT_EQ(j["count"], 4);
    // 31042 moved to the lowest free station, 2; 31057 stayed alone at 5.
    const std::string settings = ReadFileBytes(data / "Terrix.ini");
    EXPECT_NE(settings.find("Modules=4\r\nModule0=40218,1\r\nModule1=31042,2\r\nModule2=31057,5\r\nModule3=20513,252"),
              std::string::npos)
        << settings;
    EXPECT_TRUE(std::filesystem::exists(data / "31042.ini"));
    EXPECT_TRUE(std::filesystem::exists(data / "31057.ini"));

    // The moved module can be renumbered again by serial number.
    r = Cli({"set-station", "--serial", "31057", "--station", "40"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"--json", "send", "--station", "40", "--command", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// A module that always answers status 2 and one that is always busy are listed, but get no files of a
// serial they never told; scanning the unchanged bus again gives the same list and the same files.
TEST_F(CliBusTest, RepeatedScansOfAFailingAndABusyModuleAgree) {
    StartSim("failing.json");
    std::string firstList;
    std::set<std::string> firstFiles;
    for (int round = 0; round < 3; ++round) {
        const RunResult r = Cli({"--json", "scan"});
        ASSERT_EQ(r.exitCode, 0) << round << r.err;
        const nlohmann::json j = Json(r);
        std::string list;
        for (const nlohmann::json& m : j["modules"]) {
            list += std::to_string(m["StationInfo"]["wSerialNo"].get<int>()) + "@" +
                    std::to_string(m["iaStation"].get<int>()) + " ";
        }
        std::set<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(data.path())) {
            files.insert(entry.path().filename().string());
        }
        if (round == 0) {
            EXPECT_EQ(list, "31042@1 0@2 65535@4 ");
            EXPECT_EQ(files.count("0.ini") + files.count("65535.ini"), 0u);
            firstList = list;
            firstFiles = files;
        }
        EXPECT_EQ(list, firstList) << round;
        EXPECT_EQ(files, firstFiles) << round;
    }
    // Measuring the saved bus measures the probe only, into its own files.
    ASSERT_EQ(Cli({"measure", "--rounds", "1", "--rate", "0"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(data / "31042.BinMeasData"));
    for (const auto& entry : std::filesystem::directory_iterator(data.path())) {
        EXPECT_NE(entry.path().filename().string().rfind("0.", 0), 0u) << entry.path();
        EXPECT_NE(entry.path().filename().string().rfind("65535.", 0), 0u) << entry.path();
    }
}

// A command addressed by serial acts on that module only: a stale saved bus, a station that another module
// holds, or a module of the wrong kind changes nothing and leaves the saved bus as it was.
TEST_F(CliBusTest, SetStationActsOnlyOnTheAddressedModule) {
    StartSim(); // 31042 at 1, 31057 at 2, 40218 at 3
    struct Case {
        const char* savedBus;
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const std::string stale = "[BUS INFO]\r\nModules=2\r\nModule0=31057,1\r\nModule1=31042,2\r\n";
    const std::string current = "[BUS INFO]\r\nModules=2\r\nModule0=31042,1\r\nModule1=31057,2\r\n";
    for (const Case& c : {
             Case{stale.c_str(),
                  {"set-station", "--serial", "31042", "--station", "30"},
                  3,
                  "Module 31042 does not answer at station 2 (found 31057 there). Scan the bus first."},
             Case{stale.c_str(),
                  {"conversion-time", "set", "--serial", "31057", "--seconds", "76"},
                  3,
                  "(found 31042 there)"},
             Case{stale.c_str(),
                  {"offset", "set", "--serial", "31057", "1.5", "--yes"},
                  3,
                  "(found 31042 there)"},
             Case{stale.c_str(),
                  {"set-station", "--serial", "4711", "--station", "30"},
                  1,
                  "serial number 4711 is not in the saved bus"},
             Case{current.c_str(),
                  {"set-station", "--serial", "31042", "--station", "2"},
                  1,
                  "Station 2 is used by module 31057"},
             // Only the XV module has a conversion time; a probe's count stays as it is.
             Case{current.c_str(),
                  {"conversion-time", "set", "--serial", "31042", "--seconds", "76"},
                  1,
                  "This function is not valid for a module of that status!"},
         }) {
        WriteFileBytes(data / "Terrix.ini", c.savedBus);
        const RunResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(ReadFileBytes(data / "Terrix.ini"), c.savedBus);
    }
    // Nothing moved: both modules still answer where they were, nobody at 30.
    EXPECT_EQ(Cli({"send", "--station", "30", "--command", "2"}).exitCode, 3);
    EXPECT_EQ(Cli({"send", "--station", "1", "--command", "2"}).exitCode, 0);
    EXPECT_EQ(Cli({"send", "--station", "2", "--command", "2"}).exitCode, 0);
}

TEST_F(CliBusTest, UsageAndPortErrorsHaveTheirExitStatus) {
    StartSim();
    EXPECT_EQ(Cli({"create-collision", "--station", "251", "--yes"}).exitCode, 1);
    EXPECT_EQ(Cli({"known", "add", "0"}).exitCode, 1);
    EXPECT_EQ(Cli({"known", "add", "1234"}).exitCode, 0);
    EXPECT_EQ(Cli({"known", "add", "1234"}).exitCode, 1);
    // Scripts may pass --yes to every command; where nothing is asked it changes nothing.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"known", "add", "4321", "--yes"},
                                                 {"forget", "--yes"},
                                                 {"list", "--yes"},
                                                 {"conversion-time", "get", "--station", "3", "--yes"}}) {
        EXPECT_EQ(Cli(args).exitCode, 0) << args[0];
    }
    const RunResult nan = Cli({"offset", "set", "--station", "3", "nan", "--yes"});
    EXPECT_EQ(nan.exitCode, 1);
    EXPECT_NE(nan.err.find("must be a finite number"), std::string::npos) << nan.err;
    const RunResult missing = RunProgram(
        TERRIX_CLI_PATH, {"--data-dir", data.path().string(), "--port", "/dev/nonexistent-terrix", "scan"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
}

} // namespace
} // namespace terrix::test

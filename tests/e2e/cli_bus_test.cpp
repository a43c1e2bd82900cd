// terrix-cli against terrix-sim over a pseudo-terminal: the programs as a technician runs them.

#include "sim_cli.h"

#include <tuple>

namespace terrix::test {
namespace {

using CliBusTest = SimCliTest;

// The module name in station information printed as hex bytes: its length at byte 14, its text from byte 15.
std::string ModuleNameFromStationInfo(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 3) {
        bytes += static_cast<char>(std::stoul(hex.substr(i, 2), nullptr, 16));
    }
    return bytes.size() < 15 ? std::string() : bytes.substr(15, static_cast<uint8_t>(bytes[14]));
}

TEST_F(CliBusTest, SendReadsStationInformationAndReportsBusErrors) {
    StartSim();
    for (const auto& [station, exitCode, busError, name] :
         std::vector<std::tuple<int, int, int, const char*>>{
             {1, 0, 0, "PX-TAVIK2"}, {3, 0, 0, "PX-TAVIK2XV"}, {252, 0, 0, "PX-ROV4"}, {100, 3, 9, ""}}) {
        const RunResult r = Cli({"--json", "send", "--station", std::to_string(station), "--command", "2"});
        ASSERT_EQ(r.exitCode, exitCode) << r.err;
        nlohmann::json j = Json(r);
        EXPECT_EQ(j["lastBusError"], busError) << station;
        if (busError == 0) {
            EXPECT_EQ(ModuleNameFromStationInfo(j["replyData"]), name);
        } else {
            EXPECT_EQ(j["lastBusErrorText"], "Module does not answer");
        }
    }
}

TEST_F(CliBusTest, CompleteScanOfTheDefaultBusWritesTheBusFiles) {
    StartSim();
    nlohmann::json j = CliJson(Words("scan --mode complete"));
    EXPECT_EQ(nlohmann::json::array({j["count"], j["collisions"], j["modules"][0]["iaStation"],
                                     j["modules"][3]["StationInfo"]["acModuleName"]}),
              nlohmann::json::array({4, 0, 1, "PX-ROV4"}))
        << "count, collisions, first station, fourth module";
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
    StartSim({"--scenario", std::string(TERRIX_SOURCE_DIR) + "/sim/scenarios/collision.json"});
    // A bus saved earlier, before a second probe was put on station 5.
    SaveBus("[BUS INFO]\r\nModules=3\r\nModule0=40218,1\r\nModule1=31042,5\r\nModule2=20513,252\r\n",
            {40218, 31042, 20513});
    ExpectFailure(Words("scan --mode known"), 5, "--resolve");
    EXPECT_NE(ReadFileBytes(data / "Terrix.ini").find("Modules=3\r\nModule0=40218,1\r\nModule1=31042,5"),
              std::string::npos)
        << "a bus with collisions is not saved";

    nlohmann::json j = CliJson(Words("scan --mode known --resolve range:31000-31100"));
    EXPECT_EQ(nlohmann::json::array({j["collisions"], j["count"]}), nlohmann::json::array({0, 4}));
    // 31042 moved to the lowest free station, 2; 31057 stayed alone at 5.
    const std::string settings = ReadFileBytes(data / "Terrix.ini");
    EXPECT_NE(settings.find(
                  "Modules=4\r\nModule0=40218,1\r\nModule1=31042,2\r\nModule2=31057,5\r\nModule3=20513,252"),
              std::string::npos)
        << settings;
    EXPECT_EQ(FileNames().count("31042.ini") + FileNames().count("31057.ini"), 2u) << "both have their files";

    // The moved module can be renumbered again by serial number.
    EXPECT_TRUE(CliOk(Words("set-station --serial 31057 --station 40")));
    EXPECT_TRUE(CliOk(Words("send --station 40 --command 2")));
}

// A command addressed by serial acts on that module only: a stale saved bus, a station that another module
// holds, or a module of the wrong kind changes nothing and leaves the saved bus as it was.
TEST_F(CliBusTest, SetStationActsOnlyOnTheAddressedModule) {
    StartSim(); // 31042 at 1, 31057 at 2, 40218 at 3
    struct Case {
        bool staleBus; // else the bus as it is
        const char* command;
        int exitCode;
        const char* message;
    };
    const std::string stale = "[BUS INFO]\r\nModules=2\r\nModule0=31057,1\r\nModule1=31042,2\r\n";
    const std::string current = "[BUS INFO]\r\nModules=2\r\nModule0=31042,1\r\nModule1=31057,2\r\n";
    for (const Case& c : {
             Case{true, "set-station --serial 31042 --station 30", 3,
                  "Module 31042 does not answer at station 2 (found 31057 there). Scan the bus first."},
             Case{true, "conversion-time set --serial 31057 --seconds 76", 3, "(found 31042 there)"},
             Case{true, "offset set --serial 31057 1.5 --yes", 3, "(found 31042 there)"},
             Case{true, "set-station --serial 4711 --station 30", 1,
                  "serial number 4711 is not in the saved bus"},
             Case{false, "set-station --serial 31042 --station 2", 1, "Station 2 is used by module 31057"},
             // Only the XV module has a conversion time; a probe's count stays as it is.
             Case{false, "conversion-time set --serial 31042 --seconds 76", 1,
                  "This function is not valid for a module of that status!"},
         }) {
        const std::string& bus = c.staleBus ? stale : current;
        WriteFileBytes(data / "Terrix.ini", bus);
        ExpectFailure(Words(c.command), c.exitCode, c.message);
        EXPECT_EQ(ReadFileBytes(data / "Terrix.ini"), bus);
    }
    // Nothing moved: both modules still answer where they were, nobody at 30.
    EXPECT_EQ(ExitCodes({"send --station 30 --command 2", "send --station 1 --command 2",
                         "send --station 2 --command 2"}),
              (std::vector<int>{3, 0, 0}));
}

TEST_F(CliBusTest, UsageAndPortErrorsHaveTheirExitStatus) {
    StartSim();
    // Run in order: 1234 is added twice. Scripts may pass --yes to every command; where nothing is asked it
    // changes nothing.
    EXPECT_EQ(ExitCodes({"create-collision --station 251 --yes", "known add 0", "known add 1234",
                         "known add 1234", "known add 4321 --yes", "forget --yes", "list --yes",
                         "conversion-time get --station 3 --yes"}),
              (std::vector<int>{1, 1, 0, 1, 0, 0, 0, 0}));
    ExpectFailure(Words("offset set --station 3 nan --yes"), 1, "must be a finite number");
    port = "/dev/nonexistent-terrix";
    ExpectFailure({"scan"}, 2, "does not exist");
}

} // namespace
} // namespace terrix::test

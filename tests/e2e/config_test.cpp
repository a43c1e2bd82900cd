// Module settings over the pseudo-terminal: application parameters saved to a .par file and loaded back,
// and a module programmed from calibration files and verified.

#include "sim_cli.h"

#include <cstdio>

namespace terrix::test {
namespace {

using ConfigE2eTest = SimCliTest;

TEST_F(ConfigE2eTest, ParameterFileRoundTrip) {
    StartSim();
    const std::string file = (data / "xv.par").string();
    ASSERT_TRUE(CliOk(Words("params set --station 3 --offset 1.5 --averaging 20 --error66 7 --queue-full 10 "
                            "--queue-empty 4")));
    ASSERT_TRUE(CliOk({"params", "save", file, "--station", "3"}));
    const std::string text = ReadFileBytes(file);
    for (const char* line :
         {"\nOffset Value in Percentage = 15.000000\n", "\nAveraging Time in No of Measurements = 26\n",
          "\nError66 Delay in units of 10 Measurements = 1\n",
          "\nQueue-Full Time in No of Measurements = 25\n",
          "\nQueue-Empty Time in No of Measurements = 10\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }

    ASSERT_TRUE(CliOk(Words("params set --station 3 --offset 0 --averaging 100")));
    ASSERT_TRUE(CliOk({"params", "load", file, "--station", "3"}));
    nlohmann::json p = CliJson(Words("params get --station 3"));
    EXPECT_EQ(nlohmann::json::array({p["offsetBlock"], p["averagingCount"], p["averagingSeconds"],
                                     p["error66Units"], p["queueFullCount"], p["queueEmptyCount"]}),
              nlohmann::json::array({15.0, 26, 20, 1, 25, 10}));
}

TEST_F(ConfigE2eTest, ProgramModuleFromLocFileAndVerify) {
    StartSim();
    // Station 1 of the built-in bus is a probe without temperature calibrations.
    std::string loc = ";Field trial\r\n";
    for (int i = 0; i < 16; ++i) {
        const std::string id = std::to_string(3000 + i);
        loc += "[" + std::to_string(i) + "]=" + id + "\r\n";
        WriteFileBytes(data / ("XV0" + id + ".CAL"),
                       ";cal " + id + "\r\nc0=" + std::to_string(i) + ".5\r\nc1=0.25\r\nc3=-1e-4\r\n");
    }
    WriteFileBytes(data / "FIELD.LOC", loc);
    nlohmann::json outcome =
        CliJson({"calib", "program", "--station", "1", "--loc", (data / "FIELD.LOC").string()});
    EXPECT_EQ(outcome["result"], "verified");
    EXPECT_EQ(outcome["differences"], "");

    // The XV module at station 3 from its own CAL files, with no TDC files in the directory: the material
    // calibrations are written and verified, the temperature calibrations are left alone.
    for (const int id : {1201, 1305, 1307, 1412, 1420, 1533, 1541, 1602, 1710, 1711, 1805, 1809, 0}) {
        char name[32];
        std::snprintf(name, sizeof name, "XV%05d.CAL", id);
        WriteFileBytes(data / name, ";own " + std::to_string(id) + "\r\nc0=1.5\r\nc1=0.5\r\n");
    }
    EXPECT_EQ(
        CliJson({"calib", "program", "--station", "3", "--loc-dir", data.path().string(), "--yes"})["result"],
        "verified");
}

} // namespace
} // namespace terrix::test

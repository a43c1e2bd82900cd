// Programming a module from calibration files and verifying it, over the pseudo-terminal.

#include "config_e2e.h"

#include <cstdio>

namespace terrix::test {
namespace {

TEST_F(ConfigE2eTest, ProgramModuleFromLocFileAndVerify) {
    // Station 1 of the built-in bus is a probe without temperature calibrations.
    std::string loc = ";Field trial\r\n";
    for (int i = 0; i < 16; ++i) {
        const int id = 3000 + i;
        loc += "[" + std::to_string(i) + "]=" + std::to_string(id) + "\r\n";
        WriteFileBytes(data / ("XV0" + std::to_string(id) + ".CAL"), ";cal " + std::to_string(id) +
                                                                         "\r\nc0=" + std::to_string(i) +
                                                                         ".5\r\nc1=0.25\r\nc3=-1e-4\r\n");
    }
    WriteFileBytes(data / "FIELD.LOC", loc);
    const std::string locFile = (data / "FIELD.LOC").string();

    const RunResult program = Cli({"--json", "calib", "program", "--station", "1", "--loc", locFile});
    ASSERT_EQ(program.exitCode, 0) << program.err;
    const nlohmann::json outcome = Json(program);
    EXPECT_EQ(outcome["result"], "verified");
    EXPECT_EQ(outcome["differences"], "");

    // The XV module at station 3 from its own CAL files, with no TDC files in the directory: the material
    // calibrations are written and verified, the temperature calibrations are left alone.
    for (const int id : {1201, 1305, 1307, 1412, 1420, 1533, 1541, 1602, 1710, 1711, 1805, 1809, 0}) {
        char name[32];
        std::snprintf(name, sizeof name, "XV%05d.CAL", id);
        WriteFileBytes(data / name, ";own " + std::to_string(id) + "\r\nc0=1.5\r\nc1=0.5\r\n");
    }
    const RunResult own =
        Cli({"--json", "calib", "program", "--station", "3", "--loc-dir", data.path().string(), "--yes"});
    ASSERT_EQ(own.exitCode, 0) << own.err << own.out;
    EXPECT_EQ(Json(own)["result"], "verified");
}

} // namespace
} // namespace terrix::test

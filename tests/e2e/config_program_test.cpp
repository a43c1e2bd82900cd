// Programming a module from calibration files and verifying it, over the pseudo-terminal.

#include "config_e2e.h"

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
}

} // namespace
} // namespace terrix::test

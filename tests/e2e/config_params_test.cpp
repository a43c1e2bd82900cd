// Application parameters saved to a .par file and loaded back into the module, over the pseudo-terminal.

#include "config_e2e.h"

namespace terrix::test {
namespace {

TEST_F(ConfigE2eTest, ParameterFileRoundTrip) {
    const std::string file = (data / "xv.par").string();
    ASSERT_EQ(Cli({"params", "set", "--station", "3", "--offset", "1.5", "--averaging", "20", "--error66",
                   "7", "--queue-full", "10", "--queue-empty", "4"})
                  .exitCode,
              0);
    const RunResult save = Cli({"params", "save", file, "--station", "3"});
    ASSERT_EQ(save.exitCode, 0) << save.err;
    const std::string text = ReadFileBytes(file);
    for (const char* line :
         {"\nOffset Value in Percentage = 15.000000\n", "\nAveraging Time in No of Measurements = 26\n",
          "\nError66 Delay in units of 10 Measurements = 1\n",
          "\nQueue-Full Time in No of Measurements = 25\n",
          "\nQueue-Empty Time in No of Measurements = 10\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }

    ASSERT_EQ(Cli({"params", "set", "--station", "3", "--offset", "0", "--averaging", "100"}).exitCode, 0);
    const RunResult load = Cli({"params", "load", file, "--station", "3"});
    ASSERT_EQ(load.exitCode, 0) << load.err;

    const RunResult get = Cli({"--json", "params", "get", "--station", "3"});
    ASSERT_EQ(get.exitCode, 0) << get.err;
    const nlohmann::json params = Json(get);
    EXPECT_EQ(params["offsetBlock"], 15.0);
    EXPECT_EQ(params["averagingCount"], 26);
    EXPECT_EQ(params["averagingSeconds"], 20);
    EXPECT_EQ(params["error66Units"], 1);
    EXPECT_EQ(params["queueFullCount"], 25);
    EXPECT_EQ(params["queueEmptyCount"], 10);

    // A file with four parameter lines is refused and nothing is written.
    WriteFileBytes(data / "four.par",
                   "Offset Value = 1\nAveraging Time = 2\nError66 Delay = 3\nQueue-Full Time = 4\n");
    const RunResult bad = Cli({"params", "load", (data / "four.par").string(), "--station", "3"});
    EXPECT_EQ(bad.exitCode, 4);
    EXPECT_NE(bad.err.find("Number of parameters isn't 5,"), std::string::npos) << bad.err;
    EXPECT_EQ(Json(Cli({"--json", "params", "get", "--station", "3"}))["averagingCount"], 26);
}

} // namespace
} // namespace terrix::test

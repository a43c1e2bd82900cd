#include "core/config/par_file.h"

#include "platform/file_size_limit.h"
#include "support/german_locale.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace terrix::test {
namespace {

const char* const kFiveLines = "Offset Value in Percentage = 15.000000\n"
                               "Averaging Time in No of Measurements = 26\n"
                               "Error66 Delay in units of 10 Measurements = 1\n"
                               "Queue-Full Time in No of Measurements = 25\n"
                               "Queue-Empty Time in No of Measurements = 3\n";

struct Parsed {
    bool ok = false;
    int count = 0;
    AppParams params;
    std::string error;
};

Parsed Parse(const std::string& text) {
    std::istringstream in(text);
    Parsed p;
    p.ok = ParseParText(in, p.params, p.count, p.error);
    return p;
}

TEST(ParFileTest, TextHasTheFixedLayout) {
    std::tm date{};
    std::tie(date.tm_mday, date.tm_mon, date.tm_year, date.tm_wday) = std::make_tuple(5, 2, 124, 2);
    EXPECT_EQ(ParFileText(AppParams{15.0f, 26, 1, 25, 3}, date),
              "\n; Date: Tuesday,March 05,2024\n"
              "; Note1: Don't change the sequence and the names of following parameters\n"
              "; Note2:                         \n"
              " \n"
              "; Application Parameters:\n"
              " \n" +
                  std::string(kFiveLines));
}

TEST(ParFileTest, ReadingCountsTheFivePrefixesScansLikeScanfAndRefusesWhatDoesNotFit) {
    const std::string noQueueEmpty =
        "Offset Value = 1\nAveraging Time = 2\nError66 Delay = 3\nQueue-Full Time = 4\n";
    const std::pair<std::string, int> cases[] = {
        {kFiveLines, 5},
        {noQueueEmpty, 4},                                      // four matching lines
        {"offset Value in Percentage = 1\n" + noQueueEmpty, 4}, // lower case does not count
        {"   Offset Value in Percentage = 1.5   \r\n", 1},      // trimmed
        {"; Offset Value = 1\nx Offset Value = 1\n", 0},
        {"", 0},
    };
    for (const auto& [text, count] : cases) {
        const Parsed p = Parse(text);
        EXPECT_EQ(std::make_pair(p.ok, p.count), std::make_pair(true, count)) << text;
    }
    const Parsed p =
        Parse("Offset Value in Percentage = -2.5e1xyz\nAveraging Time = 26.9\nError66 Delay = 7\n"
              "Queue-Full Time = 0\nQueue-Empty Time=255\n");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.params, (AppParams{-25.0f, 26, 7, 0, 255}));

    // Values that do not fit, no value at all, or a parameter given twice: never loaded as zeros or
    // duplicates.
    for (const char* line : {"Averaging Time = 65536\n", "Error66 Delay = -1\n", "Queue-Full Time = 256\n",
                             "Offset Value = inf\n", "Offset Value = 1e39\n", "Error66 Delay = nonsense\n",
                             "Averaging Time\n", "Queue-Full Time in No of Measurements 25\n",
                             "Offset Value = \n", "Averaging Time = 2\nAveraging Time = 9\n"}) {
        const Parsed p = Parse(line);
        EXPECT_FALSE(p.ok) << line;
        EXPECT_FALSE(p.error.empty());
    }
}

class ParFileDiskTest : public ::testing::Test {
protected:
    TempDir dir;
};

// The round trip in the C locale is ConfigE2eTest.ParameterFileRoundTrip's (e2e); in a German one the
// numbers must keep their decimal point.
TEST_F(ParFileDiskTest, SaveAndLoadRoundTripInAGermanLocale) {
    GermanNumberLocale german;
    if (!german.Active()) {
        GTEST_SKIP() << "no German locale available";
    }
    const AppParams params{12.5f, 26, 1, 25, 3};
    ConfigMessages messages;
    ASSERT_TRUE(SaveParFile(dir / "a.par", params, messages));
    EXPECT_NE(ReadFileBytes(dir / "a.par").find("\nOffset Value in Percentage = 12.500000\n"),
              std::string::npos);
    AppParams loaded;
    ASSERT_TRUE(LoadParFile(dir / "a.par", loaded, messages));
    EXPECT_EQ(loaded, params);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ParFileDiskTest, LoadFailuresGiveTheirMessages) {
    AppParams params{1, 2, 3, 4, 5};
    const AppParams before = params;
    ConfigMessages messages;
    EXPECT_FALSE(LoadParFile(dir / "missing.par", params, messages));
    const ConfigMessage last{kMsgCantReadFileFinal, "Error", ConfigMessageIcon::None};
    EXPECT_EQ(messages, (ConfigMessages{{"Open " + (dir / "missing.par").string() + " failed!", "",
                                         ConfigMessageIcon::None},
                                        {"Can't open the file!", "Error", ConfigMessageIcon::None},
                                        last}));

    WriteFileBytes(dir / "four.par",
                   "Offset Value = 1\nAveraging Time = 2\nError66 Delay = 3\nQueue-Full Time = 4\n");
    EXPECT_FALSE(LoadParFile(dir / "four.par", params, messages));
    EXPECT_EQ(messages, (ConfigMessages{{"Number of parameters isn't 5,\nCheck it and try again please!",
                                         "Error", ConfigMessageIcon::Stop},
                                        {"Can't read the file!", "Error", ConfigMessageIcon::None},
                                        last}));
    EXPECT_EQ(params, before);

    // Binary junk with overlong lines is just a file without parameters.
    std::string junk(200000, '\0');
    for (size_t i = 0; i < junk.size(); ++i) {
        junk[i] = static_cast<char>((i * 7919) % 251);
    }
    WriteFileBytes(dir / "junk.par", junk);
    EXPECT_FALSE(LoadParFile(dir / "junk.par", params, messages));
    EXPECT_EQ(messages[0].text.rfind("Number of parameters", 0), 0u);
}

TEST_F(ParFileDiskTest, FailedSaveLeavesTheOldFile) {
    WriteFileBytes(dir / "keep.par", "old");
    // A disk that takes only 16 more bytes: the save over the old file fails while writing.
    EXPECT_TRUE(RunWithFileSizeLimit(16, [&] {
        ConfigMessages messages;
        const bool saved = SaveParFile(dir / "keep.par", AppParams{15.0f, 26, 1, 25, 3}, messages);
        return !saved && messages.size() == 1 && messages[0].text == "Can't write the file!";
    })) << "the save reports the failed write";
    EXPECT_EQ(ReadFileBytes(dir / "keep.par"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file left";

    ConfigMessages messages;
    EXPECT_FALSE(SaveParFile(dir / "no-such-dir" / "x.par", AppParams{}, messages));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "Can't open the file!");
    // A directory where the file should go is not replaced.
    std::filesystem::create_directories(dir / "taken.par");
    EXPECT_FALSE(SaveParFile(dir / "taken.par", AppParams{}, messages));
    EXPECT_EQ(messages.at(0).text, "Can't write the file!");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.par"));
}

} // namespace
} // namespace terrix::test

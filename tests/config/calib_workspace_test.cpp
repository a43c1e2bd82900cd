#include "core/config/calib_workspace.h"
#include "core/config/loc_directory.h"
#include "core/platform/data_paths.h"

#include "fake_bus.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <deque>

namespace terrix::test {
namespace {

// Answers questions from a script and records everything the dialog would show.
class RecordingUi final : public CalibDialogUi {
public:
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowMessage(const ConfigMessage& message) override { messages.push_back(message); }
    void SetBanner(const std::string& text) override {
        banner = text;
        banners.push_back(text);
    }

    std::deque<bool> answers;
    std::vector<std::string> questions;
    std::vector<ConfigMessage> messages;
    std::vector<std::string> banners;
    std::string banner;
};

constexpr const char* kIdentical = "The actual calibration data is identical to that on the module!\nAre you "
                                   "sure to rewrite the module's data?";
constexpr const char* kProgramAll =
    "If including known modules, need to fully scan again!\nNow continue program?";
constexpr const char* kWritten = "calibration data successfully written into module.";

class CalibWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDataDir(dataDir.path());
        // The module at station 5 carries material IDs 500+i with c0 = i and c3 = 4; the files agree.
        for (uint8_t i = 0; i < 16; ++i) {
            module.SetMat(i, static_cast<uint16_t>(500 + i), {static_cast<float>(i * 10), 0, 0, 0.04f, 0, 0});
            module.SetTemp(i, static_cast<uint16_t>(700 + i), {1, 0, 0, 0, 0, 0});
            WriteFileBytes(dataDir / CalibFileName(static_cast<uint16_t>(500 + i), "CAL"),
                           ";material " + std::to_string(i) + "\nc0=" + std::to_string(i) + "\nc3=4\n");
            WriteFileBytes(dataDir / CalibFileName(static_cast<uint16_t>(700 + i), "TDC"), "t0=1\n");
        }
        std::string loc = ";All positions\n";
        for (unsigned i = 0; i < 32; ++i) {
            loc += "[" + std::to_string(i % 16) + "]=" + std::to_string((i < 16 ? 500 : 700 - 16) + i) + "\n";
        }
        WriteFileBytes(dataDir / "ALL.LOC", loc);
        module.active = 2;
        workspace.SetLocDirectory(dataDir.path());
        workspace.SetModule(bus.Port(), 4711, "PX-TAVIK2XV", 5);
    }

    // Reads the module; the file data comes from the files its IDs name, or from ALL.LOC.
    void ReadModule(bool fromLoc = false) {
        ASSERT_TRUE(workspace.RereadModule(ui));
        if (fromLoc) {
            ASSERT_TRUE(workspace.OpenLocFile(dataDir / "ALL.LOC", ui));
        }
        ASSERT_TRUE(workspace.FilesRead());
        module.requests.clear();
        ui = RecordingUi{};
    }

    TempDir dataDir;
    FakeBus bus;
    FakeModule& module = bus.Add(5);
    CalibWorkspace workspace;
    RecordingUi ui;
};

TEST_F(CalibWorkspaceTest, RereadModuleFillsBothSetsAndMarksTheActiveRow) {
    ASSERT_TRUE(workspace.RereadModule(ui));
    EXPECT_TRUE(workspace.ModuleRead());
    EXPECT_TRUE(workspace.FilesRead());
    EXPECT_EQ(workspace.ActivePosition(), 2);
    EXPECT_EQ(ui.banners, (std::vector<std::string>{"Loading data from module...", ""}));
    const auto rows = workspace.CalibList();
    ASSERT_EQ(rows.size(), 16u);
    for (const CalibListRow& row : rows) {
        EXPECT_EQ(row.active, row.position == 2);
        EXPECT_EQ(row.differences, "") << row.position;
        EXPECT_EQ(row.matModuleId, std::to_string(500 + row.position));
        EXPECT_EQ(row.matFileId, row.matModuleId);
        EXPECT_EQ(row.tempModuleId, std::to_string(700 + row.position));
        EXPECT_EQ(row.tempFileId, row.tempModuleId);
    }
    // The module's comments come from its CAL files.
    workspace.Select(3);
    const auto coeffs = workspace.CoeffList();
    ASSERT_EQ(coeffs.size(), 7u);
    EXPECT_EQ(coeffs[0].title, "c0");
    EXPECT_EQ(coeffs[0].matModule, "3.0");
    EXPECT_EQ(coeffs[3].matFile, "4.0");
    EXPECT_EQ(coeffs[0].tempModule, "1.0");
    EXPECT_EQ(coeffs[6].title, "Comment");
    EXPECT_EQ(coeffs[6].matModule, "material 3");
}

TEST_F(CalibWorkspaceTest, DifferingCoefficientMarksOnlyItsRow) {
    module.SetMat(4, 504, {40, 0, 0, 0.05f, 0, 0}); // c3 = 5 in the module, 4 in the file
    module.SetTemp(9, 999, {1, 0, 0, 0, 0, 0});     // temperature ID differs at 9
    module.SetTemp(11, 711, {2, 0, 0, 0, 0, 0});    // temperature t0 differs at 11
    ReadModule(true);
    const auto rows = workspace.CalibList();
    for (const CalibListRow& row : rows) {
        const char* expected = row.position == 4    ? "m"
                               : row.position == 9  ? "T"
                               : row.position == 11 ? "t"
                                                    : "";
        EXPECT_EQ(row.differences, expected) << row.position;
    }
}

TEST_F(CalibWorkspaceTest, NoRowsWithoutModuleDataAndEmptyCoefficientsWithoutSelection) {
    EXPECT_TRUE(workspace.CalibList().empty());
    for (const CoeffListRow& row : workspace.CoeffList()) {
        EXPECT_TRUE(row.matModule.empty() && row.matFile.empty() && row.tempModule.empty() &&
                    row.tempFile.empty());
    }
    module.fault = [](uint8_t command, const Bytes&) -> std::optional<uint8_t> {
        return command == 206 ? std::optional<uint8_t>(FakeModule::kSilent) : std::nullopt;
    };
    EXPECT_FALSE(workspace.RereadModule(ui));
    EXPECT_TRUE(workspace.CalibList().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to read material calibration data from module!");
    EXPECT_EQ(ui.banner, "");
}

TEST_F(CalibWorkspaceTest, IdenticalDataAsksAndNoSendsNothing) {
    ReadModule();
    ui.answers = {false};
    EXPECT_FALSE(workspace.ProgramModule(ui));
    EXPECT_EQ(ui.questions, (std::vector<std::string>{kIdentical}));
    EXPECT_TRUE(module.requests.empty());
    EXPECT_TRUE(ui.banners.empty());
}

TEST_F(CalibWorkspaceTest, ProgramModuleWritesVerifiesAndTakesTheReadBack) {
    module.SetMat(4, 504, {40, 0, 0, 0.05f, 0, 0});
    ReadModule();
    ProgramOutcome outcome;
    ASSERT_TRUE(workspace.ProgramModule(ui, &outcome));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::Verified);
    EXPECT_EQ(module.CountOf(207), 16);
    EXPECT_EQ(module.CountOf(195), 16);
    EXPECT_EQ(module.CountOf(206), 16); // read back
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kWritten);
    EXPECT_EQ(ui.banners.back(), "");
    EXPECT_EQ(ui.banners[0], "Writing data into module...");
    EXPECT_NE(std::find(ui.banners.begin(), ui.banners.end(), "Verifying written data..."), ui.banners.end());
    EXPECT_NEAR(workspace.ModuleSet().aMatCalib[4].adCoeff[3], 4.0, 1e-6);
    for (const CalibListRow& row : workspace.CalibList()) {
        EXPECT_EQ(row.differences, "");
    }
}

TEST_F(CalibWorkspaceTest, VerificationListsEveryDifference) {
    module.SetMat(2, 1, {});
    ReadModule(true);
    // The module acknowledges the writes of position 2 but keeps its old data there.
    module.fault = [](uint8_t command, const Bytes& data) -> std::optional<uint8_t> {
        return (command == 207 || command == 195) && data[0] == 2 ? std::optional<uint8_t>(0) : std::nullopt;
    };
    module.SetTemp(2, 5, {3, 0, 0, 0, 0, 0});
    ProgramOutcome outcome;
    ASSERT_TRUE(workspace.ProgramModule(ui, &outcome));
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::Differs);
    const std::string expected = "Material calib. ID 2 in module is different!\n"
                                 "Material coefficient c0 for calib. ID 2 is different!\n"
                                 "Material coefficient c3 for calib. ID 2 is different!\n"
                                 "Temperature calib. ID 2 in module is different!\n"
                                 "Temperature coefficient c0 for calib. ID 2 is different!\n";
    EXPECT_EQ(outcome.differences, expected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, expected);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(CalibWorkspaceTest, ProgramModuleFailures) {
    ReadModule();
    module.SetMat(0, 1, {}); // so that nothing asks about identical data
    workspace.RereadModule(ui);
    ui = RecordingUi{};
    module.fault = [](uint8_t command, const Bytes& data) -> std::optional<uint8_t> {
        return command == 207 && data[0] == 7 ? std::optional<uint8_t>(FakeModule::kSilent) : std::nullopt;
    };
    ProgramOutcome outcome;
    EXPECT_FALSE(workspace.ProgramModule(ui, &outcome));
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::WriteFailed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to write calibration data into selected module!");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ui.banner, "");

    // A failed read back leaves the module set as it was.
    ui = RecordingUi{};
    const uint16_t before = workspace.ModuleSet().aMatCalib[0].wCalibId;
    module.fault = [](uint8_t command, const Bytes&) -> std::optional<uint8_t> {
        return command == 206 ? std::optional<uint8_t>(FakeModule::kSilent) : std::nullopt;
    };
    EXPECT_FALSE(workspace.ProgramModule(ui, &outcome));
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::ReadBackFailed);
    EXPECT_EQ(ui.messages.back().text, "Failed to read material calibration data from module!");
    EXPECT_EQ(workspace.ModuleSet().aMatCalib[0].wCalibId, before);
    EXPECT_EQ(ui.banner, "");
}

TEST_F(CalibWorkspaceTest, ModuleWithoutFileDataIsProgrammedWithItsOwnDataOnlyWhenConfirmed) {
    workspace.SetLocDirectory(dataDir / "nowhere");
    ASSERT_TRUE(workspace.RereadModule(ui));
    ASSERT_FALSE(workspace.FilesRead());
    module.requests.clear();
    ui = RecordingUi{};
    ui.answers = {false};
    EXPECT_FALSE(workspace.ProgramModule(ui));
    EXPECT_TRUE(module.requests.empty());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].rfind("No calibration data has been read from the LOC files.", 0), 0u);

    ui = RecordingUi{};
    ui.answers = {true};
    EXPECT_TRUE(workspace.ProgramModule(ui));
    EXPECT_EQ(module.CountOf(207), 16);
    EXPECT_EQ(module.matCalib[6], CalibBlock(6, 506, {60, 0, 0, 0.04f, 0, 0}));
}

TEST_F(CalibWorkspaceTest, NothingReadRefusesToProgram) {
    RecordingUi fresh;
    EXPECT_FALSE(workspace.ProgramModule(fresh));
    ASSERT_EQ(fresh.messages.size(), 1u);
    EXPECT_EQ(fresh.messages[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(module.requests.empty());
}

TEST_F(CalibWorkspaceTest, FileDataWithoutTemperaturesClearsTheModulesTemperatureCalibrations) {
    std::string loc = ";no temperatures\n";
    for (unsigned i = 0; i < 16; ++i) {
        loc += "[" + std::to_string(i) + "]=" + std::to_string(500 + i) + "\n";
    }
    WriteFileBytes(dataDir / "MAT.LOC", loc);
    ASSERT_TRUE(workspace.RereadModule(ui));
    ASSERT_TRUE(workspace.OpenLocFile(dataDir / "MAT.LOC", ui));
    EXPECT_EQ(workspace.FileComment(), "no temperatures");
    ASSERT_EQ(workspace.FileSet().bHasTempCalib, 0u);
    ASSERT_TRUE(workspace.ProgramModule(ui));
    EXPECT_EQ(module.CountOf(195), 16);
    EXPECT_EQ(module.tempCalib[3], CalibBlock(3, 0, {}));
    EXPECT_EQ(workspace.ModuleSet().aTempCalib[3].wCalibId, 0);
}

TEST_F(CalibWorkspaceTest, LocDirectoryIsRememberedAfterASuccessfulRead) {
    const std::filesystem::path sub = dataDir / "loc";
    std::filesystem::create_directories(sub);
    WriteFileBytes(sub / "X.LOC", ";x\n");
    ASSERT_TRUE(workspace.OpenLocFile(sub / "X.LOC", ui));
    EXPECT_EQ(workspace.LocFileName(), "X.LOC");
    EXPECT_EQ(LoadLocDirectory(), sub);
    EXPECT_EQ(CalibWorkspace().LocDirectory(), sub);

    WriteFileBytes(dataDir / "BAD.LOC", "=1\n");
    EXPECT_FALSE(workspace.OpenLocFile(dataDir / "BAD.LOC", ui));
    EXPECT_EQ(ui.messages.back().text, "Failed to read LOC file!");
    EXPECT_EQ(workspace.FileComment(), "");
    EXPECT_EQ(LoadLocDirectory(), sub); // only a successful read is remembered
}

TEST_F(CalibWorkspaceTest, SetActiveCalibrationAsksFirst) {
    ReadModule();
    EXPECT_FALSE(workspace.SetActiveCalibration(ui));
    EXPECT_EQ(ui.messages.back().text,
              "Before using this function, please enter a new calibration switch value!");

    workspace.Select(0);
    ui.answers = {false};
    EXPECT_FALSE(workspace.SetActiveCalibration(ui));
    EXPECT_EQ(ui.questions.back().rfind("CAUTION! Product selection switch will be activated", 0), 0u);
    EXPECT_EQ(module.CountOf(205), 0);

    workspace.Select(7);
    ui.answers = {true};
    EXPECT_TRUE(workspace.SetActiveCalibration(ui));
    EXPECT_EQ(ui.questions.back().rfind("CAUTION! This function is fixing", 0), 0u);
    EXPECT_EQ(module.active, 7);
    EXPECT_EQ(workspace.ActivePosition(), 7);
}

class ProgramAllTest : public CalibWorkspaceTest {
protected:
    void SetUp() override {
        CalibWorkspaceTest::SetUp();
        second.hasTempCalib = false;
    }
    FakeModule& second = bus.Add(9);
    FakeModule& third = bus.Add(12);
};

TEST_F(ProgramAllTest, WritesFileDataIntoEveryModule) {
    ReadModule();
    ui.answers = {true};
    const std::vector<uint8_t> stations = {5, 9, 12};
    std::vector<ProgramOutcome> outcomes;
    ASSERT_TRUE(workspace.ProgramAllModules(stations, ui, &outcomes));
    ASSERT_EQ(outcomes.size(), 3u);
    for (const ProgramOutcome& outcome : outcomes) {
        EXPECT_EQ(outcome.result, ProgramOutcome::Result::Verified) << int(outcome.station);
    }
    EXPECT_EQ(second.matCalib[8], module.matCalib[8]);
    EXPECT_EQ(third.matCalib[15], module.matCalib[15]);
    EXPECT_EQ(third.tempCalib[1], module.tempCalib[1]);
    EXPECT_TRUE(ui.messages.empty()); // no success message per module
    EXPECT_EQ(ui.banner, "");
}

TEST_F(ProgramAllTest, UnreadableModuleIsSkippedAndWriteFailureEndsTheRun) {
    ReadModule();
    second.fault = [](uint8_t command, const Bytes&) -> std::optional<uint8_t> {
        return command == 206 ? std::optional<uint8_t>(FakeModule::kSilent) : std::nullopt;
    };
    ui.answers = {true};
    const std::vector<uint8_t> stations = {9, 12};
    std::vector<ProgramOutcome> outcomes;
    ASSERT_TRUE(workspace.ProgramAllModules(stations, ui, &outcomes));
    EXPECT_EQ(outcomes[0].result, ProgramOutcome::Result::NotRead);
    EXPECT_EQ(second.CountOf(207), 0);
    EXPECT_EQ(outcomes[1].result, ProgramOutcome::Result::Verified);
    EXPECT_EQ(ui.messages[0].text, "Failed to read material calibration data from module!");

    third.fault = [](uint8_t command, const Bytes&) -> std::optional<uint8_t> {
        return command == 207 ? std::optional<uint8_t>(FakeModule::kSilent) : std::nullopt;
    };
    ui = RecordingUi{};
    ui.answers = {true};
    outcomes.clear();
    const std::vector<uint8_t> two = {12, 5};
    EXPECT_FALSE(workspace.ProgramAllModules(two, ui, &outcomes));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, ProgramOutcome::Result::WriteFailed);
    EXPECT_EQ(module.CountOf(207), 0);
}

TEST_F(ProgramAllTest, WithoutFileDataNothingIsWritten) {
    workspace.SetLocDirectory(dataDir / "nowhere");
    ASSERT_TRUE(workspace.RereadModule(ui));
    module.requests.clear();
    ui = RecordingUi{};
    ui.answers = {true};
    const std::vector<uint8_t> stations = {5, 9};
    EXPECT_FALSE(workspace.ProgramAllModules(stations, ui));
    EXPECT_EQ(ui.questions, (std::vector<std::string>{kProgramAll}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("nothing has been written"), std::string::npos);
    EXPECT_TRUE(module.requests.empty());
    EXPECT_TRUE(second.requests.empty());
}

TEST_F(ProgramAllTest, DeclinedOrEmptyBusSendsNothing) {
    ReadModule();
    ui.answers = {false};
    const std::vector<uint8_t> stations = {5};
    EXPECT_FALSE(workspace.ProgramAllModules(stations, ui));
    ui.answers = {true};
    EXPECT_TRUE(workspace.ProgramAllModules({}, ui));
    EXPECT_TRUE(module.requests.empty());
}

} // namespace
} // namespace terrix::test

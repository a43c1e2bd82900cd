#include "core/config/calib_workspace.h"
#include "core/config/loc_directory.h"

#include "sim_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <tuple>

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
        banners.push_back(text);
        stop = stop || stopOnBanner;
    }
    bool StopRequested() const override { return stop; }

    bool stopOnBanner = false; // asks to stop once the first banner shows (a window closed mid-run)
    bool stop = false;
    std::deque<bool> answers;
    std::vector<std::string> questions;
    std::vector<ConfigMessage> messages;
    std::vector<std::string> banners;
};

class CalibWorkspaceTest : public SimBusTest {
protected:
    void SetUp() override {
        SimBusTest::SetUp();
        module = bus->AddModule(sim::MakeProbe(5, 4712, true));
        // The module at station 5 carries material IDs 500+i with c0 = i and c3 = 4, temperature IDs 700+i
        // with t0 = 1; the files agree.
        Change(module, [](sim::ModuleState& m) {
            for (uint8_t i = 0; i < 16; ++i) {
                m.material[i] = {static_cast<uint16_t>(500 + i), {i * 10.0f, 0, 0, 0.04f, 0, 0}, true};
                m.temperature[i] = {static_cast<uint16_t>(700 + i), {1, 0, 0, 0, 0, 0}, true};
            }
            m.activeCalibration = 2;
        });
        for (unsigned i = 0; i < 16; ++i) {
            WriteFileBytes(dataDir / CalibFileName(static_cast<uint16_t>(500 + i), "CAL"),
                           ";material " + std::to_string(i) + "\nc0=" + std::to_string(i) + "\nc3=4\n");
            WriteFileBytes(dataDir / CalibFileName(static_cast<uint16_t>(700 + i), "TDC"), "t0=1\n");
        }
        const std::string loc = ";All positions\n" + LocEntries(500) + LocEntries(700);
        WriteFileBytes(dataDir / "ALL.LOC", loc);
        workspace.SetLocDirectory(dataDir.path());
        workspace.SetModule(port, 4712, "PX-TAVIK2XV", 5);
        // Two more modules for programming them all, one without temperature calibrations.
        sim::ModuleState noTemp = sim::MakeProbe(9, 4713, false);
        noTemp.hasTemperatureCalibrations = false;
        second = bus->AddModule(noTemp);
        third = bus->AddModule(sim::MakeProbe(12, 4714, true));
    }

    // Positions 0..15 with the IDs first+0 .. first+15, as LOC file lines.
    static std::string LocEntries(unsigned first) {
        std::string lines;
        for (unsigned i = 0; i < 16; ++i) {
            lines += "[" + std::to_string(i) + "]=" + std::to_string(first + i) + "\n";
        }
        return lines;
    }
    // A fresh dialog that answers its questions with `answers`, and an empty request log.
    void Restart(std::deque<bool> answers = {}) {
        bus->ClearRequestLog();
        ui = RecordingUi{};
        ui.answers = std::move(answers);
    }
    // Reads the module; the file data comes from the files its IDs name, or from ALL.LOC.
    void ReadModule(bool fromLoc = false) {
        ASSERT_TRUE(workspace.RereadModule(ui));
        if (fromLoc) {
            ASSERT_TRUE(workspace.OpenLocFile(dataDir / "ALL.LOC", ui));
        }
        ASSERT_TRUE(workspace.FilesRead());
        Restart();
    }
    void SetModuleFault(size_t index, std::set<uint8_t> status6) {
        Change(index, [status6](sim::ModuleState& m) { m.faults.status6 = status6; });
    }
    // The difference marks of the 16 rows in one text, "." for a row without any.
    std::string Marks() const {
        std::string marks;
        for (const CalibListRow& row : workspace.CalibList()) {
            marks += row.differences.empty() ? "." : row.differences;
        }
        return marks;
    }

    size_t module = 0;
    size_t second = 0;
    size_t third = 0;
    CalibWorkspace workspace;
    RecordingUi ui;
};

TEST_F(CalibWorkspaceTest, RereadModuleFillsTheListsAndMarksActiveAndDifferingRows) {
    EXPECT_TRUE(workspace.CalibList().empty()) << "nothing read yet";
    for (const CoeffListRow& row : workspace.CoeffList()) {
        EXPECT_EQ(row.matModule + row.matFile + row.tempModule + row.tempFile, "") << row.title;
    }
    ASSERT_TRUE(workspace.RereadModule(ui));
    EXPECT_EQ(std::tuple(workspace.ModuleRead(), workspace.FilesRead(), workspace.ActivePosition()),
              std::tuple(true, true, 2));
    EXPECT_EQ(ui.banners, (std::vector<std::string>{"Loading data from module...", ""}));
    const auto rows = workspace.CalibList();
    const CalibListRow& row = rows.at(2);
    EXPECT_EQ(std::tie(row.position, row.active, row.matModuleId, row.matFileId, row.tempModuleId,
                       row.tempFileId, rows.at(3).active),
              std::make_tuple(2u, true, "502", "502", "702", "702", false));
    EXPECT_EQ(Marks(), std::string(16, '.'));
    // The module's comments come from its CAL files.
    workspace.Select(3);
    const auto coeffs = workspace.CoeffList();
    EXPECT_EQ(std::tie(coeffs.at(0).title, coeffs[0].matModule, coeffs[3].matFile, coeffs[0].tempModule,
                       coeffs.at(6).title, coeffs[6].matModule),
              std::make_tuple("c0", "3.0", "4.0", "1.0", "Comment", "material 3"));

    // A difference marks only its own row.
    Change(module, [](sim::ModuleState& m) {
        m.material[4].raw[3] = 0.05f;        // c3 = 5 in the module, 4 in the file
        m.temperature[9] = {999, {1}, true}; // temperature ID differs at 9
        m.temperature[11].raw[0] = 2;        // temperature t0 differs at 11
    });
    ReadModule(true);
    EXPECT_EQ(Marks(), "....m....T.t....");

    // A failed read empties the list.
    SetModuleFault(module, {206});
    EXPECT_FALSE(workspace.RereadModule(ui));
    EXPECT_TRUE(workspace.CalibList().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to read material calibration data from module!");
}

TEST_F(CalibWorkspaceTest, ProgramModuleAsksOnIdenticalDataThenWritesVerifiesAndTakesTheReadBack) {
    // Nothing read at all: programming is refused before any question.
    EXPECT_FALSE(workspace.ProgramModule(ui));
    EXPECT_EQ(ui.messages.at(0).icon, ConfigMessageIcon::Stop);
    EXPECT_TRUE(bus->RequestLog().empty());

    ReadModule();
    Restart({false});
    EXPECT_FALSE(workspace.ProgramModule(ui));
    EXPECT_EQ(ui.questions,
              (std::vector<std::string>{"The actual calibration data is identical to that on the "
                                        "module!\nAre you sure to rewrite the module's data?"}));
    EXPECT_TRUE(bus->RequestLog().empty());
    EXPECT_TRUE(ui.banners.empty());

    Change(module, [](sim::ModuleState& m) { m.material[4].raw[3] = 0.05f; });
    ReadModule();
    ASSERT_TRUE(workspace.ProgramModule(ui)); // asks nothing: the data differ
    EXPECT_EQ(ui.messages, (ConfigMessages{{"calibration data successfully written into module.", "",
                                            ConfigMessageIcon::None}}));
    EXPECT_EQ(ui.banners, (std::vector<std::string>{
                              "Writing data into module...",
                              "Calibration data written into module.\nReading calibration data from "
                              "module for verifying correctness of written data.",
                              "Verifying written data...", ""}));
    EXPECT_NEAR(workspace.ModuleSet().aMatCalib[4].adCoeff[3], 4.0, 1e-6) << "the read back is taken";
    EXPECT_EQ(Marks(), std::string(16, '.'));
}

TEST(VerifyDifferencesTest, AllFourTextsWithTheSwitchPosition) {
    CalibSet written{};
    written.aMatCalib[3].wCalibId = 7;
    written.aMatCalib[5].adCoeff[2] = 1;
    written.aTempCalib[1] = {1, {}, 9, {}};
    written.aTempCalib[6] = {1, {}, 0, {0, 0, 0, 0, 2, 0}};
    written.bHasTempCalib = 1;
    CalibSet readBack{};
    readBack.bHasTempCalib = 1;
    readBack.aTempCalib[1] = {1, {}, 8, {}};
    readBack.aTempCalib[6] = {1, {}, 0, {}};
    EXPECT_EQ(VerifyDifferences(written, readBack),
              "Material calib. ID 3 in module is different!\n"
              "Material coefficient c2 for calib. ID 5 is different!\n"
              "Temperature calib. ID 1 in module is different!\n"
              "Temperature coefficient c4 for calib. ID 6 is different!\n");
    readBack.bHasTempCalib = 0; // a module without temperature calibrations: material only
    EXPECT_EQ(VerifyDifferences(written, readBack).find("Temperature"), std::string::npos);
}

TEST_F(CalibWorkspaceTest, ProgramModuleFailuresAndDifferencesAfterVerifying) {
    // Coefficients beyond the float range come back as infinity, which equals nothing.
    WriteFileBytes(dataDir / CalibFileName(502, "CAL"), "c0=1e40\nc3=4\nc5=-1e45\n");
    WriteFileBytes(dataDir / CalibFileName(702, "TDC"), "t0=1e39\n");
    Change(module, [](sim::ModuleState& m) { m.material[0].id = 1; }); // so that nothing asks
    ReadModule(true);
    SetModuleFault(module, {207});
    ProgramOutcome outcome;
    EXPECT_FALSE(workspace.ProgramModule(ui, &outcome));
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::WriteFailed);
    EXPECT_EQ(ui.messages, (ConfigMessages{{"Failed to write calibration data into selected module!", "",
                                            ConfigMessageIcon::Stop}}));
    EXPECT_EQ(ui.banners.back(), "") << "the banner is cleared";

    // A failed read back leaves the module set as it was.
    Restart();
    SetModuleFault(module, {206});
    EXPECT_FALSE(workspace.ProgramModule(ui, &outcome));
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::ReadBackFailed);
    EXPECT_EQ(ui.messages.back().text, "Failed to read material calibration data from module!");
    EXPECT_EQ(workspace.ModuleSet().aMatCalib[0].wCalibId, 1);

    Restart();
    SetModuleFault(module, {});
    ASSERT_TRUE(workspace.ProgramModule(ui, &outcome));
    EXPECT_EQ(outcome.result, ProgramOutcome::Result::Differs);
    EXPECT_EQ(ui.messages, (ConfigMessages{{"Material coefficient c0 for calib. ID 2 is different!\n"
                                            "Material coefficient c5 for calib. ID 2 is different!\n"
                                            "Temperature coefficient c0 for calib. ID 2 is different!\n",
                                            "", ConfigMessageIcon::Exclamation}}));
}

// Without file data nothing goes into every module; one module takes its own data only when confirmed.
TEST_F(CalibWorkspaceTest, ModuleWithoutFileDataIsProgrammedWithItsOwnDataOnlyWhenConfirmed) {
    workspace.SetLocDirectory(dataDir / "nowhere"); // the calibration files out of reach
    ASSERT_TRUE(workspace.RereadModule(ui));
    ASSERT_FALSE(workspace.FilesRead());
    Restart({true});
    EXPECT_FALSE(workspace.ProgramAllModules(std::vector<uint8_t>{5, 9}, ui));
    EXPECT_EQ(ui.questions,
              (std::vector<std::string>{
                  "If including known modules, need to fully scan again!\nNow continue program?"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("nothing has been written"), std::string::npos);
    EXPECT_TRUE(bus->RequestLog().empty());

    Restart({false});
    EXPECT_FALSE(workspace.ProgramModule(ui));
    EXPECT_TRUE(bus->RequestLog().empty());
    EXPECT_EQ(ui.questions.at(0).rfind("No calibration data has been read from the LOC files.", 0), 0u);
    Restart({true});
    EXPECT_TRUE(workspace.ProgramModule(ui));
    EXPECT_EQ(std::tie(Module(module).material[6].id, Module(module).material[6].raw[0]),
              std::make_tuple(506, 60.0f));
}

TEST_F(CalibWorkspaceTest, FileDataWithoutTemperaturesClearsTheModulesTemperatureCalibrations) {
    WriteFileBytes(dataDir / "MAT.LOC", ";no temperatures\n" + LocEntries(500));
    ASSERT_TRUE(workspace.RereadModule(ui));
    ASSERT_TRUE(workspace.OpenLocFile(dataDir / "MAT.LOC", ui));
    EXPECT_EQ(workspace.FileComment(), "no temperatures");
    ASSERT_EQ(workspace.FileSet().bHasTempCalib, 0u);
    ASSERT_TRUE(workspace.ProgramModule(ui));
    EXPECT_EQ(std::tie(Module(module).temperature[3].id, Module(module).temperature[3].raw),
              std::make_tuple(0, std::array<float, 6>{}));
    EXPECT_EQ(workspace.ModuleSet().aTempCalib[3].wCalibId, 0);
}

// Without TDC files the module's own files program the material calibrations only; a LOC file that names a
// missing file is shown but never programmed, so its zeros never reach the module.
TEST_F(CalibWorkspaceTest, MissingCalibrationFilesAreNeverProgrammedAsZeros) {
    for (unsigned i = 0; i < 16; ++i) {
        std::filesystem::remove(dataDir / CalibFileName(static_cast<uint16_t>(700 + i), "TDC"));
    }
    ReadModule();
    Restart({true});
    ASSERT_TRUE(workspace.ProgramModule(ui));
    EXPECT_EQ(CountRequests(195), 0u);
    EXPECT_EQ(Module(module).temperature[3].id, 703);

    std::filesystem::remove(dataDir / CalibFileName(503, "CAL"));
    Restart();
    ASSERT_TRUE(workspace.OpenLocFile(dataDir / "ALL.LOC", ui));
    EXPECT_FALSE(workspace.FilesComplete());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().text.find("XV00503.CAL"), std::string::npos) << ui.messages.back().text;
    Restart({true});
    EXPECT_FALSE(workspace.ProgramModule(ui));
    EXPECT_TRUE(bus->RequestLog().empty());
    EXPECT_NE(ui.messages.back().text.find("nothing has been programmed"), std::string::npos);
}

TEST_F(CalibWorkspaceTest, LocDirectoryIsRememberedAfterASuccessfulRead) {
    const std::filesystem::path sub = dataDir / "loc";
    std::filesystem::create_directories(sub);
    WriteFileBytes(sub / "X.LOC", ";x\n");
    ASSERT_TRUE(workspace.OpenLocFile(sub / "X.LOC", ui));
    EXPECT_EQ(workspace.LocFileName(), "X.LOC");
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
    Restart({false});
    EXPECT_FALSE(workspace.SetActiveCalibration(ui));
    EXPECT_EQ(ui.questions.back().rfind("CAUTION! Product selection switch will be activated", 0), 0u);
    EXPECT_EQ(CountRequests(205), 0u);

    workspace.Select(7);
    Restart({true});
    EXPECT_TRUE(workspace.SetActiveCalibration(ui));
    EXPECT_EQ(ui.questions.back().rfind("CAUTION! This function is fixing", 0), 0u);
    EXPECT_EQ(std::make_tuple(Module(module).activeCalibration, workspace.ActivePosition()),
              std::make_tuple(7, 7));
}

TEST_F(CalibWorkspaceTest, ProgramAllDeclinedOrEmptyBusSendsNothingElseFileDataGoesIntoEveryModule) {
    ReadModule();
    Restart({false});
    EXPECT_FALSE(workspace.ProgramAllModules(std::vector<uint8_t>{5}, ui));
    ui.answers = {true};
    EXPECT_TRUE(workspace.ProgramAllModules({}, ui));
    EXPECT_TRUE(bus->RequestLog().empty());

    Restart({true});
    ASSERT_TRUE(workspace.ProgramAllModules(std::vector<uint8_t>{5, 9, 12}, ui));
    EXPECT_EQ(Module(second).material[8].raw, Module(module).material[8].raw);
    EXPECT_EQ(std::tie(Module(third).material[15].id, Module(third).temperature[1].id),
              std::make_tuple(515, 701));
    EXPECT_TRUE(ui.messages.empty()); // no success message per module
}

TEST_F(CalibWorkspaceTest, ProgramAllSkipsAnUnreadableModuleAndEndsAtAWriteFailure) {
    ReadModule();
    SetModuleFault(second, {206});
    Restart({true});
    std::vector<ProgramOutcome> outcomes;
    ASSERT_TRUE(workspace.ProgramAllModules(std::vector<uint8_t>{9, 12}, ui, &outcomes));
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(std::tie(outcomes[0].result, outcomes[1].result),
              std::make_tuple(ProgramOutcome::Result::NotRead, ProgramOutcome::Result::Verified));
    EXPECT_EQ(CountRequests(207, 9), 0u);
    EXPECT_EQ(ui.messages.at(0).text, "Failed to read material calibration data from module!");

    SetModuleFault(third, {207});
    Restart({true});
    outcomes.clear();
    const std::vector<uint8_t> two = {12, 5};
    EXPECT_FALSE(workspace.ProgramAllModules(two, ui, &outcomes));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, ProgramOutcome::Result::WriteFailed);
    EXPECT_EQ(CountRequests(207, 5), 0u);

    // Asked to stop during the first module, the run ends before the next one.
    SetModuleFault(third, {});
    Restart({true});
    ui.stopOnBanner = true;
    outcomes.clear();
    EXPECT_FALSE(workspace.ProgramAllModules(two, ui, &outcomes));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, ProgramOutcome::Result::Verified);
    EXPECT_EQ(CountRequests(207, 5), 0u);
}

} // namespace
} // namespace terrix::test

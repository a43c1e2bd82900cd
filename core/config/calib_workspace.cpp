#include "core/config/calib_workspace.h"

#include "core/bus/bus_error.h"
#include "core/config/calib_compare.h"
#include "core/config/coeff_format.h"
#include "core/config/loc_directory.h"
#include "core/platform/path_text.h"

#include <cstdio>

namespace terrix {

namespace {

constexpr const char* kMsgNothingRead =
    "Program has not read (successfully) any calibration data from a module.\nAdditionally no calibration "
    "data "
    "has been retrieved from LOC files.\nTherfor this function won't be executed!";
constexpr const char* kAskModuleNotRead =
    "Program has not read (successfully) any calibration data from a module.\nEither the module or the "
    "communication with the NKP-bus has been damaged.\nIf you continue to write any data into the module you "
    "possibly can destroy the module!\nDO YOU STILL INSIST TO CONTINUE this operation?";
constexpr const char* kAskNoFileData =
    "No calibration data has been read from the LOC files.\nTherfor this operation will only write the "
    "actual "
    "calibration data into the module.\nAre you sure to continue this operation?";
constexpr const char* kMsgNoFileDataForAll = "No calibration data has been read from the LOC "
                                             "files.\nProgramming all modules writes the data of the LOC "
                                             "files into every module, so nothing has been written.";
constexpr const char* kAskIdentical = "The actual calibration data is identical to that on the module!\nAre "
                                      "you sure to rewrite the module's data?";
constexpr const char* kAskProgramAll =
    "If including known modules, need to fully scan again!\nNow continue program?";
constexpr const char* kBannerWriting = "Writing data into module...";
constexpr const char* kBannerReadBack =
    "Calibration data written into module.\nReading calibration data from module "
    "for verifying correctness of written data.";
constexpr const char* kBannerVerifying = "Verifying written data...";
constexpr const char* kBannerLoading = "Loading data from module...";
constexpr const char* kMsgWriteFailed = "Failed to write calibration data into selected module!";
constexpr const char* kMsgReadFailed = "Failed to read material calibration data from module!";
constexpr const char* kMsgWritten = "calibration data successfully written into module.";
constexpr const char* kMsgLocFailed = "Failed to read LOC file!";
constexpr const char* kMsgNoSelection =
    "Before using this function, please enter a new calibration switch value!";
constexpr const char* kAskActivateSwitch = "CAUTION! Product selection switch will be activated by setting "
                                           "calibration 0.\n\n  Are you sure to proceed?";
constexpr const char* kAskFixCalibration =
    "CAUTION! This function is fixing the selected calibration\n  and deactivating the product selection "
    "switch!\n  Please choose calibration 0 to activate the product selection switch.\n\n  Are you sure to "
    "proceed?";
constexpr const char* kMsgSetActiveFailed = "Failed to set active calibration";
constexpr const char* kMsgLocIncomplete =
    "The LOC file names calibration files that are missing or cannot be read: ";
constexpr const char* kMsgFilesIncomplete = "The LOC file names calibration files that are missing or cannot "
                                            "be read, so nothing has been programmed: ";

// Shows the busy banner and removes it on every way out.
class Banner {
public:
    Banner(CalibDialogUi& ui, const char* text) : ui_(ui) { Set(text); }
    ~Banner() { Remove(); }
    Banner(const Banner&) = delete;
    Banner& operator=(const Banner&) = delete;

    void Set(const char* text) {
        ui_.SetBanner(text);
        shown_ = true;
    }
    void Remove() {
        if (shown_) {
            ui_.SetBanner(std::string());
            shown_ = false;
        }
    }

private:
    CalibDialogUi& ui_;
    bool shown_ = false;
};

std::string Format(const char* format, unsigned a, unsigned b = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string IdText(uint16_t id) {
    return std::to_string(id);
}

} // namespace

std::string VerifyDifferences(const CalibSet& written, const CalibSet& readBack) {
    std::string text;
    CompareMatCalibs(written, readBack, [&text](unsigned position, unsigned code) {
        text += code == kCalibIdDiffers
                    ? Format("Material calib. ID %u in module is different!\n", position)
                    : Format("Material coefficient c%u for calib. ID %u is different!\n", code, position);
        return 1;
    });
    // Only the temperature calibrations that were written: a position the files had no data for was left
    // alone in the module and has nothing to be compared with.
    if (written.bHasTempCalib != 0 && readBack.bHasTempCalib != 0) {
        CompareTempCalibs(written, readBack, [&text](unsigned position, unsigned code) {
            text +=
                code == kCalibIdDiffers
                    ? Format("Temperature calib. ID %u in module is different!\n", position)
                    : Format("Temperature coefficient c%u for calib. ID %u is different!\n", code, position);
            return 1;
        });
    }
    return text;
}

void ZeroTempCalibsForModule(const CalibSet& moduleSet, bool filesRead, CalibSet& fileSet) {
    if (moduleSet.bHasTempCalib == 0 || !filesRead || fileSet.bHasTempCalib != 0) {
        return;
    }
    for (TempCalib& calib : fileSet.aTempCalib) {
        calib = TempCalib{};
        calib.bValid = 1;
    }
    fileSet.bHasTempCalib = 1;
}

std::string DisplayComment(std::string_view comment) {
    size_t i = 0;
    while (i < comment.size() &&
           (comment[i] == ';' || comment[i] == '*' || comment[i] == ' ' || comment[i] == '\t')) {
        ++i;
    }
    return std::string(comment.substr(i));
}

CalibWorkspace::CalibWorkspace() : locDirectory_(LoadLocDirectory()) {}

void CalibWorkspace::SetModule(PortHandle port, uint16_t serialNo, std::string moduleName, uint8_t station) {
    port_ = port;
    serialNo_ = serialNo;
    moduleName_ = std::move(moduleName);
    station_ = station;
}

bool CalibWorkspace::RereadModule(CalibDialogUi& ui) {
    Banner banner(ui, kBannerLoading);
    moduleRead_ = ReadCalibSet(port_, station_, moduleSet_, [&ui] { return ui.StopRequested(); });
    if (ui.StopRequested()) {
        return false; // the window is closing: nothing to report, nothing more to read
    }
    if (!moduleRead_) {
        ui.ShowMessage({kMsgReadFailed, "", ConfigMessageIcon::None});
    }
    if (!filesRead_) {
        filesRead_ = ReadFilesForModule();
    }
    RereadActive();
    return moduleRead_;
}

bool CalibWorkspace::ReadFilesForModule() {
    fileError_ = CalibFileError{};
    filesFromLoc_ = false;
    filesComplete_ = ReadCalibFilesForModule(moduleSet_, fileSet_, locDirectory_, &fileError_);
    return filesComplete_;
}

bool CalibWorkspace::RefuseIncompleteFiles(CalibDialogUi& ui) const {
    if (!filesRead_ || filesComplete_) {
        return false;
    }
    ui.ShowMessage({kMsgFilesIncomplete + fileError_.Message(), "", ConfigMessageIcon::Stop});
    return true;
}

bool CalibWorkspace::ReadLoc(const std::filesystem::path& locFile, CalibDialogUi& ui) {
    fileError_ = CalibFileError{};
    bool locRead = false;
    // A LOC file that names missing or broken files is still shown, so the user sees what it holds and
    // which file is missing; programming refuses it (filesComplete_).
    filesComplete_ = ReadLocFile(locFile, fileSet_, &fileError_, &locRead);
    filesRead_ = locRead;
    filesFromLoc_ = locRead;
    if (filesRead_ && !filesComplete_) {
        ui.ShowMessage({kMsgLocIncomplete + fileError_.Message(), "", ConfigMessageIcon::Exclamation});
    }
    if (filesRead_) {
        const std::string description = CalibTextOf(fileSet_.szDescription);
        const size_t start = description.find_first_not_of("; ");
        fileComment_ = start == std::string::npos ? std::string() : description.substr(start);
    } else {
        ui.ShowMessage({kMsgLocFailed, "", ConfigMessageIcon::None});
        fileComment_.clear();
    }
    return filesRead_;
}

bool CalibWorkspace::OpenLocFile(const std::filesystem::path& locFile, CalibDialogUi& ui, bool remember) {
    const std::filesystem::path directory = locFile.parent_path();
    if (directory != locDirectory_) {
        locDirectory_ = directory;
    }
    locFileName_ = PathText(locFile.filename());
    if (!ReadLoc(locFile, ui)) {
        return false;
    }
    if (remember) {
        SaveLocDirectory(locDirectory_); // a settings file that cannot be written only loses the convenience
    }
    return true;
}

bool CalibWorkspace::RereadFiles(CalibDialogUi& ui) {
    if (locFileName_.empty()) {
        filesRead_ = ReadFilesForModule();
        return filesRead_;
    }
    return ReadLoc(locDirectory_ / locFileName_, ui);
}

int CalibWorkspace::RereadActive() {
    active_ = GetActiveCalib(port_, station_);
    return active_;
}

bool CalibWorkspace::ConfirmSetActive(CalibDialogUi& ui) const {
    if (selected_ < 0) {
        ui.ShowMessage({kMsgNoSelection, "", ConfigMessageIcon::None});
        return false;
    }
    return ui.AskYesNo(selected_ == 0 ? kAskActivateSwitch : kAskFixCalibration);
}

bool CalibWorkspace::WriteActive(CalibDialogUi& ui) {
    if (selected_ < 0) {
        return false;
    }
    const bool ok = SetActiveCalib(port_, station_, static_cast<uint8_t>(selected_));
    if (!ok) {
        ui.ShowMessage({kMsgSetActiveFailed, "", ConfigMessageIcon::None});
    }
    RereadActive();
    return ok;
}

ProgramOutcome CalibWorkspace::ProgramStation(uint8_t station, const CalibSet& source, CalibDialogUi& ui,
                                              CalibSet& readBack) {
    ProgramOutcome outcome;
    outcome.station = station;
    Banner banner(ui, kBannerWriting);
    {
        // Write and read back without the measuring loop in between; the messages come after the lock.
        PortLock lock(port_);
        if (!WriteCalibSet(source, port_, station)) {
            outcome.result = ProgramOutcome::Result::WriteFailed;
        } else {
            banner.Set(kBannerReadBack);
            outcome.result = ReadCalibSet(port_, station, readBack) ? ProgramOutcome::Result::Verified
                                                                    : ProgramOutcome::Result::ReadBackFailed;
        }
        outcome.busError = outcome.result == ProgramOutcome::Result::Verified ? 0 : LastBusError();
    }
    if (outcome.result == ProgramOutcome::Result::WriteFailed) {
        banner.Remove();
        ui.ShowMessage({kMsgWriteFailed, "", ConfigMessageIcon::Stop});
        return outcome;
    }
    if (outcome.result == ProgramOutcome::Result::ReadBackFailed) {
        banner.Remove();
        ui.ShowMessage({kMsgReadFailed, "", ConfigMessageIcon::Stop});
        return outcome;
    }
    banner.Set(kBannerVerifying);
    outcome.differences = VerifyDifferences(source, readBack);
    if (!outcome.differences.empty()) {
        outcome.result = ProgramOutcome::Result::Differs;
    }
    banner.Remove();
    if (!outcome.differences.empty()) {
        ui.ShowMessage({outcome.differences, "", ConfigMessageIcon::Exclamation});
    }
    return outcome;
}

ProgramSource CalibWorkspace::ConfirmProgramModule(CalibDialogUi& ui) const {
    if (!moduleRead_ && !filesRead_) {
        ui.ShowMessage({kMsgNothingRead, "", ConfigMessageIcon::Stop});
        return ProgramSource::None;
    }
    if (!moduleRead_ && !ui.AskYesNo(kAskModuleNotRead)) {
        return ProgramSource::None;
    }
    if (RefuseIncompleteFiles(ui)) {
        return ProgramSource::None;
    }
    ProgramSource source = ProgramSource::Files;
    if (!filesRead_) {
        if (!ui.AskYesNo(kAskNoFileData)) {
            return ProgramSource::None;
        }
        source = ProgramSource::Module;
    }
    if (!CompareMatCalibs(moduleSet_, fileSet_) && !CompareTempCalibs(moduleSet_, fileSet_) &&
        !ui.AskYesNo(kAskIdentical)) {
        return ProgramSource::None;
    }
    return source;
}

bool CalibWorkspace::ProgramModule(ProgramSource source, CalibDialogUi& ui, ProgramOutcome* outcome) {
    // Incomplete file data is never written (ConfirmProgramModule has said why).
    if (source == ProgramSource::None ||
        (source == ProgramSource::Files && (!filesRead_ || !filesComplete_))) {
        return false;
    }
    const bool sourceIsModule = source == ProgramSource::Module;
    // A LOC file without temperature entries replaces the module's temperature calibrations with zeroed
    // ones; the module's own files without TDC files only leave them as they are.
    ZeroTempCalibsForModule(moduleSet_, filesRead_ && filesFromLoc_, fileSet_);
    // The source is copied: the module set may be the source and is replaced below.
    const CalibSet written = sourceIsModule ? moduleSet_ : fileSet_;
    CalibSet readBack{};
    ProgramOutcome result = ProgramStation(station_, written, ui, readBack);
    const bool ok =
        result.result == ProgramOutcome::Result::Verified || result.result == ProgramOutcome::Result::Differs;
    if (result.result == ProgramOutcome::Result::Verified) {
        ui.ShowMessage({kMsgWritten, "", ConfigMessageIcon::None});
    }
    if (ok && !sourceIsModule) {
        moduleSet_ = readBack;
    }
    if (outcome != nullptr) {
        *outcome = std::move(result);
    }
    return ok;
}

bool CalibWorkspace::ConfirmProgramAll(CalibDialogUi& ui) const {
    if (!ui.AskYesNo(kAskProgramAll)) {
        return false;
    }
    if (!moduleRead_ && !filesRead_) {
        ui.ShowMessage({kMsgNothingRead, "", ConfigMessageIcon::Stop});
        return false;
    }
    if (RefuseIncompleteFiles(ui)) {
        return false;
    }
    if (!filesRead_) {
        // Writing every module's own data back into it would change nothing; say so instead of asking.
        ui.ShowMessage({kMsgNoFileDataForAll, "", ConfigMessageIcon::Exclamation});
        return false;
    }
    return true;
}

bool CalibWorkspace::ProgramStations(std::span<const uint8_t> stations, CalibDialogUi& ui,
                                     std::vector<ProgramOutcome>* outcomes) {
    if (!filesRead_ || !filesComplete_) {
        return false; // ConfirmProgramAll has said why
    }
    for (const uint8_t station : stations) {
        if (ui.StopRequested()) {
            return false;
        }
        CalibSet present{};
        if (!ReadCalibSet(port_, station, present)) {
            // A module that cannot be read is not written blind; the others still are.
            ProgramOutcome skipped;
            skipped.station = station;
            skipped.result = ProgramOutcome::Result::NotRead;
            skipped.busError = LastBusError();
            if (outcomes != nullptr) {
                outcomes->push_back(skipped);
            }
            ui.ShowMessage({kMsgReadFailed, "", ConfigMessageIcon::None});
            continue;
        }
        ZeroTempCalibsForModule(present, filesRead_ && filesFromLoc_, fileSet_);
        CalibSet readBack{};
        ProgramOutcome outcome = ProgramStation(station, fileSet_, ui, readBack);
        const bool failed = outcome.result == ProgramOutcome::Result::WriteFailed ||
                            outcome.result == ProgramOutcome::Result::ReadBackFailed;
        if (outcomes != nullptr) {
            outcomes->push_back(std::move(outcome));
        }
        if (failed) {
            return false;
        }
    }
    return true;
}

void CalibWorkspace::Select(int position) {
    selected_ = (position >= 0 && position < static_cast<int>(kCalibPositions)) ? position : kNone;
}

std::vector<CalibListRow> CalibWorkspace::CalibList() const {
    std::vector<CalibListRow> rows;
    if (!moduleRead_) {
        return rows;
    }
    rows.resize(kCalibPositions);
    for (unsigned i = 0; i < kCalibPositions; ++i) {
        CalibListRow& row = rows[i];
        row.position = i;
        row.active = active_ == static_cast<int>(i);
        row.matModuleId = IdText(moduleSet_.aMatCalib[i].wCalibId);
        if (moduleSet_.aTempCalib[i].bValid != 0) {
            row.tempModuleId = IdText(moduleSet_.aTempCalib[i].wCalibId);
        }
        if (filesRead_) {
            row.matFileId = IdText(fileSet_.aMatCalib[i].wCalibId);
            if (fileSet_.aTempCalib[i].bValid != 0) {
                row.tempFileId = IdText(fileSet_.aTempCalib[i].wCalibId);
            }
        }
    }
    if (filesRead_) {
        // The callbacks return 0, so each row gets at most one letter of each kind.
        CompareMatCalibs(moduleSet_, fileSet_, [&rows](unsigned position, unsigned code) {
            rows[position].differences += code == kCalibIdDiffers ? "M" : "m";
            return 0;
        });
        CompareTempCalibs(moduleSet_, fileSet_, [&rows](unsigned position, unsigned code) {
            rows[position].differences += code == kCalibIdDiffers ? "T" : "t";
            return 0;
        });
    }
    return rows;
}

std::vector<CoeffListRow> CalibWorkspace::CoeffList() const {
    std::vector<CoeffListRow> rows(7);
    for (unsigned j = 0; j < 6; ++j) {
        rows[j].title = "c" + std::to_string(j);
    }
    rows[6].title = "Comment";
    if (selected_ < 0) {
        return rows;
    }
    const MatCalib& matModule = moduleSet_.aMatCalib[selected_];
    const MatCalib& matFile = fileSet_.aMatCalib[selected_];
    const TempCalib& tempModule = moduleSet_.aTempCalib[selected_];
    const TempCalib& tempFile = fileSet_.aTempCalib[selected_];
    const bool showTempModule = moduleRead_ && tempModule.bValid != 0;
    const bool showTempFile = filesRead_ && tempFile.bValid != 0;
    for (unsigned j = 0; j < 6; ++j) {
        CoeffListRow& row = rows[j];
        if (moduleRead_) {
            row.matModule = FormatCoeff(matModule.adCoeff[j]);
        }
        if (filesRead_) {
            row.matFile = FormatCoeff(matFile.adCoeff[j]);
        }
        if (showTempModule) {
            row.tempModule = FormatCoeff(tempModule.adCoeff[j]);
        }
        if (showTempFile) {
            row.tempFile = FormatCoeff(tempFile.adCoeff[j]);
        }
    }
    CoeffListRow& comment = rows[6];
    if (moduleRead_) {
        comment.matModule = DisplayComment(CalibTextOf(matModule.szCalibComment));
    }
    if (filesRead_) {
        comment.matFile = DisplayComment(CalibTextOf(matFile.szCalibComment));
    }
    if (showTempModule) {
        comment.tempModule = DisplayComment(CalibTextOf(tempModule.szCalibComment));
    }
    if (showTempFile) {
        comment.tempFile = DisplayComment(CalibTextOf(tempFile.szCalibComment));
    }
    return rows;
}

} // namespace terrix

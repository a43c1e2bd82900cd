#pragma once
// What the "Material and Temperature Coefficients" dialog works on: the calibrations read from one module,
// those read from calibration files, the LOC directory and file, the active and the selected position, and
// the operations behind the dialog's buttons. The dialog supplies a CalibDialogUi for its questions,
// messages and busy banner, and shows CalibList() and CoeffList(); everything else happens here.
//
// An operation that asks comes in two halves as well: the Confirm... half checks and asks without touching
// the bus, the other half does the bus work and asks nothing, so that a window can ask on its own thread and
// run the bus work on a worker. The one-call form runs both.

#include "core/config/calib_files.h"
#include "core/config/calib_set.h"
#include "core/config/config_message.h"
#include "core/platform/com_port.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace terrix {

// The dialog's side of the operations.
class CalibDialogUi {
public:
    virtual ~CalibDialogUi() = default;
    // A Yes/No question with the exclamation icon; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual void ShowMessage(const ConfigMessage& message) = 0;
    // Places the busy banner over the calibration list with this text, or removes it (empty text). The
    // operations remove it on every way out.
    virtual void SetBanner(const std::string& text) = 0;
    // True once the user asked the running operation to end (a closed window): a run over several
    // modules stops before the next one.
    virtual bool StopRequested() const { return false; }
};

// What "Program module" writes into the module once the user agreed.
enum class ProgramSource {
    None,   // nothing: the user declined, or the reason was shown
    Files,  // the calibration files' data
    Module, // the module's own data (no file data was read)
};

// How programming one module ended.
struct ProgramOutcome {
    enum class Result {
        NotRead, // program all: the module could not be read first, so it was not written
        WriteFailed,
        ReadBackFailed,
        Verified, // written, read back, no difference
        Differs,  // written, read back, `differences` lists what differs
    };
    uint8_t station = 0;
    Result result = Result::NotRead;
    std::string differences;
    uint16_t busError = 0; // LastBusError of a failure
};

// One row of the calibration list (all texts empty where the dialog shows nothing).
struct CalibListRow {
    unsigned position = 0;
    bool active = false;
    std::string differences; // "=?": "M" or "m" for material, then "T" or "t" for temperature
    std::string matModuleId;
    std::string matFileId;
    std::string tempModuleId;
    std::string tempFileId;
};

// One row of the coefficient list: "c0".."c5" and "Comment".
struct CoeffListRow {
    std::string title;
    std::string matModule;
    std::string matFile;
    std::string tempModule;
    std::string tempFile;
};

// The difference text of a verification: material calibrations written against those read back, and,
// when the module has temperature calibrations, those read back against those written.
std::string VerifyDifferences(const CalibSet& written, const CalibSet& readBack);

// A module with temperature calibrations whose file data has none gets zeroed ones (ID 0, valid), so that
// programming replaces the module's temperature calibrations as well.
void ZeroTempCalibsForModule(const CalibSet& moduleSet, bool filesRead, CalibSet& fileSet);

// A comment as the coefficient list shows it: leading ";", "*" and blanks removed.
std::string DisplayComment(std::string_view comment);

class CalibWorkspace {
public:
    static constexpr int kNone = -1;

    // Reads the LOC directory from the settings file.
    CalibWorkspace();

    // The module the dialog was opened for and the port it reaches it through.
    void SetModule(PortHandle port, uint16_t serialNo, std::string moduleName, uint8_t station);

    // "Reread module": reads the module's calibrations, loads the files named by their IDs unless file data
    // is already there, and reads the active position. False when the module read failed, or stopped at
    // ui.StopRequested() (then silently, and without reading further).
    bool RereadModule(CalibDialogUi& ui);
    // "...": reads the chosen LOC file; on success its directory is kept in the settings file (unless
    // `remember` is false, for a one-off read from the command line).
    bool OpenLocFile(const std::filesystem::path& locFile, CalibDialogUi& ui, bool remember = true);
    // "Reread files": the LOC file again, or without one the files named by the module's IDs.
    bool RereadFiles(CalibDialogUi& ui);
    // "Reread act. calibration ID": the active position (255 when the read failed).
    int RereadActive();
    // "Set act. calibration" with the selected position, after the user's confirmation.
    bool SetActiveCalibration(CalibDialogUi& ui) { return ConfirmSetActive(ui) && WriteActive(ui); }
    // Its halves: a selection and the user's Yes (no bus work); then the write and the new active position.
    bool ConfirmSetActive(CalibDialogUi& ui) const;
    bool WriteActive(CalibDialogUi& ui);

    // "Program module": writes the file data (or, when the user agrees, the module's own data) into the
    // module, reads it back and reports the differences.
    bool ProgramModule(CalibDialogUi& ui, ProgramOutcome* outcome = nullptr) {
        return ProgramModule(ConfirmProgramModule(ui), ui, outcome);
    }
    // Its halves: the checks and questions (no bus work), then the write from `source` (None: nothing).
    ProgramSource ConfirmProgramModule(CalibDialogUi& ui) const;
    bool ProgramModule(ProgramSource source, CalibDialogUi& ui, ProgramOutcome* outcome = nullptr);

    // "Program all modules": writes the file data into the module at each station (the bus list's modules
    // without collision placeholders, in list order). Needs file data. False when the user declined, nothing
    // could be programmed for want of data, or a write or read back failed (which ends the run).
    bool ProgramAllModules(std::span<const uint8_t> stations, CalibDialogUi& ui,
                           std::vector<ProgramOutcome>* outcomes = nullptr) {
        return ConfirmProgramAll(ui) && ProgramStations(stations, ui, outcomes);
    }
    // Its halves: the question and the checks (no bus work), then the run over the stations, which also
    // ends (false) before the next station once ui.StopRequested().
    bool ConfirmProgramAll(CalibDialogUi& ui) const;
    bool ProgramStations(std::span<const uint8_t> stations, CalibDialogUi& ui,
                         std::vector<ProgramOutcome>* outcomes = nullptr);

    // The row of the calibration list whose coefficients are shown; kNone for none.
    void Select(int position);
    int Selected() const { return selected_; }

    // 16 rows once the module was read, else none.
    std::vector<CalibListRow> CalibList() const;
    // Always 7 rows; cells empty where there is nothing to show.
    std::vector<CoeffListRow> CoeffList() const;

    const CalibSet& ModuleSet() const { return moduleSet_; }
    bool ModuleRead() const { return moduleRead_; }
    const CalibSet& FileSet() const { return fileSet_; }
    bool FilesRead() const { return filesRead_; }
    // False when a calibration file named by the LOC file (or a CAL file of the module's IDs) is missing or
    // broken: the file data is shown, but not programmed, so that zeros never reach a module.
    bool FilesComplete() const { return filesComplete_; }
    int ActivePosition() const { return active_; }
    const std::filesystem::path& LocDirectory() const { return locDirectory_; }
    void SetLocDirectory(const std::filesystem::path& directory) { locDirectory_ = directory; }
    const std::string& LocFileName() const { return locFileName_; }
    const std::string& FileComment() const { return fileComment_; }
    // Why the last file read failed, for a detail line under the message.
    const CalibFileError& LastFileError() const { return fileError_; }

    uint16_t SerialNo() const { return serialNo_; }
    const std::string& ModuleName() const { return moduleName_; }
    uint8_t Station() const { return station_; }

private:
    bool ReadLoc(const std::filesystem::path& locFile, CalibDialogUi& ui);
    bool ReadFilesForModule();
    // Shows why and returns true when file data was read but is incomplete.
    bool RefuseIncompleteFiles(CalibDialogUi& ui) const;
    // Write, read back, verify at one station.
    ProgramOutcome ProgramStation(uint8_t station, const CalibSet& source, CalibDialogUi& ui,
                                  CalibSet& readBack);

    PortHandle port_ = kInvalidPort;
    uint16_t serialNo_ = 0;
    std::string moduleName_;
    uint8_t station_ = 0;

    CalibSet moduleSet_{};
    bool moduleRead_ = false;
    CalibSet fileSet_{};
    bool filesRead_ = false;
    bool filesComplete_ = false;
    bool filesFromLoc_ = false;
    std::filesystem::path locDirectory_;
    std::string locFileName_;
    std::string fileComment_;
    CalibFileError fileError_;
    int active_ = kNone;
    int selected_ = kNone;
};

} // namespace terrix

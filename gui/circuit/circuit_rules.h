#pragma once
// The circuit window's decisions that need no widget: which buttons and menu items are usable, the texts
// of a row's value columns, the countdown text, and the copy of the binary measurement files to a medium.

#include "core/inventory/module_record.h"
#include "core/measure/meas_record.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace terrix {

enum class CircuitRun { kIdle, kSingle, kLoop };

// What the enabling rules look at.
struct CircuitInput {
    uint32_t moduleCount = 0;
    const ModuleRecord* current = nullptr; // the record of the current row; null when none
    CircuitRun run = CircuitRun::kIdle;
    bool jobRuns = false; // a bus job of the window: only showing values is left
    // Which of the module windows exist (an absent one keeps its command disabled).
    bool hasValueWindow = false;
    bool hasOffset = false;
    bool hasCoefficients = false;
    bool hasConversionTime = false;
    bool hasApplicationParameters = false;
    bool hasUserData = false;
    bool hasStationNumber = false;
    bool hasResetBaud = false;
    bool hasError66 = false;
    bool hasActiveCalib = false;
};

struct CircuitCommands {
    // Buttons.
    bool singleMeas = false;
    bool measLoop = false;
    bool rateEdit = false;
    bool display = false;
    bool erase = false;
    bool displayAll = false;
    bool eraseAll = false;
    bool offset = false;
    bool coefficients = false;
    bool conversionTime = false;
    bool applicationParameters = false;
    bool haltState = false;
    bool copyFiles = false;
    // Context-menu items (they stay usable while measuring; their handlers refuse what the loop forbids).
    bool menuDisplay = false;
    bool menuUserData = false;
    bool menuActivate = false;
    bool menuRemove = false;
    bool menuRescan = false;
    bool menuStationNumber = false;
    bool menuRecreateAscii = false;
    bool menuResetBaud = false;
    bool menuError66 = false;
    bool menuActiveCalib = false; // XV modules only; the handler refuses others
};

CircuitCommands CircuitCommandStates(const CircuitInput& input);

// The XV module's halt-state command exists from firmware low byte 55 on.
bool HasHaltState(const ModuleRecord& record);

// "%u (%s)" of the current record; empty without one.
std::string CircuitMenuTitle(const ModuleRecord* current);

// Seconds as "HH:MM:SS".
std::string FormatCountdown(uint32_t seconds);

// The measurement columns of a row: last measurement, switch, value, number of stored values.
struct RowValueTexts {
    std::string lastMeas;
    std::string switchText;
    std::string value;
    std::string count = "0";
};
// From a filled record (field 0 the stamp) and the store's record count; empty columns and "0" when
// `value` is null or nothing is stored.
RowValueTexts MakeRowValueTexts(const ModuleRecord& module, CMeasRecord* value, uint32_t storedCount);

// Copying each module's binary measurement file into a folder (no shell involved).
struct CopySource {
    uint16_t serial = 0;
    std::filesystem::path file;
};
struct CopyReport {
    std::vector<std::filesystem::path> copied;
    std::vector<std::filesystem::path> skipped;                        // no file to copy
    std::vector<std::pair<std::filesystem::path, std::string>> failed; // file, reason
};
CopyReport CopyMeasurementFiles(const std::vector<CopySource>& sources, const std::filesystem::path& folder);

// Where the folder chooser starts: the first mounted medium under /media/<user> or /run/media/<user>
// (below `root`, "/" normally), else the home folder.
std::filesystem::path RemovableMediaStart(const std::string& user, const std::filesystem::path& home,
                                          const std::filesystem::path& root = "/");

} // namespace terrix

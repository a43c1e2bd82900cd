// terrix-cli calib read|compare|program|program-all and active-calib get|set: the material and temperature
// calibrations of a module, compared with and programmed from the calibration files of the LOC directory.

#include "cli/cmd_config_common.h"
#include "core/bus/bus_error.h"
#include "core/config/calib_compare.h"
#include "core/config/calib_workspace.h"
#include "core/config/coeff_format.h"
#include "core/config/module_stations.h"
#include "core/inventory/stored_text.h"
#include "core/platform/path_text.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

namespace terrix::cli {
namespace {

struct CalibOptions {
    ModuleAddress address;
    std::string locFile;
    std::string locDir;
    bool coeffs = false;
    int position = -1;
    bool yes = false;
};

// The calibration dialog's questions are answered by --yes; messages are kept for the command to print.
class CliCalibUi final : public CalibDialogUi {
public:
    CliCalibUi(const CliContext& context, bool yes) : quiet_(context.options.quiet), yes_(yes) {}
    bool AskYesNo(const std::string& text) override {
        if (!yes_ && declined.empty()) {
            declined = text;
        }
        return yes_;
    }
    void ShowMessage(const ConfigMessage& message) override { messages.push_back(message); }
    void SetBanner(const std::string& text) override {
        if (!quiet_ && !text.empty()) {
            std::cerr << text << '\n';
        }
    }
    std::string declined;
    ConfigMessages messages;

private:
    bool quiet_;
    bool yes_;
};

nlohmann::json CoeffsJson(const CalibCoeffs& coeffs) {
    return nlohmann::json(std::vector<double>(coeffs.begin(), coeffs.end()));
}

nlohmann::json MatJson(const MatCalib& calib) {
    return {{"wCalibId", calib.wCalibId},
            {"adCoeff", CoeffsJson(calib.adCoeff)},
            {"szCalibComment", Cp1252ToUtf8(CalibTextOf(calib.szCalibComment))}};
}

nlohmann::json TempJson(const TempCalib& calib) {
    if (calib.bValid == 0) {
        return nullptr;
    }
    return {{"wCalibId", calib.wCalibId},
            {"adCoeff", CoeffsJson(calib.adCoeff)},
            {"szCalibComment", Cp1252ToUtf8(CalibTextOf(calib.szCalibComment))}};
}

nlohmann::json WorkspaceJson(const CalibWorkspace& ws) {
    nlohmann::json out = {{"station", ws.Station()},
                          {"wSerialNo", ws.SerialNo()},
                          {"acModuleName", Cp1252ToUtf8(ws.ModuleName())},
                          {"moduleRead", ws.ModuleRead()},
                          {"filesRead", ws.FilesRead()},
                          {"activeCalibration", ws.ActivePosition()},
                          {"locDirectory", PathText(ws.LocDirectory())},
                          {"locFile", ws.LocFileName()},
                          {"fileComment", Cp1252ToUtf8(ws.FileComment())}};
    if (ws.LastFileError().Failed()) {
        out["fileError"] = ws.LastFileError().Message();
    }
    nlohmann::json positions = nlohmann::json::array();
    for (const CalibListRow& row : ws.CalibList()) {
        const unsigned i = row.position;
        nlohmann::json p = {{"position", i}, {"active", row.active}, {"differences", row.differences}};
        p["material"]["module"] = MatJson(ws.ModuleSet().aMatCalib[i]);
        p["temperature"]["module"] = TempJson(ws.ModuleSet().aTempCalib[i]);
        p["material"]["file"] = ws.FilesRead() ? MatJson(ws.FileSet().aMatCalib[i]) : nlohmann::json(nullptr);
        p["temperature"]["file"] =
            ws.FilesRead() ? TempJson(ws.FileSet().aTempCalib[i]) : nlohmann::json(nullptr);
        positions.push_back(p);
    }
    out["positions"] = positions;
    out["moduleHasTempCalib"] = ws.ModuleSet().bHasTempCalib != 0;
    return out;
}

void PrintHeader(const CalibWorkspace& ws) {
    // A station the saved bus does not know has no serial number or name here.
    if (!ws.ModuleName().empty()) {
        std::cout << "Module " << ws.SerialNo() << " (" << Cp1252ToUtf8(ws.ModuleName()) << "), ";
    }
    std::cout << "station " << int(ws.Station()) << ", active calibration ";
    if (ws.ActivePosition() >= 0 && ws.ActivePosition() <= 15) {
        std::cout << ws.ActivePosition() << '\n';
    } else {
        std::cout << "unknown\n";
    }
    std::cout << "Calibration files: " << PathText(ws.LocDirectory());
    if (!ws.LocFileName().empty()) {
        std::cout << "  LOC file: " << ws.LocFileName();
    }
    if (!ws.FileComment().empty()) {
        std::cout << "  (" << Cp1252ToUtf8(ws.FileComment()) << ")";
    }
    std::cout << (ws.FilesRead() ? "" : "  [no file data]") << '\n';
}

void PrintCalibTable(const CalibWorkspace& ws, bool onlyDifferences) {
    std::cout << "Switch Active =?  Material: module ID  Material: file ID  Temperature: module ID  "
                 "Temperature: file ID\n";
    for (const CalibListRow& row : ws.CalibList()) {
        if (onlyDifferences && row.differences.empty()) {
            continue;
        }
        char line[200];
        std::snprintf(line, sizeof line, "%6u %-6s %-3s %19s %18s %23s %21s", row.position,
                      row.active ? "*" : "", row.differences.c_str(), row.matModuleId.c_str(),
                      row.matFileId.c_str(), row.tempModuleId.c_str(), row.tempFileId.c_str());
        std::cout << line << '\n';
    }
}

void PrintCoeffTable(CalibWorkspace& ws, int position) {
    ws.Select(position);
    std::cout << "Switch " << position << ":\n";
    std::cout << "  Coefficient  for material in module  for material in file  for temperature in module  "
                 "for temperature in file\n";
    for (const CoeffListRow& row : ws.CoeffList()) {
        char line[400];
        std::snprintf(line, sizeof line, "  %-11s %22s %21s %26s %24s", row.title.c_str(),
                      row.matModule.c_str(), row.matFile.c_str(), row.tempModule.c_str(),
                      row.tempFile.c_str());
        std::cout << Cp1252ToUtf8(line) << '\n';
    }
}

// The module and its file data, as the calibration dialog shows them when it opens.
bool LoadWorkspace(CliContext& context, const CalibOptions& opts, PortUser& user, CalibWorkspace& ws,
                   CliCalibUi& ui) {
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return false;
    }
    ws.SetModule(user.Port(), record->SerialNo(), record->ModuleName(), record->iaStation);
    if (!opts.locDir.empty()) {
        ws.SetLocDirectory(std::filesystem::absolute(PathFromText(opts.locDir)));
    }
    if (!opts.locFile.empty() &&
        !ws.OpenLocFile(std::filesystem::absolute(PathFromText(opts.locFile)), ui, false)) {
        context.Fail(kExitFile, "Failed to read LOC file! " + ws.LastFileError().Message());
        return false;
    }
    if (!ws.RereadModule(ui)) {
        FailBus(context, "Failed to read material calibration data from module!");
        return false;
    }
    if (!ws.FilesRead() && ws.LastFileError().Failed() && !context.options.quiet) {
        std::cerr << "terrix-cli: no calibration file data: " << ws.LastFileError().Message() << '\n';
    }
    return true;
}

int CalibRead(CliContext& context, const CalibOptions& opts) {
    PortUser user;
    CalibWorkspace ws;
    CliCalibUi ui(context, false);
    if (!LoadWorkspace(context, opts, user, ws, ui)) {
        return context.exitCode;
    }
    user.Release();
    if (context.options.json) {
        std::cout << WorkspaceJson(ws).dump(2) << '\n';
        return kExitOk;
    }
    PrintHeader(ws);
    PrintCalibTable(ws, false);
    if (opts.coeffs || opts.position >= 0) {
        for (int i = 0; i < static_cast<int>(kCalibPositions); ++i) {
            if (opts.position < 0 || opts.position == i) {
                PrintCoeffTable(ws, i);
            }
        }
    }
    return kExitOk;
}

int CalibCompare(CliContext& context, const CalibOptions& opts) {
    PortUser user;
    CalibWorkspace ws;
    CliCalibUi ui(context, false);
    if (!LoadWorkspace(context, opts, user, ws, ui)) {
        return context.exitCode;
    }
    user.Release();
    if (!ws.FilesRead()) {
        context.Fail(kExitFile, "no calibration data could be read from the calibration files" +
                                    (ws.LastFileError().Failed() ? ": " + ws.LastFileError().Message() : ""));
        return context.exitCode;
    }
    // Every difference, listed as the verification after programming lists them.
    const std::string differences = VerifyDifferences(ws.FileSet(), ws.ModuleSet());
    if (context.options.json) {
        nlohmann::json out = WorkspaceJson(ws);
        out["identical"] = differences.empty();
        out["differenceText"] = differences;
        std::cout << out.dump(2) << '\n';
        return kExitOk;
    }
    PrintHeader(ws);
    if (differences.empty()) {
        std::cout << "The module's calibration data is identical to that of the files.\n";
        return kExitOk;
    }
    PrintCalibTable(ws, true);
    std::cout << differences;
    return kExitOk;
}

const char* ResultName(ProgramOutcome::Result result) {
    switch (result) {
    case ProgramOutcome::Result::NotRead:
        return "not read";
    case ProgramOutcome::Result::WriteFailed:
        return "write failed";
    case ProgramOutcome::Result::ReadBackFailed:
        return "read back failed";
    case ProgramOutcome::Result::Verified:
        return "verified";
    case ProgramOutcome::Result::Differs:
        return "differs";
    }
    return "?";
}

nlohmann::json OutcomeJson(const ProgramOutcome& outcome) {
    return {{"station", outcome.station},
            {"result", ResultName(outcome.result)},
            {"differences", outcome.differences},
            {"lastBusError", outcome.busError}};
}

int CalibProgram(CliContext& context, const CalibOptions& opts) {
    PortUser user;
    CalibWorkspace ws;
    CliCalibUi ui(context, opts.yes);
    if (!LoadWorkspace(context, opts, user, ws, ui)) {
        return context.exitCode;
    }
    ui.messages.clear();
    ProgramOutcome outcome;
    outcome.station = ws.Station();
    const bool ok = ws.ProgramModule(ui, &outcome);
    user.Release();
    if (!ui.declined.empty()) {
        return NeedYes(context, ui.declined);
    }
    if (context.options.json) {
        std::cout << OutcomeJson(outcome).dump(2) << '\n';
    }
    if (ok && outcome.result == ProgramOutcome::Result::Verified) {
        if (!context.options.json) {
            std::cout << "calibration data successfully written into module.\n";
        }
        return kExitOk;
    }
    if (outcome.result == ProgramOutcome::Result::Differs) {
        if (!context.options.json) {
            std::cout << outcome.differences;
        }
        context.Fail(kExitBus, "the data read back differs from the data written");
        return context.exitCode;
    }
    if (outcome.result == ProgramOutcome::Result::WriteFailed ||
        outcome.result == ProgramOutcome::Result::ReadBackFailed) {
        SetLastBusError(outcome.busError);
        return FailBus(context,
                       ui.messages.empty() ? std::string("programming failed") : ui.messages.back().text);
    }
    PrintMessages(ui.messages); // refused before anything was sent
    context.exitCode = kExitUsage;
    return context.exitCode;
}

int CalibProgramAll(CliContext& context, const CalibOptions& opts, bool addressed) {
    if (!opts.yes) {
        return NeedYes(context,
                       "If including known modules, need to fully scan again!\nNow continue program?");
    }
    if (!addressed && opts.locFile.empty()) {
        context.Fail(kExitUsage,
                     "give the calibration data with --loc FILE, or the module whose calibration files "
                     "are to be used with --station/--serial");
        return context.exitCode;
    }
    PortUser user;
    CalibWorkspace ws;
    CliCalibUi ui(context, true);
    if (addressed) {
        if (!LoadWorkspace(context, opts, user, ws, ui)) {
            return context.exitCode;
        }
        LoadSavedBus(context);
    } else {
        LoadSavedBus(context);
        if (!context.OpenPort(user)) {
            return context.exitCode;
        }
        ws.SetModule(user.Port(), 0, "", 0);
        if (!opts.locDir.empty()) {
            ws.SetLocDirectory(std::filesystem::absolute(PathFromText(opts.locDir)));
        }
        if (!ws.OpenLocFile(std::filesystem::absolute(PathFromText(opts.locFile)), ui, false)) {
            context.Fail(kExitFile, "Failed to read LOC file! " + ws.LastFileError().Message());
            return context.exitCode;
        }
    }
    const XvModuleSelection selection = XvModuleStations(context.bus.busList);
    const std::vector<uint8_t>& stations = selection.stations;
    if (stations.empty()) {
        context.Fail(kExitUsage, "the saved bus holds no XV modules; run 'terrix-cli scan' first");
        return context.exitCode;
    }
    NoteSkippedModules(context, selection.skipped);
    ui.messages.clear();
    std::vector<ProgramOutcome> outcomes;
    const bool ok = ws.ProgramAllModules(stations, ui, &outcomes);
    user.Release();
    if (outcomes.empty()) {
        PrintMessages(ui.messages);
        context.exitCode = kExitUsage;
        return context.exitCode;
    }
    bool allVerified = ok;
    nlohmann::json rows = nlohmann::json::array();
    for (const ProgramOutcome& outcome : outcomes) {
        allVerified &= outcome.result == ProgramOutcome::Result::Verified;
        rows.push_back(OutcomeJson(outcome));
        if (!context.options.json) {
            std::cout << "Station " << int(outcome.station) << ": " << ResultName(outcome.result);
            if (outcome.busError != 0) {
                std::cout << " (" << BusErrorText(outcome.busError) << ")";
            }
            std::cout << '\n' << outcome.differences;
        }
    }
    if (context.options.json) {
        std::cout << nlohmann::json{{"modules", rows}, {"complete", ok && outcomes.size() == stations.size()}}
                         .dump(2)
                  << '\n';
    }
    if (!ok || outcomes.size() != stations.size() || !allVerified) {
        context.Fail(kExitBus, ok ? "not every module was programmed as written"
                                  : "programming stopped after a failure");
    }
    return context.exitCode;
}

int ActiveGet(CliContext& context, const ModuleAddress& address) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    const uint8_t active = GetActiveCalib(user.Port(), record->iaStation);
    user.Release();
    if (active > 15) {
        return FailBus(context, kMsgActiveCalibReadFailed);
    }
    if (context.options.json) {
        std::cout << nlohmann::json{{"station", record->iaStation}, {"activeCalibration", active}}.dump(2)
                  << '\n';
    } else {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%X", active);
        std::cout << "Active calibration: " << hex << '\n';
    }
    return kExitOk;
}

int ActiveSet(CliContext& context, const ModuleAddress& address, int position, bool yes) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    const uint8_t previous = GetActiveCalib(user.Port(), record->iaStation);
    if (previous > 15) {
        return FailBus(context, kMsgActiveCalibReadFailed);
    }
    if (previous == position) {
        std::cout << "Calibration " << position << " is already active; nothing was sent.\n";
        return kExitOk;
    }
    if (!yes) {
        return NeedYes(context,
                       position == 0
                           ? "CAUTION! Product selection switch will be activated by setting calibration 0."
                           : "CAUTION! This function is fixing the selected calibration and deactivating "
                             "the product selection switch! Please choose calibration 0 to activate the "
                             "product selection switch.");
    }
    if (!SetActiveCalib(user.Port(), record->iaStation, static_cast<uint8_t>(position))) {
        return FailBus(context, "Failed to set active calibration");
    }
    const uint8_t now = GetActiveCalib(user.Port(), record->iaStation);
    user.Release();
    if (context.options.json) {
        std::cout << nlohmann::json{{"station", record->iaStation},
                                    {"previous", previous},
                                    {"activeCalibration", now}}
                         .dump(2)
                  << '\n';
    } else {
        std::cout << "Active calibration: " << int(now) << " (was " << int(previous) << ")\n";
    }
    return now == position ? kExitOk : FailBus(context, "the module did not take the new calibration");
}

void AddCalibOptions(CLI::App* sub, CalibOptions& opts) {
    sub->add_option("--loc", opts.locFile, "Take the file data from this LOC file");
    sub->add_option("--loc-dir", opts.locDir,
                    "Directory of the calibration files (default: the one kept in Terrix.ini, else the data "
                    "directory)");
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto opts = std::make_shared<CalibOptions>();
    CLI::App* calib = app.add_subcommand("calib", "Material and temperature calibrations of a module");
    calib->require_subcommand(1);

    CLI::App* read =
        calib->add_subcommand("read", "Show the module's calibrations next to those of its files");
    AddModuleAddressOptions(read, opts->address);
    AddCalibOptions(read, *opts);
    read->add_flag("--coeffs", opts->coeffs, "Also show the coefficients of every switch position");
    read->add_option("--position", opts->position, "Show the coefficients of this switch position")
        ->check(CLI::Range(0, 15));
    read->callback([&context, opts] { context.exitCode = CalibRead(context, *opts); });

    CLI::App* compare =
        calib->add_subcommand("compare", "List where the module differs from the calibration files");
    AddModuleAddressOptions(compare, opts->address);
    AddCalibOptions(compare, *opts);
    compare->callback([&context, opts] { context.exitCode = CalibCompare(context, *opts); });

    CLI::App* program = calib->add_subcommand("program", "Write the file data into the module and verify it");
    AddModuleAddressOptions(program, opts->address);
    AddCalibOptions(program, *opts);
    program->add_flag("--yes", opts->yes, "Answer Yes to the questions the desktop program would ask");
    program->callback([&context, opts] { context.exitCode = CalibProgram(context, *opts); });

    CLI::App* all =
        calib->add_subcommand("program-all", "Write the file data into every XV module of the saved bus");
    AddModuleAddressOptions(all, opts->address);
    AddCalibOptions(all, *opts);
    all->add_flag("--yes", opts->yes, "Confirm programming every module");
    all->callback([&context, opts] {
        const bool addressed = opts->address.station >= 0 || opts->address.serial >= 0;
        context.exitCode = CalibProgramAll(context, *opts, addressed);
    });

    auto position = std::make_shared<int>(0);
    CLI::App* active =
        app.add_subcommand("active-calib", "The module's active calibration (switch position)");
    active->require_subcommand(1);
    CLI::App* get = active->add_subcommand("get", "Show the active calibration");
    AddModuleAddressOptions(get, opts->address);
    get->callback([&context, opts] { context.exitCode = ActiveGet(context, opts->address); });
    CLI::App* set = active->add_subcommand("set", "Make another switch position the active calibration");
    AddModuleAddressOptions(set, opts->address);
    set->add_option("position", *position,
                    "Switch position 0..15 (0 re-activates the product selection switch)")
        ->required()
        ->check(CLI::Range(0, 15));
    set->add_flag("--yes", opts->yes, "Confirm the change");
    set->callback([&context, opts, position] {
        context.exitCode = ActiveSet(context, opts->address, *position, opts->yes);
    });
});

} // namespace
} // namespace terrix::cli

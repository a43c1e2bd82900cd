// terrix-cli measure / values / recreate-ascii / erase: measuring rounds over the bus, and the values
// stored per module.

#include "cli/cli_context.h"
#include "cli/measure_publishing.h"
#include "cli/module_address.h"
#include "cli/progress_display.h"
#include "cli/publish_options.h"
#include "core/busops/scan_session.h"
#include "core/circuit/meas_loop.h"
#include "core/inventory/module_file.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"
#include "core/measure/csv_export.h"
#include "core/measure/error_marker.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/plot_data.h"
#include "core/measure/stamp_year.h"
#include "core/measure/time_stamp.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/platform/path_text.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <thread>

namespace terrix::cli {
namespace {

constexpr uint32_t kDefaultRate = 20; // "dwMeasTime" of "MeasCircDlg", as the circuit window starts with

// ---- value texts --------------------------------------------------------------------------------------

// The unit of each field of a module's record: the channel units for ordinary modules (a one-value record
// holds the channel that measures), none for the XV module, whose titles carry their units.
std::vector<std::string> FieldUnits(const ModuleRecord& module) {
    return MeasFieldUnits(module);
}

// A field as JSON: numbers as numbers, an error marker as its text ("NaN(9)").
nlohmann::json FieldJson(CMeasRecord& record, size_t i) {
    const std::string& text = record.Format(i);
    const CMeasField* field = record.Field(i);
    if (field == nullptr || record.IsErrorMarker(i)) {
        return text;
    }
    switch (field->Kind()) {
    case MeasFieldKind::kFloat: {
        float value = 0;
        record.GetFloat(i, &value);
        return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(text);
    }
    case MeasFieldKind::kWord:
    case MeasFieldKind::kByte:
        return std::stoul(text);
    default:
        return text;
    }
}

nlohmann::json ValuesJson(CMeasRecord& record, const std::vector<std::string>& units) {
    nlohmann::json values = nlohmann::json::array();
    for (size_t i = 1; i < record.FieldCount(); ++i) {
        nlohmann::json v{
            {"title", record.GetTitle(i)}, {"value", FieldJson(record, i)}, {"text", record.Format(i)}};
        if (!units[i].empty()) {
            v["unit"] = units[i];
        }
        values.push_back(std::move(v));
    }
    return values;
}

std::string ValuesText(CMeasRecord& record, const std::vector<std::string>& units, bool withTitles) {
    std::string line;
    for (size_t i = 1; i < record.FieldCount(); ++i) {
        line += "  ";
        if (withTitles) {
            line += record.GetTitle(i) + "=";
        }
        line += record.Format(i);
        if (!units[i].empty() && !record.IsErrorMarker(i)) {
            line += " " + units[i];
        }
    }
    return line;
}

// ---- measure ------------------------------------------------------------------------------------------

struct MeasureOptions {
    uint32_t rounds = 0;
    bool loop = false;
    double duration = 0;
    int64_t rate = -1; // -1: the circuit window's saved rate
    bool reconnect = false;
    BrokerCliOptions publish;
};

// "module 31042 (PX-TAVIK2) at station 3", for messages (a module file may lack the name).
std::string ModuleLabel(const ModuleRecord& module) {
    const std::string name = Cp1252ToUtf8(module.ModuleName());
    return "module " + std::to_string(module.SerialNo()) + (name.empty() ? "" : " (" + name + ")") +
           " at station " + std::to_string(module.iaStation);
}

// Prints what the loop reports: values on standard output as they come, the countdown on standard error.
class CliLoopListener final : public MeasLoopListener {
public:
    CliLoopListener(CliContext& context, uint32_t roundsWanted)
        : context_(context), roundsWanted_(roundsWanted), live_(context.StderrIsTerminal()) {}

    void SetLoop(CMeasLoop* loop) { loop_ = loop; }
    // Called after each stored value (publishing reads it from the files).
    void SetStoredHook(std::function<void()> hook) { storedHook_ = std::move(hook); }

    void OnNewValue(uint32_t slot) override {
        std::optional<CMeasRecord> record = loop_->NewestValue(slot);
        const ModuleRecord* module = loop_->RecordAt(slot);
        CMeasValueStore* store = loop_->StoreAt(slot);
        if (storedHook_) {
            storedHook_();
        }
        if (!record || module == nullptr || store == nullptr) {
            return;
        }
        const std::vector<std::string> units = FieldUnits(*module);
        std::lock_guard lock(mutex_);
        EndCountdownLine();
        ++values_;
        if (context_.options.json) {
            nlohmann::json line{{"serial", module->SerialNo()},
                                {"station", module->iaStation},
                                {"module", Cp1252ToUtf8(module->ModuleName())},
                                {"time", record->Format(0)},
                                {"values", ValuesJson(*record, units)}};
            std::cout << line.dump() << std::endl;
        } else {
            std::cout << module->SerialNo() << "  " << Cp1252ToUtf8(module->ModuleName()) << "  "
                      << record->Format(0)
                      << ValuesText(*record, units,
                                    store->Layout() == MeasLayout::kXv ||
                                        store->Layout() == MeasLayout::kXvWithTdc)
                      << std::endl;
        }
    }

    void OnCountdown(uint32_t secondsLeft) override {
        std::lock_guard lock(mutex_);
        if (context_.options.quiet || secondsLeft == lastCountdown_) {
            return;
        }
        lastCountdown_ = secondsLeft;
        char text[64];
        std::snprintf(text, sizeof text, "Next measuring in: %02u:%02u:%02u", secondsLeft / 3600,
                      secondsLeft / 60 % 60, secondsLeft % 60);
        if (live_) {
            std::fprintf(stderr, "\r%s\x1b[K", text);
            countdownOpen_ = true;
        } else {
            std::fprintf(stderr, "%s\n", text);
        }
        std::fflush(stderr);
    }

    void OnIdle() override {
        {
            std::lock_guard lock(mutex_);
            EndCountdownLine();
            idle_ = true;
        }
        changed_.notify_all();
    }

    void OnStoreFailed(uint32_t /*slot*/, const std::string& reason) override {
        std::lock_guard lock(mutex_);
        EndCountdownLine();
        storeFailed_ = true;
        std::cerr << "terrix-cli: the value could not be stored: " << reason << '\n';
    }

    void OnPortLost(const std::string& reason) override {
        const PortOutage outage = loop_->Outage();
        std::lock_guard lock(mutex_);
        EndCountdownLine();
        if (!outage.active) {
            portLost_ = true;
            std::cerr << "terrix-cli: the measurement stopped: " << reason << '\n';
            return;
        }
        std::cerr << "terrix-cli: " << reason << " Last stored value: "
                  << (outage.lastStoredStamp != 0 ? StampText(outage.lastStoredStamp) : std::string("none"))
                  << ". Trying the port every " << outage.retrySeconds << " s.\n";
    }

    void OnPortBack(uint32_t gapSeconds) override {
        std::lock_guard lock(mutex_);
        EndCountdownLine();
        char gap[32];
        std::snprintf(gap, sizeof gap, "%02u:%02u:%02u", gapSeconds / 3600, gapSeconds / 60 % 60,
                      gapSeconds % 60);
        std::cerr << "terrix-cli: the port is back after " << gap << " without it; measuring goes on.\n";
    }

    void OnModuleJoined(uint32_t slot) override {
        const ModuleRecord* module = loop_->RecordAt(slot);
        if (module == nullptr) {
            return;
        }
        std::lock_guard lock(mutex_);
        EndCountdownLine();
        std::cerr << "terrix-cli: " << ModuleLabel(*module)
                  << " answers now and is measured from this round on\n";
    }

    void OnRoundDone(uint32_t rounds) override {
        {
            std::lock_guard lock(mutex_);
            rounds_ = rounds;
            lastCountdown_ = 0;
        }
        if (roundsWanted_ != 0 && rounds >= roundsWanted_) {
            loop_->Stop(); // carried out right after this round, before any countdown
        }
    }

    // Waits up to `timeout` for the loop to become idle; true when it is.
    bool WaitIdle(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return idle_; });
    }
    uint32_t Rounds() {
        std::lock_guard lock(mutex_);
        return rounds_;
    }
    uint32_t Values() {
        std::lock_guard lock(mutex_);
        return values_;
    }
    bool StoreFailed() {
        std::lock_guard lock(mutex_);
        return storeFailed_;
    }
    bool PortLost() {
        std::lock_guard lock(mutex_);
        return portLost_;
    }

private:
    void EndCountdownLine() {
        if (countdownOpen_) {
            std::fprintf(stderr, "\r\x1b[K");
            std::fflush(stderr);
            countdownOpen_ = false;
        }
    }

    CliContext& context_;
    const uint32_t roundsWanted_;
    const bool live_;
    CMeasLoop* loop_ = nullptr;
    std::function<void()> storedHook_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool idle_ = false;
    bool countdownOpen_ = false;
    bool storeFailed_ = false;
    bool portLost_ = false;
    uint32_t lastCountdown_ = 0;
    uint32_t rounds_ = 0;
    uint32_t values_ = 0;
};

// The scan of the saved bus that opening the circuit window after a scan amounts to.
bool IdentifySavedBus(CliContext& context) {
    ScanSessionOptions session;
    const ProgressCallback progress = MakeProgressDisplay(context, "Identifying");
    const ScanSessionResult result = RunScanSession(context.bus, session, UnitName, progress, {});
    FinishProgressDisplay(context);
    if (result.startupError == kErrorPortReserved) {
        context.Fail(kExitPort, StartupErrorText(result.startupError));
        return false;
    }
    if (result.startupError == kErrorPortOpen || result.startupError == kErrorCableCheck) {
        context.Fail(kExitPort, StartupErrorText(result.startupError) + "\n" + context.PortFailureText());
        return false;
    }
    if (CliContext::Interrupted()) {
        context.exitCode = 130;
        return false;
    }
    if (result.listEmpty || result.startupError == kErrorNoModule) {
        context.Fail(kExitBus, result.listEmpty ? kEmptyBusText : StartupErrorText(result.startupError));
        return false;
    }
    if (result.collisionsLeft > 0) {
        std::cerr << "terrix-cli: " << result.collisionsLeft
                  << " collision(s) on the bus; those stations are not measured. Resolve them with "
                     "'terrix-cli scan --resolve ...'.\n";
    }
    if (result.saveFailed) {
        std::cerr << "terrix-cli: the bus state could not be saved: "
                  << context.bus.busList.LastFileError().Message() << '\n';
    }
    return true;
}

// The settings file must be readable: its reads never fail and would give an empty saved bus, so the
// measurement would run on a bus scanned anew and store values the saved bus cannot name afterwards.
bool SettingsFileReadable(CliContext& context) {
    const std::filesystem::path file = SettingsFilePath();
    std::error_code ec;
    int error = std::filesystem::is_directory(file, ec) ? EISDIR : 0;
    if (error == 0) {
        errno = 0;
        std::ifstream probe(file, std::ios::binary);
        if (!probe && errno != ENOENT) {
            error = errno != 0 ? errno : EIO;
        }
    }
    if (error != 0) {
        context.Fail(kExitFile, PathText(file) + ": " + std::strerror(error));
        return false;
    }
    return true;
}

int RunMeasure(CliContext& context, const MeasureOptions& opts) {
    CliContext::InstallInterruptHandler();
    std::optional<BrokerOptions> broker;
    if (!ResolveBroker(context, opts.publish, true, broker)) {
        return context.exitCode;
    }
    if (!SettingsFileReadable(context) || !IdentifySavedBus(context)) {
        return context.exitCode;
    }
    const uint32_t rate =
        opts.rate >= 0 ? static_cast<uint32_t>(opts.rate)
                       : CIniSection(SettingsFilePath(), "MeasCircDlg").ReadDWord("dwMeasTime", kDefaultRate);
    // A plain "measure" is one round; --loop runs until the duration or Ctrl+C.
    const uint32_t rounds = opts.loop ? 0 : (opts.rounds != 0 ? opts.rounds : 1);

    CliLoopListener listener(context, rounds);
    MeasLoopOptions loopOptions;
    loopOptions.reconnect = opts.reconnect;
    CMeasLoop loop(std::move(loopOptions));
    listener.SetLoop(&loop);
    loop.Bind(&listener, &context.bus);
    MeasurePublishing publishing(context, broker);
    publishing.Start(loop);
    // Said when measuring starts in or reaches 2033 (and each later year): once, not with every record.
    std::string yearNotice;
    const auto sayYear = [&yearNotice] {
        std::string text = StampYearNotice(CurrentYear());
        if (text != yearNotice && !text.empty()) {
            std::cerr << "terrix-cli: " << text << '\n';
        }
        yearNotice = std::move(text);
    };
    sayYear();
    listener.SetStoredHook([&publishing, &sayYear] {
        publishing.Notify();
        sayYear();
    });
    // Not even --quiet hides these: a logger that leaves a module out must say so in its journal.
    for (const uint32_t slot : loop.AbsentSlots()) {
        std::cerr << "terrix-cli: " << ModuleLabel(*loop.RecordAt(slot))
                  << " does not answer; it is not measured until it does, and is asked again every "
                  << kAbsentRetrySeconds / 60 << " minutes\n";
    }
    if (!context.options.quiet) {
        std::cerr << "Measuring " << loop.SlotCount() << " module(s), rate "
                  << std::max(rate, loop.MinimumInterval()) << " s"
                  << (rounds != 0 ? ", " + std::to_string(rounds) + " round(s)" : std::string()) << '\n';
    }
    if (!loop.Start(true, rate)) {
        const MeasStartError error = loop.StartError();
        loop.Stop();
        const bool portError = error == kMeasStartNoPort || error == kMeasStartPortBusy;
        context.Fail(portError ? kExitPort : kExitUsage,
                     std::string(MeasStartErrorText(error)) +
                         (error == kMeasStartNoPort ? "\n" + context.PortFailureText() : ""));
        return context.exitCode;
    }

    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                        std::chrono::duration<double>(opts.duration));
    bool stopAsked = false;
    while (!listener.WaitIdle(std::chrono::milliseconds(100))) {
        const bool timeUp = opts.loop && opts.duration > 0 && std::chrono::steady_clock::now() >= deadline;
        if (!stopAsked && (CliContext::Interrupted() || timeUp)) {
            // Ends after the module being measured; a waiting loop stops at once.
            loop.Stop();
            stopAsked = true;
        }
    }
    if (!context.options.quiet) {
        std::cerr << listener.Rounds() << " round(s), " << listener.Values() << " value(s)\n";
    }
    publishing.Finish();
    if (listener.PortLost()) {
        context.exitCode = kExitPort;
        return context.exitCode;
    }
    if (listener.StoreFailed()) {
        context.exitCode = kExitFile;
        return context.exitCode;
    }
    return CliContext::Interrupted() ? 130 : kExitOk;
}

// ---- stored values -----------------------------------------------------------------------------------

struct StoreOptions {
    int serial = -1;
    bool all = false;
    bool yes = false;
    int64_t from = 0;
    int64_t count = -1;
    int64_t tail = -1;
    bool csv = false;
    std::string separator = ",";
    bool decimalComma = false;
    bool emptyErrors = false;
};

// The module of a serial number: from the saved bus, else from its module file.
bool FindModule(CliContext& context, uint16_t serial, ModuleRecord& module) {
    if (const ModuleRecord* saved = context.bus.busList.FindBySerial(serial)) {
        module = *saved;
        return true;
    }
    ModuleRecord fromFile;
    fromFile.stationInfo.wSerialNo = serial;
    if (ReadModuleFile(serial, fromFile)) {
        fromFile.enModuleState = msIdentified;
        module = fromFile;
        return true;
    }
    context.Fail(kExitUsage,
                 "serial number " + std::to_string(serial) +
                     " is neither in the saved bus nor has it a module file; run 'terrix-cli scan' first");
    return false;
}

// The modules the command works on: one by --serial, or every module of the saved bus with --all.
std::vector<ModuleRecord> SelectModules(CliContext& context, const StoreOptions& opts) {
    LoadSavedBus(context);
    std::vector<ModuleRecord> modules;
    if (opts.all) {
        const CBusList& list = context.bus.busList;
        for (uint32_t i = 0; i < list.Count(); ++i) {
            if (list.GetAt(i)->SerialNo() <= kMaxValidSerial) {
                modules.push_back(*list.GetAt(i));
            }
        }
        return modules;
    }
    ModuleRecord module;
    if (FindModule(context, static_cast<uint16_t>(opts.serial), module)) {
        modules.push_back(module);
    }
    return modules;
}

// Binds a store to the module without creating files: reading must not leave empty files behind.
bool BindStore(CMeasValueStore& store, const ModuleRecord& module) {
    store.SetDirectory(PathText(DataDir()));
    return store.Bind(module);
}

int RunValues(CliContext& context, const StoreOptions& opts) {
    const std::vector<ModuleRecord> modules = SelectModules(context, opts);
    if (modules.empty()) {
        return context.exitCode;
    }
    const ModuleRecord& module = modules.front();
    CMeasValueStore store;
    if (!BindStore(store, module)) {
        context.Fail(kExitUsage, "no record layout for module " + std::to_string(module.SerialNo()));
        return context.exitCode;
    }
    uint32_t total = 0;
    if (std::filesystem::exists(store.BinaryPath())) {
        if (!store.OpenReader()) {
            context.Fail(kExitFile, "cannot read the values: " + store.LastErrorText());
            return context.exitCode;
        }
        total = store.RecordCount();
    }
    uint64_t first = 0;
    uint64_t count = total;
    if (opts.tail >= 0) {
        count = std::min<uint64_t>(static_cast<uint64_t>(opts.tail), total);
        first = total - count;
    } else {
        first = std::min<uint64_t>(static_cast<uint64_t>(opts.from), total);
        count = opts.count >= 0 ? std::min<uint64_t>(static_cast<uint64_t>(opts.count), total - first)
                                : total - first;
    }

    const std::vector<std::string> units = FieldUnits(module);
    if (opts.csv && context.options.json) {
        context.Fail(kExitUsage, "choose --csv or --json");
        return context.exitCode;
    }
    if (opts.csv) {
        CsvOptions csv;
        csv.separator = opts.separator == "tab" ? '\t' : opts.separator.front();
        csv.decimalMark = opts.decimalComma ? ',' : '.';
        csv.emptyErrorCells = opts.emptyErrors;
        std::string error;
        const bool written = WriteValuesCsv(store, units, static_cast<uint32_t>(first),
                                            static_cast<uint32_t>(first + count), csv, std::cout, &error);
        std::cout.flush();
        if (!written) {
            context.Fail(kExitFile, "cannot write the values: " + error);
            return context.exitCode;
        }
        if (!context.options.quiet) {
            std::cerr << count << " of " << total << " record(s)\n";
        }
        return kExitOk;
    }
    CMeasRecord& record = store.ReadRecordData();
    nlohmann::json rows = nlohmann::json::array();
    if (!context.options.json) {
        std::cout << "Index";
        for (size_t i = 0; i < record.FieldCount(); ++i) {
            std::cout << '\t' << record.GetTitle(i) << (units[i].empty() ? "" : " [" + units[i] + "]");
        }
        std::cout << '\n';
    }
    bool readFailed = false;
    for (uint64_t index = first; index < first + count; ++index) {
        if (!store.ReadRecord(static_cast<uint32_t>(index))) {
            readFailed = true;
            break;
        }
        if (context.options.json) {
            rows.push_back(
                {{"index", index}, {"time", record.Format(0)}, {"values", ValuesJson(record, units)}});
            continue;
        }
        std::cout << index;
        for (size_t i = 0; i < record.FieldCount(); ++i) {
            std::cout << '\t' << record.Format(i);
        }
        std::cout << '\n';
    }
    if (context.options.json) {
        std::cout << nlohmann::json{{"serial", module.SerialNo()},
                                    {"module", Cp1252ToUtf8(module.ModuleName())},
                                    {"count", total},
                                    {"from", first},
                                    {"records", rows}}
                         .dump(2)
                  << '\n';
    } else if (!context.options.quiet) {
        std::cerr << count << " of " << total << " record(s)\n";
    }
    if (readFailed) {
        context.Fail(kExitFile, "cannot read the values: " + store.LastErrorText());
        return context.exitCode;
    }
    return kExitOk;
}

int RunRecreateAscii(CliContext& context, const StoreOptions& opts) {
    const std::vector<ModuleRecord> modules = SelectModules(context, opts);
    if (modules.empty()) {
        return context.exitCode;
    }
    bool failed = false;
    for (const ModuleRecord& module : modules) {
        CMeasValueStore store;
        if (!BindStore(store, module) || !std::filesystem::exists(store.BinaryPath())) {
            continue; // nothing measured: nothing to convert
        }
        if (!store.OpenReader() || !store.RecreateAscii()) {
            failed = true;
            std::cerr << "terrix-cli: " << module.SerialNo() << ": " << store.LastErrorText() << '\n';
        } else if (!context.options.quiet) {
            std::cerr << module.SerialNo() << ": " << store.RecordCount() << " record(s) written to "
                      << store.AsciiPath() << '\n';
        }
    }
    if (failed) {
        context.Fail(kExitFile, "Error(s) detected while converting Meas. Data from binary to ASCII!");
        return context.exitCode;
    }
    std::cout << "Successfully converted binary Meas. Data to ASCII.\n";
    return kExitOk;
}

int RunErase(CliContext& context, const StoreOptions& opts) {
    // The desktop program asks before it deletes a module's files; here --yes is that answer, for one
    // module as for all.
    if (!opts.yes) {
        context.Fail(kExitUsage, opts.all ? "erasing the values of all modules needs --yes"
                                          : "erasing the values of a module needs --yes");
        return context.exitCode;
    }
    const std::vector<ModuleRecord> modules = SelectModules(context, opts);
    if (modules.empty()) {
        return context.exitCode;
    }
    bool failed = false;
    for (const ModuleRecord& module : modules) {
        CMeasValueStore store;
        if (!BindStore(store, module)) {
            continue;
        }
        if (!store.Erase()) {
            failed = true;
            std::cerr << "terrix-cli: " << module.SerialNo() << ": " << store.LastErrorText() << '\n';
        } else if (!context.options.quiet) {
            std::cerr << module.SerialNo() << ": values erased\n";
        }
    }
    if (failed) {
        context.Fail(kExitFile, "Failed to delete measuring values!");
        return context.exitCode;
    }
    return kExitOk;
}

void AddSelection(CLI::App* sub, StoreOptions& opts, bool allowAll) {
    auto* serial =
        sub->add_option("--serial", opts.serial, "Serial number of the module")->check(CLI::Range(0, 65534));
    if (allowAll) {
        auto* all = sub->add_flag("--all", opts.all, "Every module of the saved bus");
        serial->excludes(all);
        all->excludes(serial);
    } else {
        serial->required();
    }
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto measure = std::make_shared<MeasureOptions>();
    CLI::App* sub = app.add_subcommand(
        "measure",
        "Identify the saved bus and measure: one round, N rounds, or a loop (Ctrl+C stops after the "
        "current module)");
    auto* rounds =
        sub->add_option("--rounds", measure->rounds, "Number of rounds")->check(CLI::Range(1, 1000000));
    auto* loop =
        sub->add_flag("--loop", measure->loop, "Repeat rounds until --duration has passed or Ctrl+C");
    sub->add_option("--duration", measure->duration, "With --loop: stop after this many seconds")
        ->check(CLI::NonNegativeNumber)
        ->needs(loop);
    sub->add_option("--rate", measure->rate,
                    "Seconds from the start of one round to the next (at least the longest conversion time); "
                    "default: the circuit window's saved rate")
        ->check(CLI::Range(int64_t{0}, int64_t{86400}));
    sub->add_flag("--reconnect", measure->reconnect,
                  "With --loop: when the port's device goes away, say so and measure on once it is back "
                  "(the same path or /dev/serial/by-id name), instead of ending with status 2")
        ->needs(loop);
    rounds->excludes(loop);
    auto* publish = sub->add_option("--publish", measure->publish.given.url,
                                    "Publish every stored record to an MQTT broker: "
                                    "mqtt[s]://[user@]host[:port]/prefix (default: [Publish] URL of the "
                                    "settings file)");
    sub->add_flag("--no-publish", measure->publish.noPublish,
                  "Do not publish, whatever the settings file says")
        ->excludes(publish);
    AddBrokerFileOptions(sub, measure->publish, false);
    sub->callback([&context, measure] { context.exitCode = RunMeasure(context, *measure); });

    auto values = std::make_shared<StoreOptions>();
    CLI::App* v = app.add_subcommand("values", "Show the stored values of a module");
    AddSelection(v, *values, false);
    auto* from =
        v->add_option("--from", values->from, "First record (0 = oldest)")->check(CLI::NonNegativeNumber);
    auto* count = v->add_option("--count", values->count, "Number of records")->check(CLI::NonNegativeNumber);
    auto* tail = v->add_option("--tail", values->tail, "The last N records")->check(CLI::NonNegativeNumber);
    auto* csv =
        v->add_flag("--csv", values->csv,
                    "Print CSV for spreadsheets: ISO 8601 time stamps, one column per value, units in "
                    "the header");
    v->add_option("--separator", values->separator,
                  "With --csv: the column separator, one character or 'tab'")
        ->check([](const std::string& s) -> std::string {
            if (s == "tab" || (s.size() == 1 && s != "\"" && s != "\r" && s != "\n")) {
                return {};
            }
            return "one character (not a quote or line break) or 'tab'";
        })
        ->needs(csv);
    v->add_flag("--decimal-comma", values->decimalComma,
                "With --csv: a decimal comma, as German spreadsheets use")
        ->needs(csv);
    v->add_flag("--empty-errors", values->emptyErrors,
                "With --csv: leave values that could not be measured empty instead of writing NaN(code)")
        ->needs(csv);
    tail->excludes(from);
    tail->excludes(count);
    v->callback([&context, values] { context.exitCode = RunValues(context, *values); });

    auto recreate = std::make_shared<StoreOptions>();
    CLI::App* r =
        app.add_subcommand("recreate-ascii", "Rebuild the .ASC file from the binary measurement file");
    AddSelection(r, *recreate, true);
    r->callback([&context, recreate] {
        if (recreate->serial < 0 && !recreate->all) {
            context.Fail(kExitUsage, "choose --serial S or --all");
            return;
        }
        context.exitCode = RunRecreateAscii(context, *recreate);
    });

    auto erase = std::make_shared<StoreOptions>();
    CLI::App* e = app.add_subcommand("erase", "Delete the stored values (binary and ASCII file) of modules");
    AddSelection(e, *erase, true);
    e->add_flag("--yes", erase->yes, "Confirm erasing (required)");
    e->callback([&context, erase] {
        if (erase->serial < 0 && !erase->all) {
            context.Fail(kExitUsage, "choose --serial S --yes or --all --yes");
            return;
        }
        context.exitCode = RunErase(context, *erase);
    });
});

} // namespace
} // namespace terrix::cli

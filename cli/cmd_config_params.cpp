// terrix-cli params get|set|set-all|save|load: the XV module's application parameters and parameter files.

#include "cli/cmd_config_common.h"
#include "core/config/app_params.h"
#include "core/config/module_stations.h"
#include "core/config/par_file.h"
#include "core/platform/path_text.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <optional>

namespace terrix::cli {
namespace {

struct ParamsOptions {
    ModuleAddress address;
    std::optional<double> offset;
    std::optional<uint64_t> averaging;
    std::optional<uint64_t> error66;
    std::optional<uint64_t> queueFull;
    std::optional<uint64_t> queueEmpty;
    std::string file;
    bool dryRun = false;
};

nlohmann::json ParamsJson(const AppParams& p) {
    const AppParamsSeconds s = SecondsFromBlock(p);
    return {{"offsetPercent", s.offsetPercent},         {"offsetBlock", p.fOffset},
            {"averagingSeconds", s.averagingSeconds},   {"averagingCount", p.wAveraging},
            {"error66Seconds", s.error66Seconds},       {"error66Units", p.wError66Units},
            {"queueFullSeconds", s.queueFullSeconds},   {"queueFullCount", p.yQueueFull},
            {"queueEmptySeconds", s.queueEmptySeconds}, {"queueEmptyCount", p.yQueueEmpty}};
}

void PrintParams(const AppParams& p) {
    const AppParamsSeconds s = SecondsFromBlock(p);
    std::cout << "Offset Value in Percentage   " << NumberText(s.offsetPercent) << " %\n";
    char line[160];
    std::snprintf(line, sizeof line, "Averaging Time               %llu s (%u measurements)\n",
                  static_cast<unsigned long long>(s.averagingSeconds), p.wAveraging);
    std::cout << line;
    std::snprintf(line, sizeof line, "Error66 Delay                %llu s (%u units of 10 measurements)\n",
                  static_cast<unsigned long long>(s.error66Seconds), p.wError66Units);
    std::cout << line;
    std::snprintf(line, sizeof line, "Queue-Full Time              %llu s (%u measurements)\n",
                  static_cast<unsigned long long>(s.queueFullSeconds), p.yQueueFull);
    std::cout << line;
    std::snprintf(line, sizeof line, "Queue-Empty Time             %llu s (%u measurements)\n",
                  static_cast<unsigned long long>(s.queueEmptySeconds), p.yQueueEmpty);
    std::cout << line;
}

void Show(const CliContext& context, const AppParams& params,
          nlohmann::json extra = nlohmann::json::object()) {
    if (context.options.json) {
        nlohmann::json out = ParamsJson(params);
        out.update(extra);
        std::cout << out.dump(2) << '\n';
    } else {
        PrintParams(params);
    }
}

// The given fields converted into the block; fields not given keep the module's values unchanged (a
// round trip through seconds could change a count that was not meant to change).
bool ApplyEntries(CliContext& context, const ParamsOptions& opts, AppParams& params) {
    AppParamsSeconds seconds;
    seconds.offsetPercent = opts.offset.value_or(0);
    seconds.averagingSeconds = opts.averaging.value_or(0);
    seconds.error66Seconds = opts.error66.value_or(0);
    seconds.queueFullSeconds = opts.queueFull.value_or(0);
    seconds.queueEmptySeconds = opts.queueEmpty.value_or(0);
    AppParams entered;
    std::string error;
    if (!BlockFromSeconds(seconds, entered, error)) {
        context.Fail(kExitUsage, error);
        return false;
    }
    if (opts.offset) {
        params.fOffset = entered.fOffset;
    }
    if (opts.averaging) {
        params.wAveraging = entered.wAveraging;
    }
    if (opts.error66) {
        params.wError66Units = entered.wError66Units;
    }
    if (opts.queueFull) {
        params.yQueueFull = entered.yQueueFull;
    }
    if (opts.queueEmpty) {
        params.yQueueEmpty = entered.yQueueEmpty;
    }
    return true;
}

int ParamsGet(CliContext& context, const ParamsOptions& opts) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    AppParams params;
    if (!ReadAppParams(user.Port(), record->iaStation, params)) {
        return FailBus(context, kMsgGetAppParamsFailed);
    }
    Show(context, params, {{"station", record->iaStation}});
    return kExitOk;
}

int ParamsSet(CliContext& context, const ParamsOptions& opts) {
    if (!opts.offset && !opts.averaging && !opts.error66 && !opts.queueFull && !opts.queueEmpty) {
        context.Fail(kExitUsage,
                     "give at least one of --offset, --averaging, --error66, --queue-full, --queue-empty");
        return context.exitCode;
    }
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    AppParams params;
    if (!ReadAppParams(user.Port(), record->iaStation, params)) {
        return FailBus(context, kMsgGetAppParamsFailed);
    }
    if (!ApplyEntries(context, opts, params)) {
        return context.exitCode;
    }
    if (!WriteAppParams(user.Port(), record->iaStation, params)) {
        return FailBus(context, kMsgSetAppParamsFailed);
    }
    AppParams now;
    if (!ReadAppParams(user.Port(), record->iaStation, now)) {
        return FailBus(context, kMsgGetAppParamsFailed);
    }
    Show(context, now, {{"station", record->iaStation}});
    return kExitOk;
}

int ParamsSetAll(CliContext& context, const ParamsOptions& opts) {
    AppParams entered;
    if (!ApplyEntries(context, opts, entered)) {
        return context.exitCode;
    }
    LoadSavedBus(context);
    const XvModuleSelection selection = XvModuleStations(context.bus.busList);
    const std::vector<uint8_t>& stations = selection.stations;
    if (stations.empty()) {
        context.Fail(kExitUsage, "the saved bus holds no XV modules; run 'terrix-cli scan' first");
        return context.exitCode;
    }
    NoteSkippedModules(context, selection.skipped);
    PortUser user;
    if (!context.OpenPort(user)) {
        return context.exitCode;
    }
    size_t failed = 0;
    const bool ok =
        SetAllOffsetsAndAveTime(user.Port(), stations, entered.fOffset, entered.wAveraging, &failed);
    if (context.options.json) {
        nlohmann::json done = nlohmann::json::array();
        for (size_t k = 0; k < (ok ? stations.size() : failed); ++k) {
            done.push_back(stations[k]);
        }
        nlohmann::json out = {{"set", done}, {"ok", ok}};
        if (!ok) {
            out["failedStation"] = stations[failed];
        }
        std::cout << out.dump(2) << '\n';
    } else {
        const size_t count = ok ? stations.size() : failed;
        std::cout << "Offset " << NumberText(OffsetPercentFromBlock(entered.fOffset))
                  << " % and averaging count " << entered.wAveraging << " set in " << count
                  << " module(s).\n";
    }
    if (!ok) {
        return FailBus(context, std::string(kMsgSetOffsetFailed) + " (station " +
                                    std::to_string(stations[failed]) +
                                    "; the modules after it are unchanged)");
    }
    return kExitOk;
}

int ParamsSave(CliContext& context, const ParamsOptions& opts) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    AppParams params;
    if (!ReadAppParams(user.Port(), record->iaStation, params)) {
        return FailBus(context, kMsgGetAppParamsFailed);
    }
    user.Release();
    if (!ApplyEntries(context, opts, params)) {
        return context.exitCode;
    }
    ConfigMessages messages;
    if (!SaveParFile(PathFromText(opts.file), params, messages)) {
        PrintMessages(messages);
        context.exitCode = kExitFile;
        return context.exitCode;
    }
    Show(context, params, {{"file", opts.file}});
    return kExitOk;
}

int ParamsLoad(CliContext& context, const ParamsOptions& opts) {
    AppParams params;
    ConfigMessages messages;
    if (!LoadParFile(PathFromText(opts.file), params, messages)) {
        PrintMessages(messages);
        context.exitCode = kExitFile;
        return context.exitCode;
    }
    if (opts.dryRun) {
        Show(context, params, {{"file", opts.file}, {"written", false}});
        return kExitOk;
    }
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    if (!WriteAppParams(user.Port(), record->iaStation, params)) {
        return FailBus(context, kMsgSetAppParamsFailed);
    }
    Show(context, params, {{"file", opts.file}, {"written", true}, {"station", record->iaStation}});
    return kExitOk;
}

void AddEntryOptions(CLI::App* sub, ParamsOptions& opts) {
    sub->add_option("--offset", opts.offset, "Offset value in percent");
    sub->add_option("--averaging", opts.averaging, "Averaging time in seconds (at most 49623)");
    sub->add_option("--error66", opts.error66, "Error66 delay in seconds (at most 262143)");
    sub->add_option("--queue-full", opts.queueFull, "Queue-full time in seconds (at most 102)");
    sub->add_option("--queue-empty", opts.queueEmpty, "Queue-empty time in seconds (at most 102)");
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto opts = std::make_shared<ParamsOptions>();
    CLI::App* params = app.add_subcommand("params", "Application parameters of the XV module");
    params->require_subcommand(1);

    CLI::App* get = params->add_subcommand("get", "Show the module's parameters");
    AddModuleAddressOptions(get, opts->address);
    get->callback([&context, opts] { context.exitCode = ParamsGet(context, *opts); });

    CLI::App* set = params->add_subcommand("set", "Change parameters (the others keep their values)");
    AddModuleAddressOptions(set, opts->address);
    AddEntryOptions(set, *opts);
    set->callback([&context, opts] { context.exitCode = ParamsSet(context, *opts); });

    CLI::App* all = params->add_subcommand(
        "set-all", "Set offset and averaging time in every XV module of the saved bus");
    all->add_option("--offset", opts->offset, "Offset value in percent")->required();
    all->add_option("--averaging", opts->averaging, "Averaging time in seconds")->required();
    all->callback([&context, opts] { context.exitCode = ParamsSetAll(context, *opts); });

    CLI::App* save = params->add_subcommand(
        "save", "Save the module's parameters (with any changes given) to a .par file");
    AddModuleAddressOptions(save, opts->address);
    save->add_option("file", opts->file, "Parameter file")->required();
    AddEntryOptions(save, *opts);
    save->callback([&context, opts] { context.exitCode = ParamsSave(context, *opts); });

    CLI::App* load = params->add_subcommand("load", "Write the parameters of a .par file into the module");
    AddModuleAddressOptions(load, opts->address);
    load->add_option("file", opts->file, "Parameter file")->required();
    load->add_flag("--dry-run", opts->dryRun, "Only read and show the file");
    load->callback([&context, opts] { context.exitCode = ParamsLoad(context, *opts); });
});

} // namespace
} // namespace terrix::cli

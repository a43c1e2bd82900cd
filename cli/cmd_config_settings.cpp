// terrix-cli offset get|set|change, error66 get|set, reset-baud, halt get|set and user-info get|set: the
// small per-module settings.

#include "cli/cmd_config_common.h"
#include "core/config/error66_limit.h"
#include "core/config/halt_state.h"
#include "core/config/offset_adjust.h"
#include "core/config/reset_baud.h"
#include "core/config/user_info.h"
#include "core/inventory/stored_bus.h"
#include "core/inventory/stored_text.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <iostream>
#include <optional>

namespace terrix::cli {
namespace {

struct SettingsOptions {
    ModuleAddress address;
    double value = 0;
    std::string action;
    std::optional<std::string> place;
    std::optional<std::string> comment;
    bool yes = false;
};

// ---- offset ---------------------------------------------------------------------------------------------

void ShowOffset(const CliContext& context, uint8_t station, double percent, std::optional<double> previous) {
    if (context.options.json) {
        nlohmann::json out = {{"station", station}, {"offsetPercent", percent}};
        if (previous) {
            out["previousPercent"] = *previous;
        }
        std::cout << out.dump(2) << '\n';
        return;
    }
    std::cout << "Offset: " << NumberText(percent) << " %";
    if (previous) {
        std::cout << " (was " << NumberText(*previous) << " %)";
    }
    std::cout << '\n';
}

int OffsetGet(CliContext& context, const SettingsOptions& opts) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    double percent = 0;
    if (!ReadOffsetPercent(user.Port(), record->iaStation, percent)) {
        return FailBus(context, kMsgOffsetReadFailed);
    }
    ShowOffset(context, record->iaStation, percent, std::nullopt);
    return kExitOk;
}

// "set": the new offset; "change": the amount the measured value is to change by (-100..100 %).
int OffsetWrite(CliContext& context, const SettingsOptions& opts, bool relative) {
    if (!std::isfinite(opts.value)) {
        context.Fail(kExitUsage, std::string(relative ? "the change" : "the offset") +
                                     " must be a finite number, not " + NumberText(opts.value));
        return context.exitCode;
    }
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    double previous = 0;
    if (!ReadOffsetPercent(user.Port(), record->iaStation, previous)) {
        if (relative) {
            return FailBus(context, kMsgOffsetReadFailed);
        }
        std::cerr << "terrix-cli: " << kMsgOffsetReadFailed << " (0 is taken as the previous offset)\n";
        previous = 0;
    }
    OffsetEdit edit;
    edit.Start(previous);
    if (relative ? !edit.SetChange(opts.value) : !edit.SetNewOffset(opts.value)) {
        context.Fail(kExitUsage, std::string(relative ? "the change" : "the offset") +
                                     " must lie between -100 and 100 %");
        return context.exitCode;
    }
    if (!OffsetPercentEncodes(edit.NewOffset())) {
        context.Fail(kExitUsage, "the new offset " + NumberText(edit.NewOffset()) +
                                     " % is out of the module's range (it must stay between -100 and 100 %)");
        return context.exitCode;
    }
    if (!edit.IsModified()) {
        std::cout << "The offset is already " << NumberText(previous) << " %; nothing was sent.\n";
        return kExitOk;
    }
    if (!opts.yes) {
        return NeedYes(context, "Change the offset from " + NumberText(previous) + " % to " +
                                    NumberText(edit.NewOffset()) + " %?");
    }
    if (!WriteOffsetPercent(user.Port(), record->iaStation, edit.NewOffset())) {
        return FailBus(context, "the offset could not be set");
    }
    double now = 0;
    if (!ReadOffsetPercent(user.Port(), record->iaStation, now)) {
        return FailBus(context, kMsgOffsetReadFailed);
    }
    ShowOffset(context, record->iaStation, now, previous);
    return kExitOk;
}

// ---- Error66 limit --------------------------------------------------------------------------------------

int Error66Get(CliContext& context, const SettingsOptions& opts) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    double percent = 0;
    ConfigMessages messages;
    const bool ok = ReadError66Limit(user.Port(), record->iaStation, percent, messages);
    PrintMessages(messages);
    if (!ok) {
        return FailBus(context, "the Error66 limit could not be read");
    }
    if (context.options.json) {
        std::cout << nlohmann::json{{"station", record->iaStation}, {"limitPercent", percent}}.dump(2)
                  << '\n';
    } else {
        std::cout << "Error66 limit: " << NumberText(percent) << " %\n";
    }
    // The limit was read, but the module kept the opened configuration.
    return messages.empty() ? kExitOk : FailBus(context, "the analog configuration could not be put back");
}

int Error66Set(CliContext& context, const SettingsOptions& opts) {
    int32_t units = 0;
    if (!Error66LimitUnits(opts.value, units)) {
        context.Fail(kExitUsage, kMsgLimitRange);
        return context.exitCode;
    }
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    ConfigMessages messages;
    if (!WriteError66Limit(user.Port(), record->iaStation, opts.value, messages)) {
        PrintMessages(messages);
        return FailBus(context, "the Error66 limit could not be set");
    }
    if (context.options.json) {
        std::cout << nlohmann::json{{"station", record->iaStation},
                                    {"limitPercent", units * 0.1},
                                    {"sent", units}}
                         .dump(2)
                  << '\n';
    } else {
        std::cout << "Error66 limit set to " << NumberText(units * 0.1) << " %\n";
    }
    return kExitOk;
}

// ---- reset baud rate ------------------------------------------------------------------------------------

int ResetBaud(CliContext& context, const SettingsOptions& opts) {
    const bool addressed = opts.address.station >= 0 || opts.address.serial >= 0;
    ModuleRecord* record = nullptr;
    if (addressed && (record = FindAddressedModule(context, opts.address)) == nullptr) {
        return context.exitCode;
    }
    if (record != nullptr && !context.options.json) {
        std::cout << "Now Reset Baudrate: " << ResetBaudRate(*record) << '\n';
    }
    if (!opts.yes) {
        return NeedYes(context, "Every module of the bus will start at 9600 baud after its next reset.");
    }
    PortUser user;
    if (!context.OpenPort(user)) {
        return context.exitCode;
    }
    ModuleRecord scratch;
    ModuleRecord& target = record != nullptr ? *record : scratch;
    if (!ProgramResetBaudRate(user.Port(), target)) {
        context.Fail(kExitPort, std::string(kMsgResetBaudFailed) + " The command could not be sent on " +
                                    context.DeviceName());
        return context.exitCode;
    }
    user.Release();
    // The record of a module the saved bus knows keeps the new rate in its module file.
    InventoryFileError error;
    if (record != nullptr && !SaveModuleChange(*record, &error)) {
        context.Fail(kExitFile, "the module file could not be written: " + error.Message());
    }
    if (context.options.json) {
        std::cout << nlohmann::json{{"resetBaud", 9600}, {"sent", true}}.dump(2) << '\n';
    } else {
        std::cout << "Reset baud rate 9600 sent to every module.\n";
    }
    return context.exitCode;
}

// ---- halt measuring state -------------------------------------------------------------------------------

void ShowHalt(const CliContext& context, uint8_t station, const HaltMeasState& state) {
    if (context.options.json) {
        std::cout << nlohmann::json{{"station", station},
                                    {"haltState", state.haltState},
                                    {"haltStateText", HaltStateName(state.haltState)},
                                    {"command", state.command},
                                    {"commandText", HaltCommandName(state.command)}}
                         .dump(2)
                  << '\n';
    } else {
        std::cout << "Halt state: " << HaltStateName(state.haltState) << " (" << state.haltState << ")\n"
                  << "Command:    " << HaltCommandName(state.command) << '\n';
    }
}

int HaltGet(CliContext& context, const SettingsOptions& opts) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    HaltMeasState state;
    if (!ReadHaltMeasState(user.Port(), record->iaStation, state)) {
        return FailBus(context, kMsgHaltStateReadFailed);
    }
    ShowHalt(context, record->iaStation, state);
    return kExitOk;
}

int HaltSet(CliContext& context, const SettingsOptions& opts) {
    PortUser user;
    ModuleRecord* record = OpenAddressedModule(context, opts.address, user);
    if (record == nullptr) {
        return context.exitCode;
    }
    // The signal bit is written back as the module reports it, so the state is read first.
    HaltMeasState state;
    if (!ReadHaltMeasState(user.Port(), record->iaStation, state)) {
        return FailBus(context, kMsgHaltStateReadFailed);
    }
    const bool halt = opts.action == "halt";
    if (!SetHaltByCommand(user.Port(), record->iaStation, halt, state)) {
        return FailBus(context, kMsgHaltStateReadFailed);
    }
    ShowHalt(context, record->iaStation, state);
    if (state.command != (halt ? 1 : 0)) {
        return FailBus(context, "the module did not take the command");
    }
    return kExitOk;
}

// ---- user data ------------------------------------------------------------------------------------------

// The record with its serial number: a station the saved bus does not know is identified first.
ModuleRecord* UserInfoRecord(CliContext& context, const ModuleAddress& address) {
    ModuleRecord* record = FindAddressedModule(context, address);
    if (record == nullptr || record->SerialNo() != 0 || address.serial >= 0) {
        return record;
    }
    PortUser user;
    if (!context.OpenPort(user) || !IdentifyAddressedModule(context, user, *record, false)) {
        return nullptr;
    }
    return record;
}

void ShowUserInfo(const CliContext& context, const ModuleRecord& record) {
    if (context.options.json) {
        std::cout << nlohmann::json{{"wSerialNo", record.SerialNo()},
                                    {"title", UserInfoTitle(record)},
                                    {"place", UserPlaceText(record)},
                                    {"comment", UserCommentText(record)}}
                         .dump(2)
                  << '\n';
    } else {
        std::cout << "Module:   " << UserInfoTitle(record) << '\n'
                  << "Place:    " << UserPlaceText(record) << '\n'
                  << "Comments: " << UserCommentText(record) << '\n';
    }
}

int UserInfoGet(CliContext& context, const SettingsOptions& opts) {
    ModuleRecord* record = UserInfoRecord(context, opts.address);
    if (record == nullptr) {
        return context.exitCode;
    }
    ShowUserInfo(context, *record);
    return kExitOk;
}

int UserInfoSet(CliContext& context, const SettingsOptions& opts) {
    if (!opts.place && !opts.comment) {
        context.Fail(kExitUsage, "give --place and/or --comment");
        return context.exitCode;
    }
    ModuleRecord* record = UserInfoRecord(context, opts.address);
    if (record == nullptr) {
        return context.exitCode;
    }
    if (record->SerialNo() > kMaxValidSerial) {
        context.Fail(kExitUsage, "This function is invalid for module of that status!");
        return context.exitCode;
    }
    const std::string place = opts.place.value_or(UserPlaceText(*record));
    const std::string comment = opts.comment.value_or(UserCommentText(*record));
    if (place == UserPlaceText(*record) && comment == UserCommentText(*record)) {
        std::cout << "Nothing to change.\n";
        return kExitOk;
    }
    if (!opts.yes) {
        return NeedYes(context, "Change the place and comment of module " + UserInfoTitle(*record) + "?");
    }
    InventoryFileError error;
    if (!ApplyUserInfo(*record, place, comment, &error)) {
        context.Fail(kExitFile, "the module file could not be written: " + error.Message());
        return context.exitCode;
    }
    ShowUserInfo(context, *record);
    return kExitOk;
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto opts = std::make_shared<SettingsOptions>();

    CLI::App* offset = app.add_subcommand("offset", "The module's measured-value offset in percent");
    offset->require_subcommand(1);
    CLI::App* offsetGet = offset->add_subcommand("get", "Show the offset");
    AddModuleAddressOptions(offsetGet, opts->address);
    offsetGet->callback([&context, opts] { context.exitCode = OffsetGet(context, *opts); });
    CLI::App* offsetSet = offset->add_subcommand("set", "Set a new offset");
    AddModuleAddressOptions(offsetSet, opts->address);
    offsetSet->add_option("percent", opts->value, "New offset in percent")->required();
    offsetSet->add_flag("--yes", opts->yes, "Confirm the change");
    offsetSet->callback([&context, opts] { context.exitCode = OffsetWrite(context, *opts, false); });
    CLI::App* offsetChange = offset->add_subcommand("change", "Change the measured value by an amount");
    AddModuleAddressOptions(offsetChange, opts->address);
    offsetChange->add_option("percent", opts->value, "Change in percent, -100..100")->required();
    offsetChange->add_flag("--yes", opts->yes, "Confirm the change");
    offsetChange->callback([&context, opts] { context.exitCode = OffsetWrite(context, *opts, true); });

    CLI::App* error66 =
        app.add_subcommand("error66", "The measuring low limit below which the XV module raises error 66");
    error66->require_subcommand(1);
    CLI::App* e66Get = error66->add_subcommand("get", "Show the limit");
    AddModuleAddressOptions(e66Get, opts->address);
    e66Get->callback([&context, opts] { context.exitCode = Error66Get(context, *opts); });
    CLI::App* e66Set = error66->add_subcommand("set", "Set the limit");
    AddModuleAddressOptions(e66Set, opts->address);
    e66Set->add_option("percent", opts->value, "New limit in percent (sent in tenths, toward zero)")
        ->required();
    e66Set->callback([&context, opts] { context.exitCode = Error66Set(context, *opts); });

    CLI::App* reset = app.add_subcommand("reset-baud", "Make every module start at 9600 baud after a reset");
    AddModuleAddressOptions(reset, opts->address);
    reset->add_flag("--yes", opts->yes, "Confirm sending the command to every module");
    reset->callback([&context, opts] { context.exitCode = ResetBaud(context, *opts); });

    CLI::App* halt = app.add_subcommand("halt", "The XV module's halt-measuring state");
    halt->require_subcommand(1);
    CLI::App* haltGet = halt->add_subcommand("get", "Show the state");
    AddModuleAddressOptions(haltGet, opts->address);
    haltGet->callback([&context, opts] { context.exitCode = HaltGet(context, *opts); });
    CLI::App* haltSet = halt->add_subcommand("set", "Release or halt measuring by command");
    AddModuleAddressOptions(haltSet, opts->address);
    haltSet->add_option("action", opts->action, "release or halt")
        ->required()
        ->check(CLI::IsMember({"release", "halt"}));
    haltSet->callback([&context, opts] { context.exitCode = HaltSet(context, *opts); });

    CLI::App* user = app.add_subcommand("user-info", "The user's place and comment of a module");
    user->require_subcommand(1);
    CLI::App* userGet = user->add_subcommand("get", "Show place and comment");
    AddModuleAddressOptions(userGet, opts->address);
    userGet->callback([&context, opts] { context.exitCode = UserInfoGet(context, *opts); });
    CLI::App* userSet =
        user->add_subcommand("set", "Change place and/or comment (a comment may hold line breaks)");
    AddModuleAddressOptions(userSet, opts->address);
    userSet->add_option("--place", opts->place, "Place, at most 78 characters");
    userSet->add_option("--comment", opts->comment, "Comment, at most 510 characters");
    userSet->add_flag("--yes", opts->yes, "Confirm the change");
    userSet->callback([&context, opts] { context.exitCode = UserInfoSet(context, *opts); });
});

} // namespace
} // namespace terrix::cli

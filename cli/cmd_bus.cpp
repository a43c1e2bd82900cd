// terrix-cli known / forget / create-collision / set-station / rescan / conversion-time.

#include "cli/cli_context.h"
#include "cli/module_address.h"
#include "cli/module_output.h"
#include "cli/progress_display.h"
#include "core/bus/bus_error.h"
#include "core/busops/bus_scan.h"
#include "core/busops/collisions.h"
#include "core/busops/conversion_count.h"
#include "core/busops/identification.h"
#include "core/busops/station_number.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/record_values.h"
#include "core/inventory/stored_bus.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"

#include <iostream>

namespace terrix::cli {
namespace {

// ---- known-modules list -------------------------------------------------------------------------------

int KnownList(CliContext& context) {
    CBusList* known = context.bus.busList.LoadKnownModules();
    known->Sort(true);
    if (context.options.json) {
        nlohmann::json rows = nlohmann::json::array();
        for (uint32_t i = 0; i < known->Count(); ++i) {
            const ModuleRecord& r = *known->GetAt(i);
            rows.push_back({{"wSerialNo", r.SerialNo()},
                            {"acModuleName", Cp1252ToUtf8(r.ModuleName())},
                            {"szLocation", Cp1252ToUtf8(FieldText(r.szLocation))}});
        }
        std::cout << nlohmann::json{{"known", rows}}.dump(2) << '\n';
        return kExitOk;
    }
    std::cout << "Serial  Module          Place\n";
    for (uint32_t i = 0; i < known->Count(); ++i) {
        const ModuleRecord& r = *known->GetAt(i);
        char line[256];
        std::snprintf(line, sizeof line, "%-7u %-15s %s", r.SerialNo(), Cp1252ToUtf8(r.ModuleName()).c_str(),
                      Cp1252ToUtf8(FieldText(r.szLocation)).c_str());
        std::cout << line << '\n';
    }
    std::cout << known->Count() << " known module(s)\n";
    return kExitOk;
}

int KnownAdd(CliContext& context, int serial) {
    CBusList& list = context.bus.busList;
    CBusList* known = list.LoadKnownModules();
    if (serial == 0) {
        context.Fail(kExitUsage, "Please enter a serial number into the appropriated field!");
        return context.exitCode;
    }
    if (known->FindBySerial(static_cast<uint16_t>(serial)) != nullptr) {
        context.Fail(kExitUsage, "Serial number is already in list!");
        return context.exitCode;
    }
    if (!list.AddKnownModule(static_cast<uint16_t>(serial), false)) {
        context.Fail(kExitUsage, "Failed to insert serial number into list!");
        return context.exitCode;
    }
    known->Sort(true);
    if (!list.SaveKnownModules()) {
        context.Fail(kExitFile, "the known-modules list could not be saved: " + list.LastFileError().Message());
        return context.exitCode;
    }
    std::cout << "Serial number " << serial << " added to the known modules.\n";
    return kExitOk;
}

int KnownRemove(CliContext& context, int serial) {
    CBusList& list = context.bus.busList;
    CBusList* known = list.LoadKnownModules();
    if (!known->RemoveBySerial(static_cast<uint16_t>(serial))) {
        context.Fail(kExitUsage, "serial number " + std::to_string(serial) + " is not in the known-modules list");
        return context.exitCode;
    }
    if (!list.SaveKnownModules()) {
        context.Fail(kExitFile, "the known-modules list could not be saved: " + list.LastFileError().Message());
        return context.exitCode;
    }
    std::cout << "Serial number " << serial << " removed from the known modules.\n";
    return kExitOk;
}

// ---- bus state ------------------------------------------------------------------------------------------

int Forget(CliContext& context) {
    InventoryFileError error;
    if (!ForgetBusInfo(&error)) {
        context.Fail(kExitFile, "the bus state could not be forgotten: " + error.Message());
        return context.exitCode;
    }
    std::cout << "The saved bus state was forgotten; the next scan searches the whole bus.\n";
    return kExitOk;
}

int CreateCollisionCommand(CliContext& context, int station, bool yes) {
    if (!IsCollisionStationAllowed(static_cast<uint8_t>(station))) {
        context.Fail(kExitUsage, "station " + std::to_string(station) +
                                     " cannot hold the collision: choose 0..250 or 252 (251 and 253..255 are "
                                     "reserved)");
        return context.exitCode;
    }
    if (!yes) {
        context.Fail(kExitUsage, "All(!) modules will be set to the same station number. Add --yes to do it.");
        return context.exitCode;
    }
    // The modules of the saved bus are identified first, so that only modules that answer are moved.
    PortUser user(&context.portContext);
    const bool scanned = BusScan(context.bus, user, UnitName, MakeProgressDisplay(context, "Scanning"));
    FinishProgressDisplay(context);
    if (!scanned && context.portContext.dwError != kErrorNoModule) {
        context.Fail(kExitPort, context.PortFailureText());
        return context.exitCode;
    }
    if (!context.OpenPort(user)) {
        return context.exitCode;
    }
    CreateCollision(user.Port(), context.bus.busList, static_cast<uint8_t>(station));
    user.Release();
    std::cout << "Every module was sent to station " << station
              << "; the saved bus state was forgotten. Run 'terrix-cli scan --mode complete --resolve ...' to "
                 "renumber the bus.\n";
    return kExitOk;
}

int SetStation(CliContext& context, int serial, int newStation) {
    ModuleAddress address;
    address.serial = serial;
    ModuleRecord* record = FindAddressedModule(context, address);
    if (record == nullptr) {
        return context.exitCode;
    }
    PortUser user;
    if (!context.OpenPort(user)) {
        return context.exitCode;
    }
    if (!IdentifyAddressedModule(context, user, *record, true)) {
        return context.exitCode;
    }
    const ModuleCheck check = CheckStationChange(record);
    if (check != ModuleCheck::kOk) {
        context.Fail(kExitUsage, ModuleCheckText(check));
        return context.exitCode;
    }
    const uint8_t previous = record->iaStation;
    const StationChangeResult result =
        ApplyStationNumber(user.Port(), context.bus.busList, record, static_cast<uint8_t>(newStation));
    user.Release();
    switch (result) {
    case StationChangeResult::kDone:
        std::cout << "Module " << serial << " moved from station " << int(previous) << " to " << newStation << ".\n";
        return kExitOk;
    case StationChangeResult::kSaveFailed:
        context.Fail(kExitFile, StationChangeText(result) + " " + context.bus.busList.LastFileError().Message());
        return context.exitCode;
    case StationChangeResult::kStationInUse:
        context.Fail(kExitUsage, StationInUseText(context.bus.busList, static_cast<uint8_t>(newStation)));
        return context.exitCode;
    case StationChangeResult::kNotConfirmed:
        context.Fail(kExitBus, StationChangeText(result));
        return context.exitCode;
    default: context.Fail(kExitPort, StationChangeText(result)); return context.exitCode;
    }
}

int Rescan(CliContext& context, int station) {
    ModuleAddress address;
    address.station = station;
    ModuleRecord* record = FindAddressedModule(context, address);
    if (record == nullptr) {
        return context.exitCode;
    }
    PortUser user(&context.portContext);
    if (!RescanModule(user, UnitName, *record)) {
        if (context.portContext.dwError != 0) {
            context.Fail(kExitPort, context.PortFailureText());
        } else {
            context.Fail(kExitBus, "no module could be identified at station " + std::to_string(station) + ": " +
                                       BusErrorText(LastBusError()));
        }
        return context.exitCode;
    }
    CBusList single;
    if (context.options.json) {
        std::cout << ModuleToJson(*record).dump(2) << '\n';
    } else {
        auto copy = std::make_unique<ModuleRecord>(*record);
        single.Add(std::move(copy));
        PrintModuleTable(std::cout, single);
    }
    if (SaveCompleteBus(context.bus.busList) == BusSave::kFailed) {
        context.Fail(kExitFile, "the bus state could not be saved: " + context.bus.busList.LastFileError().Message());
    }
    return context.exitCode;
}

int ConversionTime(CliContext& context, const ModuleAddress& address, int seconds) {
    ModuleRecord* record = FindAddressedModule(context, address);
    if (record == nullptr) {
        return context.exitCode;
    }
    PortUser user;
    if (!context.OpenPort(user) || !IdentifyAddressedModule(context, user, *record, address.serial >= 0)) {
        return context.exitCode;
    }
    const uint32_t previousCount = record->dwNumberOfMeas0;
    if (seconds >= 0 && CheckConversionTimeChange(record) != ModuleCheck::kOk) {
        context.Fail(kExitUsage, ModuleCheckText(CheckConversionTimeChange(record)) +
                                     " (only the XV module has a conversion time to set)");
        return context.exitCode;
    }
    if (seconds >= 0) {
        if (!ApplyConversionTime(user.Port(), *record, static_cast<uint32_t>(seconds))) {
            context.Fail(kExitBus, "the conversion time could not be set: " + BusErrorText(LastBusError()));
            return context.exitCode;
        }
    }
    user.Release();
    const uint32_t count = record->dwNumberOfMeas0;
    if (context.options.json) {
        std::cout << nlohmann::json{{"station", record->iaStation},
                                    {"wSerialNo", record->SerialNo()},
                                    {"dwNumberOfMeas0", count},
                                    {"previousNumberOfMeas0", previousCount},
                                    {"seconds", SecondsFromCount(count)},
                                    {"conversionTimeSec", ConversionTimeSec(record)}}
                         .dump(2)
                  << '\n';
    } else {
        std::cout << "Conversion time: " << SecondsFromCount(count) << " s (" << count << " measurements"
                  << (seconds >= 0 ? ", was " + std::to_string(previousCount) : std::string()) << ")\n";
    }
    if (seconds >= 0 && !context.bus.busList.Save()) {
        context.Fail(kExitFile, "the module file could not be saved: " + context.bus.busList.LastFileError().Message());
    }
    return context.exitCode;
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    CLI::App* known = app.add_subcommand("known", "The known-modules list used for collision resolution");
    known->require_subcommand(1);
    known->add_subcommand("list", "Show the known modules")->callback([&context] {
        context.exitCode = KnownList(context);
    });
    auto knownSerial = std::make_shared<int>(0);
    CLI::App* add = known->add_subcommand("add", "Register a serial number");
    add->add_option("serial", *knownSerial, "Serial number 1..65534")->required()->check(CLI::Range(0, 65534));
    add->callback([&context, knownSerial] { context.exitCode = KnownAdd(context, *knownSerial); });
    CLI::App* remove = known->add_subcommand("remove", "Remove a serial number");
    remove->add_option("serial", *knownSerial, "Serial number")->required()->check(CLI::Range(0, 65534));
    remove->callback([&context, knownSerial] { context.exitCode = KnownRemove(context, *knownSerial); });

    app.add_subcommand("forget", "Forget the saved bus state: the next scan searches every station")
        ->callback([&context] { context.exitCode = Forget(context); });

    auto collision = std::make_shared<std::pair<int, bool>>(-1, false);
    CLI::App* create = app.add_subcommand("create-collision", "Move every module of the saved bus to one station");
    create->add_option("--station", collision->first, "The common station")->required()->check(CLI::Range(0, 255));
    create->add_flag("--yes", collision->second, "Confirm: all(!) modules will be set to the same station number");
    create->callback([&context, collision] {
        context.exitCode = CreateCollisionCommand(context, collision->first, collision->second);
    });

    auto move = std::make_shared<std::pair<int, int>>(-1, -1);
    CLI::App* setStation = app.add_subcommand("set-station", "Move a module to another station");
    setStation->add_option("--serial", move->first, "Serial number of the module")->required()->check(CLI::Range(0, 65534));
    setStation->add_option("--station", move->second, "New station number 0..252")->required()->check(CLI::Range(0, 252));
    setStation->callback([&context, move] { context.exitCode = SetStation(context, move->first, move->second); });

    auto rescanStation = std::make_shared<int>(-1);
    CLI::App* rescan = app.add_subcommand("rescan", "Identify the module at one station again");
    rescan->add_option("--station", *rescanStation, "Station 0..252")->required()->check(CLI::Range(0, 252));
    rescan->callback([&context, rescanStation] { context.exitCode = Rescan(context, *rescanStation); });

    CLI::App* conversion = app.add_subcommand("conversion-time", "The XV module's conversion time");
    conversion->require_subcommand(1);
    auto convAddress = std::make_shared<ModuleAddress>();
    auto convSeconds = std::make_shared<int>(-1);
    CLI::App* get = conversion->add_subcommand("get", "Show the conversion time");
    AddModuleAddressOptions(get, *convAddress);
    get->callback([&context, convAddress] { context.exitCode = ConversionTime(context, *convAddress, -1); });
    CLI::App* set = conversion->add_subcommand("set", "Set the conversion time");
    AddModuleAddressOptions(set, *convAddress);
    set->add_option("--seconds", *convSeconds, "New conversion time in seconds")->required()->check(CLI::Range(0, 100000));
    set->callback([&context, convAddress, convSeconds] {
        context.exitCode = ConversionTime(context, *convAddress, *convSeconds);
    });
});

} // namespace
} // namespace terrix::cli

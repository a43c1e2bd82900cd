// terrix-cli scan / list: find the modules on the bus, resolve collisions, show the saved bus.

#include "cli/cli_context.h"
#include "cli/module_address.h"
#include "cli/module_output.h"
#include "cli/progress_display.h"
#include "core/busops/scan_session.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"

#include <iostream>
#include <limits>

namespace terrix::cli {
namespace {

struct ScanOptions {
    std::string mode = "scan";
    std::string resolve;
};

// "range:FROM-TO", "known" or "serial:S".
bool ParseResolve(const std::string& text, ResolveOptions& out) {
    auto number = [](const std::string& s, uint16_t& value) {
        if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos || s.size() > 5) {
            return false;
        }
        const unsigned long v = std::stoul(s);
        if (v > 65535) {
            return false;
        }
        value = static_cast<uint16_t>(v);
        return true;
    };
    if (text == "known") {
        out.useKnownList = true;
        return true;
    }
    if (text.rfind("serial:", 0) == 0) {
        return number(text.substr(7), out.firstSerial) && (out.lastSerial = out.firstSerial, true);
    }
    if (text.rfind("range:", 0) == 0) {
        const std::string range = text.substr(6);
        const size_t dash = range.find('-');
        return dash != std::string::npos && number(range.substr(0, dash), out.firstSerial) &&
               number(range.substr(dash + 1), out.lastSerial);
    }
    return false;
}

int RunScan(CliContext& context, const ScanOptions& opts) {
    ResolveOptions resolve;
    const bool wantResolve = !opts.resolve.empty();
    if (wantResolve && !ParseResolve(opts.resolve, resolve)) {
        context.Fail(kExitUsage, "--resolve takes range:FROM-TO, known or serial:S");
        return context.exitCode;
    }
    ScanSessionOptions session;
    session.forgetSavedBus = opts.mode == "complete";
    const ProgressCallback progress = MakeProgressDisplay(context, "Scanning");
    bool resolved = false;
    const CollisionResolver resolver = [&](PortUser& user) {
        if (!wantResolve) {
            return;
        }
        FinishProgressDisplay(context);
        if (!context.options.quiet) {
            std::cerr << "Resolving " << context.bus.busList.CollisionCount() << " collision(s)...\n";
        }
        resolved = RunResolution(context.bus, user, resolve, UnitName, MakeProgressDisplay(context, "Resolving"));
        FinishProgressDisplay(context);
    };
    const ScanSessionResult result = RunScanSession(context.bus, session, UnitName, progress, resolver);
    FinishProgressDisplay(context);

    CBusList& list = context.bus.busList;
    if (context.options.json) {
        nlohmann::json out = BusListToJson(list);
        out["scanOk"] = result.scanOk;
        out["startupError"] = result.startupError;
        out["saved"] = result.saved;
        if (wantResolve) {
            out["resolutionRun"] = resolved;
        }
        std::cout << out.dump(2) << '\n';
    } else {
        PrintModuleTable(std::cout, list);
    }
    if (result.startupError == kErrorPortReserved) {
        context.Fail(kExitPort, StartupErrorText(result.startupError));
        return context.exitCode;
    }
    if (result.startupError == kErrorPortOpen || result.startupError == kErrorCableCheck) {
        context.Fail(kExitPort, StartupErrorText(result.startupError) + "\n" + context.PortFailureText());
        return context.exitCode;
    }
    if (result.startupError != 0) {
        std::cerr << StartupErrorText(result.startupError) << '\n';
    }
    if (result.listEmpty) {
        std::cerr << kEmptyBusText << '\n';
    }
    if (result.saveFailed) {
        context.Fail(kExitFile, "the bus state could not be saved: " + list.LastFileError().Message());
        return context.exitCode;
    }
    if (result.collisionsLeft > 0) {
        if (wantResolve) {
            std::cerr << kCollisionsLeftText << '\n';
        }
        context.Fail(kExitCollisions,
                     std::to_string(result.collisionsLeft) +
                         " collision(s) remain, so the bus state was not saved. Resolve them with --resolve "
                         "range:FROM-TO (serial numbers to try), --resolve known (the known-modules list, see "
                         "'terrix-cli known') or --resolve serial:S.");
        return context.exitCode;
    }
    if (wantResolve && resolved && !context.options.quiet) {
        std::cerr << kCollisionsRemovedText << '\n';
    }
    if (CliContext::Interrupted()) {
        return 130;
    }
    return result.scanOk ? kExitOk : kExitBus;
}

int RunList(CliContext& context) {
    LoadSavedBus(context);
    if (context.options.json) {
        std::cout << BusListToJson(context.bus.busList).dump(2) << '\n';
    } else {
        PrintModuleTable(std::cout, context.bus.busList);
    }
    return kExitOk;
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto opts = std::make_shared<ScanOptions>();
    CLI::App* scan = app.add_subcommand("scan", "Scan the bus for modules and save what was found");
    scan->add_option("--mode", opts->mode,
                     "known: only the stations of the saved bus (when there is one); scan: the same, for the "
                     "main window's 'Scan bus'; complete: forget the saved bus and probe every station")
        ->check(CLI::IsMember({"known", "scan", "complete"}));
    scan->add_option("--resolve", opts->resolve,
                     "Resolve collisions after the scan: range:FROM-TO, known, or serial:S");
    scan->callback([&context, opts] { context.exitCode = RunScan(context, *opts); });

    CLI::App* list = app.add_subcommand("list", "Show the saved bus without bus traffic");
    list->callback([&context] { context.exitCode = RunList(context); });
});

} // namespace
} // namespace terrix::cli

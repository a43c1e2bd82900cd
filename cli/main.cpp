// terrix-cli: every bus, measurement and configuration operation from a shell.

#include "cli/cli_context.h"
#include "terrix_version.h"

#include <iostream>

#if __has_include("sim/sim_scheme.h")
#include "sim/sim_scheme.h"
#define TERRIX_HAS_SIM 1
#endif

namespace {

// Scripts may pass --yes to every command: where the desktop program asks a question the command has its
// own --yes, elsewhere the flag is accepted and changes nothing.
void AcceptYesEverywhere(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        if (!sub->get_subcommands([](CLI::App*) { return true; }).empty()) {
            AcceptYesEverywhere(*sub);
        } else if (sub->get_option_no_throw("--yes") == nullptr) {
            static const std::string help = "Accepted for scripts; this command asks no question";
            sub->add_flag("--yes", help);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
#ifdef TERRIX_HAS_SIM
    terrix::RegisterSimTransportScheme();
#endif
    using namespace terrix::cli;
    CliContext context;
    CLI::App app{"terrix-cli: scan, measure and configure the modules of an NKP-Bus"};
    app.set_help_all_flag("--help-all", "Show the help of every command");
    app.set_version_flag("--version", "terrix-cli " TERRIX_VERSION, "Print the version and exit");
    app.require_subcommand(1);
    app.add_option("--port", context.options.port,
                   "COM port 1..4 (mapped in Terrix.ini, section \"Serial ports\"), a device path, or "
                   "sim[:scenario file] for the built-in simulated bus")
        ->envname("TERRIX_PORT");
    app.add_option("--data-dir", context.options.dataDir, "Folder of Terrix.ini, module and measurement files")
        ->envname("TERRIX_DATA_DIR");
    app.add_flag("--json", context.options.json, "Print results as JSON");
    app.add_option("--trace", context.options.traceFile, "Append every bus frame to this file as a text line");
    app.add_flag("-q,--quiet", context.options.quiet, "No progress output");
    app.parse_complete_callback([&context] {
        if (!context.Prepare()) {
            throw CLI::RuntimeError(context.exitCode);
        }
    });
    for (const CommandRegistrar& registrar : Registrars()) {
        registrar(app, context);
    }
    AcceptYesEverywhere(app);
    std::vector<std::string> arguments = CliContext::Utf8CommandLine(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::RuntimeError& e) {
        return e.get_exit_code();
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    return context.exitCode;
}

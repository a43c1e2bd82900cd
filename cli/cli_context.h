#pragma once
// What every terrix-cli command shares: the global options, the bus port, the trace, the exit status, and
// the table through which command files register their subcommands.

#include "core/bus/bus_trace.h"
#include "core/inventory/bus_context.h"
#include "core/platform/port_user.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace terrix::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitPort = 2,
    kExitBus = 3,
    kExitFile = 4,
    kExitCollisions = 5,
};

struct GlobalOptions {
    std::string port;     // 1..4, a device path, or sim[:scenario]
    std::string dataDir;
    std::string traceFile;
    bool json = false;
    bool quiet = false;
};

class CliContext {
public:
    GlobalOptions options;
    BusContext bus;                             // the port and the bus list of this run
    ComPortContext& portContext = bus.portContext;
    int exitCode = kExitOk;

    // Applies the global options (data directory, trace, port choice). False with a message on stderr and
    // exitCode set when something is unusable.
    bool Prepare();
    // Opens the port; on failure prints why (naming the device and the cure) and sets exitCode 2.
    bool OpenPort(PortUser& user);
    // The device the port option resolves to, for messages.
    std::string DeviceName() const;
    // Why the port could not be taken: the measuring loop holds it, or the failed open's cause and cure.
    std::string PortFailureText() const;

    // Error output: plain text on stderr, also in JSON mode (standard output stays machine-readable).
    void Fail(int code, const std::string& message);
    bool StderrIsTerminal() const;
    // Set by Ctrl+C: long operations stop at their next step.
    static bool Interrupted();
    static void InstallInterruptHandler();
    // The command line as UTF-8, the text every path in Terrix is kept in. Windows hands a program its
    // arguments and environment in the ANSI code page, so there they are taken from the wide-character
    // command line, and TERRIX_PORT and TERRIX_DATA_DIR are set again as UTF-8 for the option parser;
    // console output is switched to UTF-8 too.
    static std::vector<std::string> Utf8CommandLine(int argc, char** argv);
    // The trace file's writer, or nullptr without --trace.
    BusTraceObserver* TraceWriter() const { return traceWriter_.get(); }

private:
    std::unique_ptr<std::ofstream> traceStream_;
    std::unique_ptr<TextTraceWriter> traceWriter_;
};

using CommandRegistrar = std::function<void(CLI::App& app, CliContext& context)>;

// Command files register their subcommands with a static instance of this.
struct CommandRegistration {
    explicit CommandRegistration(CommandRegistrar registrar);
};

std::vector<CommandRegistrar>& Registrars();

} // namespace terrix::cli

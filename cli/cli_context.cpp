#include "cli/cli_context.h"

#include "core/platform/com_port.h"
#include "core/platform/data_paths.h"
#include "core/platform/serial_transport.h"
#include "core/platform/path_text.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <iostream>

namespace terrix::cli {

std::vector<CommandRegistrar>& Registrars() {
    static std::vector<CommandRegistrar> registrars;
    return registrars;
}

CommandRegistration::CommandRegistration(CommandRegistrar registrar) {
    Registrars().push_back(std::move(registrar));
}

void CliContext::Fail(int code, const std::string& message) {
    std::cerr << "terrix-cli: " << message << '\n';
    exitCode = code;
}

bool CliContext::Prepare() {
    if (!options.dataDir.empty()) {
        SetDataDir(PathFromText(options.dataDir));
    }
    if (!options.traceFile.empty()) {
        traceStream_ = std::make_unique<std::ofstream>(PathFromText(options.traceFile), std::ios::app);
        if (!*traceStream_) {
            Fail(kExitFile, "cannot write the trace file " + options.traceFile);
            return false;
        }
        traceWriter_ = std::make_unique<TextTraceWriter>(*traceStream_);
        SetBusTraceObserver(traceWriter_.get());
    }
    const std::string& port = options.port;
    if (port.empty()) {
        portContext.nPortNo = 1;
    } else if (port.size() == 1 && port[0] >= '1' && port[0] <= '4') {
        portContext.nPortNo = port[0] - '0';
    } else if (std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
        Fail(kExitUsage, "--port takes a COM port number 1..4, a device path or sim[:scenario file]");
        return false;
    } else {
        portContext.nPortNo = 1;
        portContext.device = port;
    }
    return true;
}

std::string CliContext::DeviceName() const {
    return portContext.device.empty() ? PortDeviceName(portContext.nPortNo) : portContext.device;
}

std::string CliContext::PortFailureText() const {
    std::string text = PortUserErrorText(portContext, DeviceName());
    const uint32_t error = LastPortError();
    // A port that does not exist is most often a wrong number or name: show the ones that do.
    if (portContext.dwError != kErrorPortReserved && (error == ENOENT || error == ENODEV || error == ENXIO)) {
        const std::vector<std::string> ports = ListSerialPorts();
        if (ports.empty()) {
            text += "\nNo serial ports found on this system.";
        } else {
            text += "\nSerial ports on this system:";
            for (const std::string& port : ports) {
                text += (&port == &ports.front() ? " " : ", ") + port;
            }
            text += '.';
        }
    }
    return text;
}

bool CliContext::OpenPort(PortUser& user) {
    if (user.Acquire(&portContext)) {
        return true;
    }
    Fail(kExitPort, PortFailureText());
    return false;
}

} // namespace terrix::cli

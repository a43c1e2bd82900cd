#include "cli/cmd_config_common.h"

#include "core/bus/bus_error.h"

#include <charconv>
#include <iostream>

namespace terrix::cli {

ModuleRecord* OpenAddressedModule(CliContext& context, const ModuleAddress& address, PortUser& user) {
    ModuleRecord* record = FindAddressedModule(context, address);
    if (record == nullptr || !context.OpenPort(user)) {
        return nullptr;
    }
    // A saved bus can be out of date: nothing is sent to whatever module now sits at the saved station.
    if (address.serial >= 0 && !IdentifyAddressedModule(context, user, *record, true)) {
        return nullptr;
    }
    return record;
}

int FailBus(CliContext& context, const std::string& what) {
    const uint16_t error = LastBusError();
    context.Fail(kExitBus,
                 what + (error != 0 ? ": " + BusErrorText(error) + " (" + std::to_string(error) + ")" : ""));
    return context.exitCode;
}

int NeedYes(CliContext& context, const std::string& question) {
    context.Fail(kExitUsage, question + "\nAdd --yes to answer Yes.");
    return context.exitCode;
}

void PrintMessages(const ConfigMessages& messages) {
    for (const ConfigMessage& message : messages) {
        std::cerr << "terrix-cli: " << (message.caption.empty() ? "" : "[" + message.caption + "] ")
                  << message.text << '\n';
    }
}

void NoteSkippedModules(const CliContext& context, const std::vector<const ModuleRecord*>& skipped) {
    if (context.options.quiet) {
        return;
    }
    for (const ModuleRecord* record : skipped) {
        std::cerr << "terrix-cli: station " << int(record->iaStation) << " (" << record->ModuleName()
                  << ", serial " << record->SerialNo()
                  << ") is left out: only XV modules take this command\n";
    }
}

std::string FixedText(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::string("?");
}

std::string NumberText(double value) {
    std::string text = FixedText(value, 6);
    const size_t point = text.find('.');
    if (point != std::string::npos) {
        size_t end = text.size();
        while (end > point + 2 && text[end - 1] == '0') {
            --end;
        }
        text.resize(end);
    }
    return text == "-0.0" ? "0.0" : text;
}

} // namespace terrix::cli

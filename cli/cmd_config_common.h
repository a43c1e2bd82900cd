#pragma once
// What the configuration commands share: opening the addressed module, reporting bus failures and the
// messages of the configuration operations, and the --yes rule for writes the desktop program confirms.

#include "cli/cli_context.h"
#include "cli/module_address.h"
#include "core/config/config_message.h"

#include <string>
#include <vector>

namespace terrix::cli {

// The record of the module addressed by --station/--serial, with the port open. nullptr (message printed,
// exit status set) when the module cannot be addressed or the port not opened.
ModuleRecord* OpenAddressedModule(CliContext& context, const ModuleAddress& address, PortUser& user);

// "<what>: <bus error text> (<code>)", exit status 3.
int FailBus(CliContext& context, const std::string& what);
// The question the desktop program would ask, and how to answer it here; exit status 1.
int NeedYes(CliContext& context, const std::string& question);
// Messages of a configuration operation, one per line on stderr (captions in brackets).
void PrintMessages(const ConfigMessages& messages);

// On stderr: the modules a command for every module left out, since only XV modules take it.
void NoteSkippedModules(const CliContext& context, const std::vector<const ModuleRecord*>& skipped);

// Locale-independent fixed-point text.
std::string FixedText(double value, int decimals);
// Up to six decimals without trailing zeros ("1.5", "0.125", "12.0").
std::string NumberText(double value);

} // namespace terrix::cli

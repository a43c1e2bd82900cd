#pragma once
// Addressing one module from the command line by --station or --serial, resolved through the saved bus
// (the "BUS INFO" section and the module files).

#include "cli/cli_context.h"

namespace terrix::cli {

struct ModuleAddress {
    int station = -1;
    int serial = -1;
};

// Adds --station and --serial (one of them required) to a subcommand.
void AddModuleAddressOptions(CLI::App* sub, ModuleAddress& address);

// Loads the saved bus into context.bus.busList (replacing what it held). Returns the number of records.
uint32_t LoadSavedBus(CliContext& context);

// The record of the addressed module in context.bus.busList: by serial it must be in the saved bus; by
// station a record is added for a station the saved bus does not know. nullptr (message printed, exit
// status set) when the module cannot be addressed.
ModuleRecord* FindAddressedModule(CliContext& context, const ModuleAddress& address);

// Identifies the addressed module on the open port and updates its record in place. False, with the bus
// error printed and exit status 3, when it does not answer properly. With `bySerial` the module found at
// the record's station must carry the record's serial number; if another one answers there, the record is
// left as it was.
bool IdentifyAddressedModule(CliContext& context, PortUser& user, ModuleRecord& record, bool bySerial);

} // namespace terrix::cli

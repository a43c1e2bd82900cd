#pragma once
// What the desktop program needs besides the measurement files to list a collected module and open its
// values: the module file "<serial>.ini" and the module's entry in the "BUS INFO" section of the settings
// file, both in the collecting directory.
//
// A record carries the serial number, station, module name, channels and channel units; those are written
// over what the module file already holds, so the location and comment typed on the collecting computer stay
// (as does the rest of a module that this computer's own bus has). What a record cannot carry stays as a
// fresh record has it: no analog configuration or sensor scaling, firmware 0, conversion time 0, and a count
// of 1 for each channel that measures (the counts tell which channels a module has).

#include "core/publish/record_payload.h"

#include <filesystem>
#include <string>

namespace terrix {

// False, with "<file>: <reason>" in *error, when a file could not be written.
bool StoreCollectedModule(const std::filesystem::path& directory, const ReceivedRecord& record,
                          std::string* error);

} // namespace terrix

#pragma once
// The changes to the bus list that are stored at once, the same for the windows and the command-line tool:
// saving a complete bus, removing a module, and writing the file of a module the user changed.

#include "core/inventory/bus_list.h"
#include "core/inventory/file_error.h"

#include <cstdint>

namespace terrix {

enum class BusSave {
    kIncomplete, // not stored: collisions are left, or the list is empty
    kSaved,
    kFailed, // the list's LastFileError says why
};

// Stores the list ("BUS INFO" and the module files) when it describes the whole bus. With collisions left
// the modules sharing a station would be stored as one placeholder, and an empty list would forget the
// stored bus. After a scan, and after a resolution that moved modules with command 1.
BusSave SaveCompleteBus(CBusList& list);

// A collision placeholder stands for several modules at one station: it has no serial number, no module
// file, and cannot be switched off or removed on its own.
bool IsCollisionPlaceholder(const ModuleRecord& record);

enum class ModuleRemoval {
    kRefused,   // a collision placeholder
    kNotInList, // nothing to store
    kRemoved,   // and the bus stored
    kSaveFailed // removed, but the list's LastFileError says why it is not stored
};

// Removes (and deletes) the record of `record`'s serial number from the list and stores the list. The module
// file stays: the module keeps its user data should it come back.
ModuleRemoval RemoveModuleFromBus(CBusList& list, const ModuleRecord& record);

// Writes the module file after the user changed a record (switched off, user data, settings). A collision
// placeholder or a record without a known serial number has no file: nothing to write, and no failure.
bool SaveModuleChange(const ModuleRecord& record, InventoryFileError* error = nullptr);

} // namespace terrix

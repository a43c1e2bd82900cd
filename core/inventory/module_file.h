#pragma once
// The module file: one profile file per serial number ("<serial>.ini" in the data directory) holding a
// whole module record, including the user's location and comment. The layout is shared with the Windows
// program: sections "ModuleInfo", "StationInfo", "AnalogCfg0", "AnalogCfg1", "SensorData0", "SensorData1",
// "UserInfo", with the record's field names as keys.

#include "core/inventory/file_error.h"
#include "core/inventory/module_record.h"
#include "core/platform/ini_document.h"

#include <cstdint>
#include <filesystem>

namespace terrix {

// Writes every section of the record to the module file of its serial number in one atomic write. Keys
// are set in place; a section whose flag is now off is left as it was (and is ignored on reading).
// False for a record without a serial number (above 65534) and when the file cannot be written.
bool WriteModuleFile(const ModuleRecord& record, InventoryFileError* error = nullptr);
bool WriteModuleFileTo(const std::filesystem::path& file, const ModuleRecord& record,
                       InventoryFileError* error = nullptr);

// Fills the record from the module file of `serialNo`. Every key is read with the field's current value as
// default, so a missing key leaves the field unchanged. enModuleState is not read; the optional sections
// are read only when their flag (just read) is set; yModuleNameLen follows the name read and
// dwMeasChannels is recomputed. True when the file exists.
bool ReadModuleFile(uint16_t serialNo, ModuleRecord& record);
bool ReadModuleFileFrom(const std::filesystem::path& file, ModuleRecord& record);
// The same from the file's contents, parsed.
void ReadModuleDocument(const IniDocument& document, ModuleRecord& record);

// Only the "UserInfo" section (szLocation, szComment): written when the user edits them, read at
// identification into a fresh record.
bool WriteUserData(const ModuleRecord& record, InventoryFileError* error = nullptr);
bool ReadUserData(uint16_t serialNo, ModuleRecord& record);

} // namespace terrix

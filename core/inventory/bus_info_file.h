#pragma once
// What the program remembers about the bus between runs, in the settings file: the "BUS INFO" section
// (serial number and station of every module of the last bus list; the records themselves are in the
// module files) and the "KNOWN MODULES" section (serial numbers registered for collision resolution).

#include "core/inventory/file_error.h"
#include "core/inventory/module_record.h"
#include "core/platform/ini_document.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace terrix {

class CBusList;
class CIniSection;

inline constexpr std::string_view kBusInfoSection = "BUS INFO";
inline constexpr std::string_view kKnownModulesSection = "KNOWN MODULES";

// Writes the module file of every record that has a known serial number (IsKnownSerial),
// then replaces "BUS INFO" with "Modules" = count and "Module<i>" = "<serial>,<station>" in list order, in
// one atomic write of the settings file. An empty list leaves no section. False when any file could not
// be written; the first failure is kept in `error`, and the other files are still written.
bool SaveBusInfo(const CBusList& list, InventoryFileError* error = nullptr);

// Clears the list and fills it from the "BUS INFO" section: for every entry a record read from the module
// file of its serial, with the entry's station. An entry without a known serial (0 or 65535) gives a record
// holding only its station and serial; entries that are missing or unreadable are skipped. Sorted by
// station; returns the number of records.
uint32_t LoadBusInfo(CBusList& list);
// The same from the file and section named by `busInfo` (normally "BUS INFO" of the settings file).
uint32_t LoadBusInfo(const CIniSection& busInfo, CBusList& list);
// The same from the settings file's contents, parsed; `readModule` fills a record from the module file of
// a serial number (ReadModuleFile).
using ModuleFileReader = std::function<bool(uint16_t serialNo, ModuleRecord& record)>;
uint32_t LoadBusInfo(const IniDocument& settings, std::string_view section, CBusList& list,
                     const ModuleFileReader& readModule);

// Puts the module `serialNo` at `station` into the "BUS INFO" section of `settingsFile` (its entry moves
// when the station changed); the other entries stay as they are. For modules that come from elsewhere
// than a scan of this computer's bus, such as collected records. False when the file could not be written,
// or (with ENOSPC) when the section already names as many modules as a bus list holds.
bool AddToBusInfo(const std::filesystem::path& settingsFile, uint16_t serialNo, uint8_t station,
                  InventoryFileError* error = nullptr);

// Deletes the "BUS INFO" section, so that the next scan searches the whole bus. Module files and
// "KNOWN MODULES" are left alone. False when the settings file could not be written.
bool ForgetBusInfo(InventoryFileError* error = nullptr);

// The serial numbers of "KNOWN MODULES" in index order; a missing entry reads as 65535.
std::vector<uint16_t> ReadKnownModuleSerials();
std::vector<uint16_t> ReadKnownModuleSerials(const IniDocument& settings);
// Replaces "KNOWN MODULES" with the list's serial numbers in list order ("Modules" also when 0); a record
// with serial 65535 uses up its index but writes no entry.
bool WriteKnownModules(const CBusList& known, InventoryFileError* error = nullptr);

} // namespace terrix

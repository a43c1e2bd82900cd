#include "core/inventory/bus_info_file.h"

#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace terrix {

namespace {

constexpr std::string_view kCountKey = "Modules";
constexpr size_t kEntryBuffer = 40;

std::string EntryKey(uint32_t index) {
    return "Module" + std::to_string(index);
}

// Both lists hold at most 256 records, so no saved section has more entries. A damaged count is held to
// that, so it cannot keep a read going over billions of keys.
uint32_t EntryLimit(uint32_t count) {
    return std::min(count, CBusList::kCapacity);
}

// "%u,%u" as scanf reads it: blanks and a sign before each number, the comma right after the first.
bool ParseEntry(std::string_view text, uint16_t& serialNo, uint8_t& station) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    const size_t digits = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
    }
    if (pos == digits || pos >= text.size() || text[pos] != ',') {
        return false;
    }
    uint64_t first = 0;
    uint64_t second = 0;
    if (!ParseUnsigned(text.substr(0, pos), first) || !ParseUnsigned(text.substr(pos + 1), second)) {
        return false;
    }
    serialNo = static_cast<uint16_t>(first);
    station = static_cast<uint8_t>(second);
    return true;
}

bool Commit(CIniSection& ini, InventoryFileError* error) {
    if (!ini.EndUpdate()) {
        NoteFileError(error, ini.LastError(), ini.File());
        return false;
    }
    return true;
}

} // namespace

bool SaveBusInfo(const CBusList& list, InventoryFileError* error) {
    bool ok = true;
    // Module files first: a crash in between then leaves the old section naming files that are whole.
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord& record = *list.GetAt(i);
        if (record.enModuleState != msCollision && IsKnownSerial(record.SerialNo())) {
            ok = WriteModuleFile(record, error) && ok;
        }
    }
    CIniSection ini;
    ini.BeginUpdate();
    ini.ResetSection(kBusInfoSection);
    if (!list.IsEmpty()) {
        ini.WriteDWord(kCountKey, list.Count());
        for (uint32_t i = 0; i < list.Count(); ++i) {
            const ModuleRecord& record = *list.GetAt(i);
            ini.WriteString(EntryKey(i),
                            std::to_string(record.SerialNo()) + "," + std::to_string(record.iaStation));
        }
    }
    return Commit(ini, error) && ok;
}

uint32_t LoadBusInfo(CBusList& list) {
    return LoadBusInfo(CIniSection(SettingsFilePath(), std::string(kBusInfoSection)), list);
}

uint32_t LoadBusInfo(const CIniSection& busInfo, CBusList& list) {
    // The whole file is parsed once for all entries.
    return LoadBusInfo(IniDocument::Load(busInfo.File()), busInfo.Section(), list, ReadModuleFile);
}

uint32_t LoadBusInfo(const IniDocument& settings, std::string_view section, CBusList& list,
                     const ModuleFileReader& readModule) {
    list.Clear();
    const CIniSection ini = CIniSection::Over(settings, std::string(section));
    const uint32_t count = EntryLimit(ini.ReadDWord(kCountKey, 0));
    for (uint32_t i = 0; i < count && !list.IsFull(); ++i) {
        std::string text = ini.ReadString(EntryKey(i), "");
        if (text.size() > kEntryBuffer - 1) {
            text.resize(kEntryBuffer - 1);
        }
        uint16_t serialNo = 0;
        uint8_t station = 0;
        // A missing or garbled entry names no module: it is skipped rather than read as serial 0 at
        // station 0, which would put a module that does not exist on the list.
        if (!ParseEntry(text, serialNo, station)) {
            continue;
        }
        auto record = std::make_unique<ModuleRecord>();
        // An entry without a known serial (a module that failed or stayed busy) keeps only its station, so
        // that the next scan of the known stations asks there again; it has no module file to read.
        if (!IsKnownSerial(serialNo)) {
            record->iaStation = station;
            record->stationInfo.wSerialNo = serialNo;
            list.Add(std::move(record));
            continue;
        }
        readModule(serialNo, *record);
        record->iaStation = station; // the entry wins over the module file
        // A lost module file must not turn the module into one with serial 0: a scan would then keep a
        // ghost of it beside the module itself, and save both.
        if (record->SerialNo() == 0) {
            record->stationInfo.wSerialNo = serialNo;
        }
        list.Add(std::move(record));
    }
    list.Sort(false);
    return list.Count();
}

bool AddToBusInfo(const std::filesystem::path& settingsFile, uint16_t serialNo, uint8_t station,
                  InventoryFileError* error) {
    const IniDocument document = IniDocument::Load(settingsFile);
    const CIniSection section = CIniSection::Over(document, std::string(kBusInfoSection));
    const uint32_t count = EntryLimit(section.ReadDWord(kCountKey, 0));
    std::vector<std::pair<uint16_t, uint8_t>> entries;
    bool found = false;
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t serial = 0;
        uint8_t at = 0;
        if (!ParseEntry(section.ReadString(EntryKey(i), ""), serial, at)) {
            continue; // a garbled entry names no module (as when loading)
        }
        if (serial == serialNo) {
            if (at == station) {
                return true; // already there: nothing to write
            }
            at = station;
            found = true;
        }
        entries.emplace_back(serial, at);
    }
    if (!found) {
        if (entries.size() >= CBusList::kCapacity) {
            NoteFileError(error, ENOSPC, settingsFile);
            return false;
        }
        entries.emplace_back(serialNo, station);
    }
    CIniSection ini(settingsFile);
    ini.BeginUpdate();
    ini.ResetSection(kBusInfoSection);
    ini.WriteDWord(kCountKey, static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        ini.WriteString(EntryKey(static_cast<uint32_t>(i)),
                        std::to_string(entries[i].first) + "," + std::to_string(entries[i].second));
    }
    return Commit(ini, error);
}

bool ForgetBusInfo(InventoryFileError* error) {
    CIniSection ini;
    if (!ini.ResetSection(kBusInfoSection)) {
        NoteFileError(error, ini.LastError(), ini.File());
        return false;
    }
    return true;
}

std::vector<uint16_t> ReadKnownModuleSerials() {
    return ReadKnownModuleSerials(IniDocument::Load(SettingsFilePath()));
}

std::vector<uint16_t> ReadKnownModuleSerials(const IniDocument& settings) {
    const CIniSection ini = CIniSection::Over(settings, std::string(kKnownModulesSection));
    const uint32_t count = EntryLimit(ini.ReadDWord(kCountKey, 0));
    std::vector<uint16_t> serials;
    serials.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        serials.push_back(ini.ReadWord(EntryKey(i), kNoSerial));
    }
    return serials;
}

bool WriteKnownModules(const CBusList& known, InventoryFileError* error) {
    CIniSection ini;
    ini.BeginUpdate();
    ini.ResetSection(kKnownModulesSection);
    ini.WriteDWord(kCountKey, known.Count());
    for (uint32_t i = 0; i < known.Count(); ++i) {
        const uint16_t serialNo = known.GetAt(i)->SerialNo();
        if (serialNo != kNoSerial) {
            ini.WriteWord(EntryKey(i), serialNo);
        }
    }
    return Commit(ini, error);
}

} // namespace terrix

// The settings file and a module file as other programs or people may have left them: the profile parser
// itself (whose output must parse back to the same sections, keys and values), the bus-information and
// known-modules readers, and the module file reader, all from memory.

#include "core/inventory/bus_info_file.h"
#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "core/inventory/module_record.h"
#include "core/platform/ini_document.h"
#include "tests/fuzz/fuzz_util.h"

#include <optional>
#include <string_view>

using namespace terrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniDocument document = IniDocument::Parse(text);
    // What we write must read back with the same sections, keys and values. (Not the same bytes: a line
    // that ends in a lone carriage return loses it on the way, which changes no key or value.)
    const IniDocument again = IniDocument::Parse(document.Serialize());
    fuzz::Check(again.SectionNames() == document.SectionNames());
    for (const std::string& section : document.SectionNames()) {
        fuzz::Check(again.KeyNames(section) == document.KeyNames(section));
        for (const std::string& key : document.KeyNames(section)) {
            // A key that is listed must be found, with the value it had.
            const std::optional<std::string> value = document.Get(section, key);
            fuzz::Check(value && again.Get(section, key) == value);
        }
    }

    // The same bytes as the settings file (bus information, known modules) and as module 1234's file, which
    // the bus information may name; other module files are missing.
    CBusList list;
    LoadBusInfo(document, kBusInfoSection, list, [&document](uint16_t serialNo, ModuleRecord& record) {
        if (serialNo != 1234) {
            return false;
        }
        ReadModuleDocument(document, record);
        return true;
    });
    (void)ReadKnownModuleSerials(document);
    ModuleRecord record;
    ReadModuleDocument(document, record);
    return 0;
}

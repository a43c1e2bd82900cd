// The settings file and a module file as other programs or people may have left them: the profile parser
// itself (whose output must parse back to the same sections, keys and values), the bus-information and
// known-modules readers, and the module file reader.

#include "core/inventory/bus_info_file.h"
#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "core/inventory/module_record.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_document.h"
#include "tests/fuzz/fuzz_util.h"

#include <cstdlib>
#include <string_view>

using namespace terrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchCleanup cleanup;
    static const bool dirSet = (SetDataDir(fuzz::ScratchDir()), true);
    (void)dirSet;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniDocument document = IniDocument::Parse(text);
    // What we write must read back with the same sections, keys and values. (Not the same bytes: a line
    // that ends in a lone carriage return loses it on the way, which changes no key or value.)
    const IniDocument again = IniDocument::Parse(document.Serialize());
    if (again.SectionNames() != document.SectionNames()) {
        std::abort();
    }
    for (const std::string& section : document.SectionNames()) {
        if (again.KeyNames(section) != document.KeyNames(section)) {
            std::abort();
        }
        for (const std::string& key : document.KeyNames(section)) {
            if (!document.Get(section, key) || again.Get(section, key) != document.Get(section, key)) {
                std::abort(); // a key that is listed must be found, with the value it had
            }
        }
    }

    // The same bytes as the settings file (bus information, known modules) and as module 1234's file, which
    // the bus information may name.
    fuzz::WriteScratch("Terrix.ini", data, size);
    fuzz::WriteScratch("1234.ini", data, size);
    CBusList list;
    LoadBusInfo(list);
    (void)ReadKnownModuleSerials();
    ModuleRecord record;
    ReadModuleFileFrom(fuzz::ScratchDir() / "1234.ini", record);
    return 0;
}

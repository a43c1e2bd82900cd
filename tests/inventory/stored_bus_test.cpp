#include "core/inventory/stored_bus.h"
#include "inventory_test_util.h"

#include <cerrno>

namespace terrix {
namespace {

using namespace terrix::testing;
using StoredBus = DataDirTest;

// Only a bus without collisions and with modules replaces the stored one; a write failure is told apart.
TEST_F(StoredBus, SaveCompleteBusStoresOnlyAWholeBus) {
    const std::string stored = "[BUS INFO]\nModules=1\nModule0=5,5\n";
    const struct {
        const char* name;
        bool collision;
        bool modules;
        bool unwritable;
        BusSave result;
    } cases[] = {
        {"empty list", false, false, false, BusSave::kIncomplete},
        {"collision left", true, true, false, BusSave::kIncomplete},
        {"complete", false, true, false, BusSave::kSaved},
        {"complete, unwritable", false, true, true, BusSave::kFailed},
    };
    for (const auto& c : cases) {
        SetDataDir(Dir());
        WriteFileBytes(Settings(), stored);
        CBusList list;
        if (c.modules) {
            list.Add(MakeRecord(42, 1));
        }
        if (c.collision) {
            list.Add(MakeCollision(3));
        }
        if (c.unwritable) {
            WriteFileBytes(Dir() / "plain", "");
            SetDataDir(Dir() / "plain" / "sub");
        }
        EXPECT_EQ(SaveCompleteBus(list), c.result) << c.name;
        SetDataDir(Dir());
        const bool saved = c.result == BusSave::kSaved;
        EXPECT_EQ(SectionLines(Settings(), "BUS INFO"),
                  saved ? (Strings{"Modules=1", "Module0=42,1"}) : (Strings{"Modules=1", "Module0=5,5"}))
            << c.name;
        if (c.unwritable) {
            EXPECT_EQ(list.LastFileError().code, ENOTDIR);
        }
    }
}

TEST_F(StoredBus, RemovingAModuleStoresTheBusAndKeepsItsModuleFile) {
    CBusList list;
    list.Add(MakeRecord(42, 1));
    list.Add(MakeRecord(43, 2));
    list.Add(MakeCollision(3));
    ASSERT_TRUE(list.Save());

    EXPECT_EQ(RemoveModuleFromBus(list, *list.GetAt(2)), ModuleRemoval::kRefused) << "the placeholder";
    EXPECT_EQ(RemoveModuleFromBus(list, *MakeRecord(99, 9)), ModuleRemoval::kNotInList);
    EXPECT_EQ(RemoveModuleFromBus(list, *list.GetAt(1)), ModuleRemoval::kRemoved);
    EXPECT_EQ(SerialStations(list), (Pairs{{42, 1}, {kNoSerial, 3}}));
    EXPECT_EQ(SectionLines(Settings(), "BUS INFO"),
              (Strings{"Modules=2", "Module0=42,1", "Module1=65535,3"}));
    EXPECT_TRUE(Exists("43.ini")) << "the user data stays for the module's return";

    // A failed write is reported, not hidden; the record is gone from the list all the same.
    WriteFileBytes(Dir() / "plain", "");
    SetDataDir(Dir() / "plain" / "sub");
    EXPECT_EQ(RemoveModuleFromBus(list, *list.GetAt(0)), ModuleRemoval::kSaveFailed);
    EXPECT_EQ(SerialStations(list), (Pairs{{kNoSerial, 3}}));
}

// Which records are placeholders, and that a change of a record without a module file is no failure.
TEST_F(StoredBus, PlaceholdersAndModuleChanges) {
    const struct {
        uint16_t serial;
        ModuleState state;
        bool placeholder;
        bool file; // a module file is written
    } cases[] = {
        {42, msIdentified, false, true}, {43, msNotIdentified, false, true},
        {44, msCollision, true, false},  {kNoSerial, msIdentified, true, false},
        {0, msFailed, false, false},     {kMaxValidSerial, msIdentified, false, true},
    };
    for (const auto& c : cases) {
        const ModuleRecord record = *MakeRecord(c.serial, 4, c.state);
        EXPECT_EQ(IsCollisionPlaceholder(record), c.placeholder) << c.serial << " " << c.state;
        InventoryFileError error;
        EXPECT_TRUE(SaveModuleChange(record, &error)) << c.serial;
        EXPECT_EQ(Exists(std::to_string(c.serial) + ".ini"), c.file) << c.serial;
    }
    WriteFileBytes(Dir() / "plain", "");
    SetDataDir(Dir() / "plain" / "sub");
    InventoryFileError error;
    EXPECT_FALSE(SaveModuleChange(*MakeRecord(42, 4), &error));
    EXPECT_EQ(error.code, ENOTDIR);
}

} // namespace
} // namespace terrix

#include "core/inventory/bus_info_file.h"
#include "core/platform/ini_section.h"
#include "inventory_test_util.h"

#include <algorithm>
#include <cerrno>

namespace terrix {
namespace {

using namespace terrix::testing;
using BusInfoFile = DataDirTest;

TEST_F(BusInfoFile, EmptyListAndForgetRemoveOnlyTheBusInfoSection) {
    WriteFileBytes(Settings(), "[BUS INFO]\nModules=1\nModule0=5,5\n[Other]\nkey=1\n");
    CBusList list;
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(IniDocument::Load(Settings()).HasSection("BUS INFO"));

    list.Add(MakeRecord(42, 1));
    ASSERT_TRUE(list.Save());
    list.LoadKnownModules();
    ASSERT_TRUE(list.AddKnownModule(42, true));
    ASSERT_TRUE(list.SaveKnownModules());
    ASSERT_TRUE(ForgetBusInfo());
    EXPECT_EQ(IniDocument::Load(Settings()).SectionNames(), (Strings{"Other", "KNOWN MODULES"}));
    EXPECT_TRUE(Exists("42.ini"));
    EXPECT_TRUE(ForgetBusInfo()); // nothing left to delete
}

// Records without a known serial (a collision, a module that failed before telling its serial) keep their
// station in the list, so a scan asks there again, but never get a module file of a shared name.
TEST_F(BusInfoFile, RecordsWithoutKnownSerialAreListedButGetNoModuleFile) {
    CBusList list;
    list.Add(MakeRecord(300, 2));
    list.Add(MakeCollision(4));
    list.Add(MakeRecord(0, 6));
    list.GetAt(2)->enModuleState = msFailed;
    list.Add(MakeRecord(100, 9));
    list.GetAt(3)->bDisabled = 1;
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(SectionLines(Settings(), "BUS INFO"),
              (Strings{"Modules=4", "Module0=300,2", "Module1=65535,4", "Module2=0,6", "Module3=100,9"}));
    EXPECT_TRUE(Exists("300.ini") && Exists("100.ini"));
    EXPECT_FALSE(Exists("65535.ini") || Exists("0.ini"));

    CBusList loaded;
    loaded.Add(MakeRecord(1, 1)); // cleared by loading
    ASSERT_EQ(LoadBusInfo(loaded), 4u);
    EXPECT_EQ(SerialStations(loaded), (Pairs{{300, 2}, {65535, 4}, {0, 6}, {100, 9}}));
    EXPECT_EQ(std::tie(loaded.GetAt(3)->bDisabled, loaded.GetAt(3)->enModuleState),
              std::make_tuple(1, msNotIdentified));
    EXPECT_EQ(loaded.CollisionCount(), 0u);
}

TEST_F(BusInfoFile, EntryGivesTheStationModuleFileTheSerialAndTheListIsSortedByStation) {
    ASSERT_TRUE(WriteModuleFile(*MakeRecord(10, 50)));
    ASSERT_TRUE(WriteModuleFile(*MakeRecord(11, 51)));
    WriteFileBytes(Dir() / "13.ini", "[StationInfo]\r\nwSerialNo=14\r\n");
    // Entries that are not "serial,station" (Module3, Module4, Module8 on) are skipped.
    WriteFileBytes(Settings(),
                   "[BUS INFO]\r\nModules=11\r\nModule0=10,40\r\nModule1=11,  20\r\nModule2=99,30\r\n"
                   "Module3=abc\r\nModule4=12 ,5\r\nModule5=-1,8\r\nModule6=0,4\r\nModule7=13,1\r\n"
                   "Module8=15,\r\nModule9=\r\nModule10=7\r\n");
    CBusList list;
    ASSERT_EQ(LoadBusInfo(list), 6u);
    // 99 has no module file, so the entry names it; 0 and -1 (65535) name no module and keep only their
    // stations; the file of 13 names another serial, which wins.
    EXPECT_EQ(SerialStations(list), (Pairs{{14, 1}, {0, 4}, {65535, 8}, {11, 20}, {99, 30}, {10, 40}}));
}

// A module known from elsewhere (collected records) joins the stored bus; its entry moves with its station,
// a garbled entry is dropped, other sections stay, and a full section takes no more.
TEST_F(BusInfoFile, AddToBusInfoPutsOneModuleInAndKeepsTheRest) {
    WriteFileBytes(Settings(), "[BUS INFO]\r\nModules=3\r\nModule0=10,40\r\nModule1=abc\r\nModule2=11,20\r\n"
                               "[Other]\r\nkey=1\r\n");
    ASSERT_TRUE(AddToBusInfo(Settings(), 12, 7));
    ASSERT_TRUE(AddToBusInfo(Settings(), 10, 41));
    CBusList list;
    ASSERT_EQ(LoadBusInfo(list), 3u);
    EXPECT_EQ(SerialStations(list), (Pairs{{12, 7}, {11, 20}, {10, 41}}));
    EXPECT_EQ(CIniSection(Settings(), "Other").ReadString("key", ""), "1");

    std::string full = "[BUS INFO]\nModules=256\n";
    for (uint32_t i = 0; i < CBusList::kCapacity; ++i) {
        full += "Module" + std::to_string(i) + "=" + std::to_string(i + 1) + ",1\n";
    }
    WriteFileBytes(Settings(), full);
    InventoryFileError error;
    EXPECT_TRUE(AddToBusInfo(Settings(), 5, 1)); // already there
    EXPECT_FALSE(AddToBusInfo(Settings(), 4000, 1, &error));
    EXPECT_EQ(error.code, ENOSPC);
    EXPECT_EQ(ReadFileBytes(Settings()), full);
}

TEST_F(BusInfoFile, DamagedCountsStopAtTheListCapacity) {
    std::string text = "[BUS INFO]\nModules=4294967295\n";
    for (int i = 0; i < 300; ++i) {
        text += "Module" + std::to_string(i) + "=" + std::to_string(i) + "," + std::to_string(i % 253) + "\n";
    }
    WriteFileBytes(Settings(), text + "[KNOWN MODULES]\nModules=4294967295\nModule0=5\n");
    CBusList list;
    EXPECT_EQ(LoadBusInfo(list), CBusList::kCapacity);
    EXPECT_EQ(ReadKnownModuleSerials().size(), CBusList::kCapacity);
    ASSERT_NE(list.LoadKnownModules(), nullptr);
    EXPECT_EQ(list.KnownModules()->Count(), 1u);
}

TEST_F(BusInfoFile, KnownModulesLoadOnceSkipMissingEntriesAndAddByRule) {
    ModuleRecord stored = *MakeRecord(77, 3);
    CopyToField(stored.szLocation, "shed");
    ASSERT_TRUE(WriteModuleFile(stored));
    WriteFileBytes(Settings(), "[KNOWN MODULES]\r\nModules=3\r\nModule0=900\r\nModule2=77\r\n");
    CBusList list;
    EXPECT_EQ(list.KnownModules(), nullptr);
    EXPECT_FALSE(list.AddKnownModule(5, false)); // not loaded yet
    CBusList* known = list.LoadKnownModules();
    ASSERT_NE(known, nullptr);
    ASSERT_EQ(SerialStations(*known), (Pairs{{900, 0}, {77, 3}})); // no module file: the requested serial
    EXPECT_EQ(FieldText(known->GetAt(1)->szLocation), "shed");
    known->GetAt(0)->bDisabled = 5;
    EXPECT_EQ(list.LoadKnownModules(), known); // loaded once
    EXPECT_EQ(known->GetAt(0)->bDisabled, 5);

    EXPECT_TRUE(list.AddKnownModule(900, true)); // already known: no change
    EXPECT_TRUE(list.AddKnownModule(900, false));
    EXPECT_FALSE(list.AddKnownModule(65535, false));
    EXPECT_TRUE(list.AddKnownModule(0, false));
    EXPECT_EQ(SerialStations(*known), (Pairs{{900, 0}, {77, 3}, {900, 0}, {0, 0}}));

    EXPECT_TRUE(list.FreeKnownModules());
    EXPECT_FALSE(list.FreeKnownModules());
    EXPECT_EQ(list.KnownModules(), nullptr);
}

TEST_F(BusInfoFile, SaveKnownModulesSortsBySerialAndSkipsPlaceholders) {
    CBusList list;
    EXPECT_TRUE(list.SaveKnownModules()); // never created: nothing written
    EXPECT_FALSE(std::filesystem::exists(Settings()));

    CBusList* known = list.LoadKnownModules();
    EXPECT_EQ(known->Count(), 0u);
    list.AddKnownModule(500, true);
    list.AddKnownModule(20, true);
    known->Add(MakeCollision(0));
    ASSERT_TRUE(list.SaveKnownModules());
    EXPECT_EQ(SectionLines(Settings(), "KNOWN MODULES"), (Strings{"Modules=3", "Module0=20", "Module1=500"}));

    while (known->RemoveAt(0)) {
    }
    ASSERT_TRUE(list.SaveKnownModules());
    EXPECT_EQ(SectionLines(Settings(), "KNOWN MODULES"), Strings{"Modules=0"});
}

TEST_F(BusInfoFile, WindowsWrittenSettingsFileIsReadAndKeptCrlf) {
    std::filesystem::copy_file(FixturePath("Terrix_windows.ini"), Settings());
    std::filesystem::copy_file(FixturePath("12345_windows.ini"), Dir() / "12345.ini");

    EXPECT_EQ(CIniSection(Settings(), "general SETTINGS").ReadWord("wPrimaryLID", 0), 1031);

    CBusList list;
    ASSERT_EQ(LoadBusInfo(list), 3u);
    // 4711.ini is not there: the entry names it; the collision keeps only its station.
    EXPECT_EQ(SerialStations(list), (Pairs{{12345, 3}, {65535, 9}, {4711, 23}}));
    // The module file's own reading is ModuleFile.ReadsHandWrittenCrlfFileWithMixedCaseNames's.
    EXPECT_EQ(FieldText(list.GetAt(0)->szLocation), "B\xFChl, plot 7");
    EXPECT_EQ(list.LoadKnownModules()->Count(), 2u);

    ASSERT_TRUE(list.Save());
    const std::string text = ReadFileBytes(Settings());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
    for (const char* kept :
         {"[General settings]\r\nwPrimaryLID=1031\r\n", "dLeft=0.125000\r\n", "Module0=12345,3\r\n"}) {
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
    }
}

// A settings file too large to be read whole is never written back: see the robustness tests.
TEST_F(BusInfoFile, WriteFailuresAreReported) {
    CBusList list;
    list.Add(MakeRecord(8, 8));
    WriteFileBytes(Dir() / "plain", "");
    SetDataDir(Dir() / "plain" / "sub");
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(std::make_tuple(list.LastFileError().code, list.LastFileError().file.filename()),
              std::make_tuple(ENOTDIR, "8.ini"));
    list.LoadKnownModules();
    EXPECT_FALSE(list.SaveKnownModules());
    EXPECT_EQ(list.LastFileError().code, ENOTDIR);
}

} // namespace
} // namespace terrix

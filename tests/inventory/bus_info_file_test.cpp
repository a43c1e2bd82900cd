#include "core/inventory/bus_info_file.h"

#include "core/inventory/bus_list.h"
#include "core/inventory/module_file.h"
#include "core/platform/ini_document.h"
#include "core/platform/ini_section.h"
#include "inventory_test_util.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace terrix {
namespace {

using testing::DataDirTest;
using testing::FixturePath;
using testing::MakeCollision;
using testing::MakeRecord;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class BusInfoFile : public DataDirTest {
protected:
    std::optional<std::string> Entry(std::string_view section, std::string_view key) const {
        return IniDocument::Load(Settings()).Get(section, key);
    }
};

TEST_F(BusInfoFile, EmptyListLeavesNoSection) {
    WriteFileBytes(Settings(), "[BUS INFO]\nModules=1\nModule0=5,5\n[Other]\nkey=1\n");
    CBusList list;
    ASSERT_TRUE(list.Save());
    const IniDocument doc = IniDocument::Load(Settings());
    EXPECT_FALSE(doc.HasSection("BUS INFO"));
    EXPECT_EQ(doc.Get("Other", "key"), "1");
}

TEST_F(BusInfoFile, CollisionsAreListedButGetNoModuleFile) {
    CBusList list;
    list.Add(MakeRecord(300, 2));
    list.Add(MakeCollision(4));
    list.Add(MakeRecord(100, 9));
    list.GetAt(2)->bDisabled = 1;
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(Entry("BUS INFO", "Modules"), "3");
    EXPECT_EQ(Entry("BUS INFO", "Module0"), "300,2");
    EXPECT_EQ(Entry("BUS INFO", "Module1"), "65535,4");
    EXPECT_EQ(Entry("BUS INFO", "Module2"), "100,9");
    EXPECT_TRUE(std::filesystem::exists(Dir() / "300.ini"));
    EXPECT_TRUE(std::filesystem::exists(Dir() / "100.ini"));
    EXPECT_FALSE(std::filesystem::exists(Dir() / "65535.ini"));

    CBusList loaded;
    loaded.Add(MakeRecord(1, 1)); // cleared by loading
    EXPECT_EQ(LoadBusInfo(loaded), 2u);
    EXPECT_EQ(loaded.GetAt(0)->SerialNo(), 300);
    EXPECT_EQ(loaded.GetAt(1)->SerialNo(), 100);
    EXPECT_EQ(loaded.GetAt(1)->bDisabled, 1);
    EXPECT_EQ(loaded.GetAt(1)->enModuleState, msNotIdentified);
    EXPECT_EQ(loaded.CollisionCount(), 0u);
}

TEST_F(BusInfoFile, EntryStationWinsAndListIsSortedByStation) {
    ASSERT_TRUE(WriteModuleFile(*MakeRecord(10, 50)));
    ASSERT_TRUE(WriteModuleFile(*MakeRecord(11, 51)));
    WriteFileBytes(Settings(),
                   "[BUS INFO]\r\nModules=7\r\nModule0=10,40\r\nModule1=11,  20\r\nModule2=99,30\r\n"
                   "Module3=abc\r\nModule4=12 ,5\r\nModule5=-1,8\r\n");
    CBusList list;
    ASSERT_EQ(LoadBusInfo(list), 3u);
    EXPECT_EQ(list.GetAt(0)->SerialNo(), 11);
    EXPECT_EQ(list.GetAt(0)->iaStation, 20);
    EXPECT_EQ(list.GetAt(1)->SerialNo(), 99); // no module file for 99: the serial comes from the entry
    EXPECT_EQ(list.GetAt(1)->iaStation, 30);
    EXPECT_EQ(list.GetAt(2)->SerialNo(), 10);
    EXPECT_EQ(list.GetAt(2)->iaStation, 40);
}

TEST_F(BusInfoFile, DamagedCountsStopAtTheListCapacity) {
    std::string text = "[BUS INFO]\nModules=4294967295\n";
    for (int i = 0; i < 300; ++i) {
        text += "Module" + std::to_string(i) + "=" + std::to_string(i) + "," + std::to_string(i % 253) + "\n";
    }
    text += "[KNOWN MODULES]\nModules=4294967295\nModule0=5\n";
    WriteFileBytes(Settings(), text);
    CBusList list;
    EXPECT_EQ(LoadBusInfo(list), CBusList::kCapacity);
    EXPECT_EQ(ReadKnownModuleSerials().size(), CBusList::kCapacity);
    CBusList* known = list.LoadKnownModules();
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(known->Count(), 1u);
}

TEST_F(BusInfoFile, ForgetDeletesOnlyBusInfo) {
    CBusList list;
    list.Add(MakeRecord(42, 1));
    ASSERT_TRUE(list.Save());
    list.LoadKnownModules();
    ASSERT_TRUE(list.AddKnownModule(42, true));
    ASSERT_TRUE(list.SaveKnownModules());
    ASSERT_TRUE(ForgetBusInfo());
    const IniDocument doc = IniDocument::Load(Settings());
    EXPECT_FALSE(doc.HasSection("BUS INFO"));
    EXPECT_TRUE(doc.HasSection("KNOWN MODULES"));
    EXPECT_TRUE(std::filesystem::exists(Dir() / "42.ini"));
    EXPECT_TRUE(ForgetBusInfo()); // nothing left to delete
}

TEST_F(BusInfoFile, KnownModulesWithAMissingEntryLoadTwo) {
    ModuleRecord stored = *MakeRecord(77, 3);
    CopyToField(stored.szLocation, "shed");
    ASSERT_TRUE(WriteModuleFile(stored));
    WriteFileBytes(Settings(), "[KNOWN MODULES]\r\nModules=3\r\nModule0=900\r\nModule2=77\r\n");
    CBusList list;
    EXPECT_EQ(list.KnownModules(), nullptr);
    EXPECT_FALSE(list.AddKnownModule(5, false)); // not loaded yet
    CBusList* known = list.LoadKnownModules();
    ASSERT_NE(known, nullptr);
    ASSERT_EQ(known->Count(), 2u);
    EXPECT_EQ(known->GetAt(0)->SerialNo(), 900); // no module file: the requested serial
    EXPECT_EQ(FieldText(known->GetAt(1)->szLocation), "shed");

    known->GetAt(0)->bDisabled = 5;
    EXPECT_EQ(list.LoadKnownModules(), known); // loaded once
    EXPECT_EQ(known->GetAt(0)->bDisabled, 5);

    EXPECT_TRUE(list.AddKnownModule(900, true));
    EXPECT_EQ(known->Count(), 2u);
    EXPECT_TRUE(list.AddKnownModule(900, false));
    EXPECT_EQ(known->Count(), 3u);
    EXPECT_FALSE(list.AddKnownModule(65535, false));
    EXPECT_TRUE(list.AddKnownModule(0, false));
    EXPECT_EQ(known->GetAt(3)->SerialNo(), 0);

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
    EXPECT_EQ(Entry("KNOWN MODULES", "Modules"), "3");
    EXPECT_EQ(Entry("KNOWN MODULES", "Module0"), "20");
    EXPECT_EQ(Entry("KNOWN MODULES", "Module1"), "500");
    EXPECT_EQ(Entry("KNOWN MODULES", "Module2"), std::nullopt);

    while (known->Count() > 0) {
        known->RemoveAt(0);
    }
    ASSERT_TRUE(list.SaveKnownModules());
    EXPECT_EQ(Entry("KNOWN MODULES", "Modules"), "0");
    EXPECT_EQ(Entry("KNOWN MODULES", "Module0"), std::nullopt);
}

TEST_F(BusInfoFile, WindowsWrittenSettingsFileIsReadAndKeptCrlf) {
    std::filesystem::copy_file(FixturePath("Terrix_windows.ini"), Settings());
    std::filesystem::copy_file(FixturePath("12345_windows.ini"), Dir() / "12345.ini");

    CIniSection general;
    general.SetSection("general SETTINGS");
    EXPECT_EQ(general.ReadWord("wPrimaryLID", 0), 1031);
    CIniSection placement(Settings(), "CResolveCollisionsDlg Placement");
    EXPECT_DOUBLE_EQ(placement.ReadDouble("dTop", 0), 0.25);
    EXPECT_EQ(CIniSection(Settings(), "MeasCircDlg").ReadDWord("dwMeasTime", 0), 60u);

    CBusList list;
    ASSERT_EQ(LoadBusInfo(list), 2u);
    const ModuleRecord& xv = *list.GetAt(0);
    EXPECT_EQ(xv.SerialNo(), 12345);
    EXPECT_EQ(xv.iaStation, 3);
    EXPECT_EQ(xv.bIsTavikXV, 1);
    EXPECT_EQ(xv.stationInfo.wFirmwareVersion, 4386);
    EXPECT_EQ(xv.sensorData1.fZeroOffset, -40.0f);
    EXPECT_EQ(FieldText(xv.szUnit1), "\xB0"
                                     "C");
    EXPECT_EQ(FieldText(xv.szLocation), "B\xFChl, plot 7");
    EXPECT_EQ(list.GetAt(1)->iaStation, 23);
    EXPECT_EQ(list.GetAt(1)->SerialNo(), 4711); // 4711.ini is not there: the entry names it
    EXPECT_EQ(list.LoadKnownModules()->Count(), 2u);

    ASSERT_TRUE(list.Save());
    const std::string text = ReadFileBytes(Settings());
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
        ASSERT_EQ(text[i - 1], '\r') << "at " << i;
    }
    EXPECT_NE(text.find("[General settings]\r\nwPrimaryLID=1031\r\n"), std::string::npos);
    EXPECT_NE(text.find("dLeft=0.125000\r\n"), std::string::npos);
    EXPECT_EQ(Entry("BUS INFO", "Module0"), "12345,3");
}

TEST_F(BusInfoFile, WriteFailuresAreReportedAndLeaveTheFileIntact) {
    // A settings file too large to be read whole is never written back.
    const std::string big =
        "[Big]\n" + std::string(IniDocument::kMaxFileBytes, 'x') + "\n[BUS INFO]\nModules=0\n";
    WriteFileBytes(Settings(), big);
    CBusList list;
    list.Add(MakeRecord(8, 8));
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(list.LastFileError().code, EFBIG);
    EXPECT_EQ(list.LastFileError().file, Settings());
    EXPECT_EQ(std::filesystem::file_size(Settings()), big.size());
    EXPECT_TRUE(std::filesystem::exists(Dir() / "8.ini"));

    WriteFileBytes(Dir() / "plain", "");
    SetDataDir(Dir() / "plain" / "sub");
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(list.LastFileError().code, ENOTDIR);
    list.LoadKnownModules();
    EXPECT_FALSE(list.SaveKnownModules());
    EXPECT_EQ(list.LastFileError().code, ENOTDIR);
}

} // namespace
} // namespace terrix

#include "core/inventory/stored_text.h"
#include "inventory_test_util.h"

#include <cerrno>

namespace terrix {
namespace {

using namespace terrix::testing;
using ModuleFile = DataDirTest;

const char* const kFullRecordFile =
    "[ModuleInfo]\r\nbDisabled=1\r\nenModuleState=1\r\niaStation=17\r\nbIsTavikButNotXV=1\r\nbIsTavikXV=0\r\n"
    "bHasTDCSupport=1\r\ndwMeasTime=4294967295\r\ndwNumberOfMeas0=99999\r\ndwNumberOfMeas1=7\r\nszUnit0=%\r\n"
    "szUnit1=\xB0\x43\r\nbHasAnalogCfg0=1\r\nbHasAnalogCfg1=1\r\nbHasSensorData=1\r\n"
    "[StationInfo]\r\nwSerialNo=65534\r\nwFirmwareVersion=17170\r\nyFlag=165\r\nyModuleId=11\r\n"
    "wStartupBaud=96\r\nwTimeOut=1000\r\nwDelayTime=3\r\nwReponseTime=65535\r\nacModuleName=PX-TAVIK2ZUZ\r\n"
    "[AnalogCfg0]\r\nyChannel=0\r\nyZeroFiller1=1\r\nyRawVofsVd=3\r\nyNofsLow=4\r\nyNofsHigh=5\r\n"
    "yHasLinearisation=1\r\nyZeroFiller2=7\r\n"
    "[AnalogCfg1]\r\nyChannel=1\r\nyZeroFiller1=255\r\nyRawVofsVd=128\r\nyNofsLow=0\r\nyNofsHigh=9\r\n"
    "yHasLinearisation=0\r\nyZeroFiller2=2\r\n"
    "[SensorData0]\r\nfZeroOffset=-12.250000\r\nfResolution=0.015625\r\nyUnitCode=25\r\nnLSBMin=-32768\r\n"
    "nLSBMax=32767\r\nyStatus=1\r\n"
    "[SensorData1]\r\nfZeroOffset=3.500000\r\nfResolution=-0.500000\r\nyUnitCode=20\r\nnLSBMin=-100\r\n"
    "nLSBMax=4000\r\nyStatus=255\r\n"
    "[UserInfo]\r\nszLocation=Field 3, row 2 = north [edge]\r\n"
    "szComment=first line\\nsecond line; with = and [brackets]\r\n";

TEST_F(ModuleFile, WritesTheSharedLayoutAndReadsItBack) {
    const ModuleRecord full = FullRecord();
    ASSERT_TRUE(WriteModuleFile(full));
    EXPECT_EQ(ReadFileBytes(Dir() / "65534.ini"), kFullRecordFile);

    ModuleRecord read;
    EXPECT_TRUE(ReadModuleFile(65534, read));
    ModuleRecord expected = full;
    expected.enModuleState = msNotIdentified; // the state is not restored from a file
    EXPECT_EQ(AsModuleFile(read), AsModuleFile(expected));
}

TEST_F(ModuleFile, MissingFileKeysOrValuesLeaveTheRecordAndStateAsTheyWere) {
    ModuleRecord record = FullRecord();
    EXPECT_FALSE(ReadModuleFile(1, record));
    EXPECT_EQ(AsModuleFile(record), AsModuleFile(FullRecord()));

    WriteFileBytes(Dir() / "2.ini", "[ModuleInfo]\r\nenModuleState=3\r\nbDisabled=0\r\n");
    EXPECT_TRUE(ReadModuleFile(2, record));
    ModuleRecord expected = FullRecord();
    expected.bDisabled = 0;
    EXPECT_EQ(AsModuleFile(record), AsModuleFile(expected));

    // Unreadable values keep the record's too, and the channel mask follows the counts. How each integer
    // type wraps is the settings section's own (IniSectionTest.TypedReadsWrapLikeTheProfileFormats).
    WriteFileBytes(Dir() / "6.ini",
                   "[ModuleInfo]\r\ndwNumberOfMeas0=0\r\ndwNumberOfMeas1=5\r\nbHasSensorData=1\r\n"
                   "bDisabled=yes\r\n[SensorData0]\r\nfZeroOffset=abc\r\n");
    record.bDisabled = 1;
    ReadModuleFile(6, record);
    EXPECT_EQ(std::tie(record.bDisabled, record.sensorData0.fZeroOffset, record.dwMeasChannels),
              std::make_tuple(1, -12.25f, 2u));
}

TEST_F(ModuleFile, FlagsGateTheOptionalSections) {
    WriteFileBytes(Dir() / "5.ini",
                   "[ModuleInfo]\r\nbHasAnalogCfg0=0\r\nbHasAnalogCfg1=1\r\nbHasSensorData=0\r\n"
                   "[AnalogCfg0]\r\nyChannel=5\r\nyHasLinearisation=1\r\n"
                   "[AnalogCfg1]\r\nyChannel=6\r\n"
                   "[SensorData0]\r\nyUnitCode=20\r\n");
    ModuleRecord record;
    ReadModuleFile(5, record);
    EXPECT_EQ(std::tie(record.analogCfg0.yChannel, record.analogCfg0.yHasLinearisation,
                       record.analogCfg1.yChannel, record.sensorData0.yUnitCode),
              std::make_tuple(0, 0, 6, 0));

    // Written with the flags off, the old sections stay in the file and are still ignored.
    record.stationInfo.wSerialNo = 5;
    record.bHasAnalogCfg1 = 0;
    ASSERT_TRUE(WriteModuleFile(record));
    EXPECT_NE(ReadFileBytes(Dir() / "5.ini").find("[AnalogCfg0]\r\nyChannel=5"), std::string::npos);
    ModuleRecord again;
    ReadModuleFile(5, again);
    EXPECT_EQ(std::tie(again.analogCfg0.yChannel, again.analogCfg1.yChannel), std::make_tuple(0, 0));
}

TEST_F(ModuleFile, OverlongStringsAreCutAndCommentLineBreaksAreStoredAsBackslashN) {
    const std::string longText(1500, 'x');
    WriteFileBytes(Dir() / "7.ini",
                   "[ModuleInfo]\r\nszUnit0=abcdefghij\r\n[StationInfo]\r\nacModuleName=" + longText +
                       "\r\n[UserInfo]\r\nszLocation=" + longText + "\r\nszComment=" + longText + "\r\n");
    ModuleRecord record;
    ReadModuleFile(7, record);
    EXPECT_EQ(std::make_tuple(FieldText(record.szUnit0), record.ModuleName().size(),
                              record.stationInfo.yModuleNameLen, FieldText(record.szLocation).size(),
                              FieldText(record.szComment).size()),
              std::make_tuple("abcdefg", 254u, 254, 78u, 510u));

    // Each line break takes two characters in the file, and a comment full of them still fits its field.
    const std::pair<std::string, std::string> comments[] = {
        {"north wall\r\nnear the door", "szComment=north wall\\nnear the door\r\n"},
        {std::string(510, '\n'), "szComment=\\n\\n"}};
    for (const auto& [comment, stored] : comments) {
        ModuleRecord breaks = FullRecord();
        CopyToField(breaks.szComment, comment);
        ASSERT_TRUE(WriteModuleFile(breaks));
        EXPECT_NE(ReadFileBytes(Dir() / "65534.ini").find(stored), std::string::npos) << stored;
        ModuleRecord back;
        ReadModuleFile(65534, back);
        EXPECT_EQ(FieldText(back.szComment), EncodeLineBreaks(comment).substr(0, 510));
    }
}
TEST_F(ModuleFile, UserDataTouchesOnlyUserInfo) {
    ModuleRecord record = FullRecord();
    ASSERT_TRUE(WriteModuleFile(record));
    CopyToField(record.szLocation, "moved");
    record.bDisabled = 0;
    ASSERT_TRUE(WriteUserData(record));
    const std::string text = ReadFileBytes(Dir() / "65534.ini");
    EXPECT_NE(text.find("bDisabled=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("szLocation=moved\r\n"), std::string::npos);

    ModuleRecord fresh;
    EXPECT_TRUE(ReadUserData(65534, fresh));
    EXPECT_EQ(std::make_tuple(FieldText(fresh.szLocation), fresh.bDisabled, fresh.SerialNo()),
              std::make_tuple("moved", 0, 0));
}

TEST_F(ModuleFile, RecordsWithoutSerialAndUnwritableFilesAreReported) {
    ModuleRecord collision = FullRecord();
    collision.stationInfo.wSerialNo = kNoSerial;
    InventoryFileError error;
    EXPECT_FALSE(WriteModuleFile(collision, &error));
    EXPECT_EQ(error.code, kNoSerialNumber);
    EXPECT_FALSE(WriteUserData(collision));
    EXPECT_FALSE(std::filesystem::exists(Dir() / "65535.ini"));
    collision.stationInfo.wSerialNo = 0; // station information never read
    EXPECT_FALSE(WriteModuleFile(collision, &error));
    EXPECT_FALSE(std::filesystem::exists(Dir() / "0.ini"));

    // A data directory below a plain file cannot be created or written, even by root.
    WriteFileBytes(Dir() / "plain", "");
    SetDataDir(Dir() / "plain" / "data");
    InventoryFileError writeError;
    EXPECT_FALSE(WriteModuleFile(FullRecord(), &writeError));
    EXPECT_EQ(std::make_tuple(writeError.code, writeError.file.filename()),
              std::make_tuple(ENOTDIR, "65534.ini"));
    EXPECT_NE(writeError.Message().find("65534.ini"), std::string::npos);
}

TEST_F(ModuleFile, ReadsHandWrittenCrlfFileWithMixedCaseNames) {
    std::filesystem::copy_file(FixturePath("4711_handwritten.ini"), Dir() / "4711.ini");
    ModuleRecord r;
    ASSERT_TRUE(ReadModuleFile(4711, r));
    ModuleRecord expected{.bDisabled = 1,
                          .iaStation = 23,
                          .bIsTavikButNotXV = 1,
                          .stationInfo = {4711, 786, 0, 11, 96, 0, 0, 0},
                          .dwMeasTime = 2900,
                          .dwNumberOfMeas0 = 2,
                          .bHasAnalogCfg0 = 1,
                          .analogCfg0 = {0, 0, 3, 0, 0, 1, 0},
                          .analogCfg1 = {},
                          .bHasSensorData = 1,
                          .sensorData0 = {-1.5f, 0.0125f, 25, -2000, 2000, 0},
                          .sensorData1 = {0, 0, 20, 0, 0, 0},
                          .dwMeasChannels = 1};
    expected.stationInfo.SetModuleName("PX-TAVIK2");
    CopyToField(expected.szUnit0, "%");
    CopyToField(expected.szLocation, "Greenhouse 2");
    CopyToField(expected.szComment, "north wall\\nnear the door");
    EXPECT_EQ(AsModuleFile(r), AsModuleFile(expected));
}

} // namespace
} // namespace terrix

#include "core/platform/ini_section.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace terrix::test {
namespace {

TEST(IniSectionTest, WindowsFileWithAnyLetterCaseIsRead) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[bus info]\r\nMODULES=3\r\nmodule0 = 12345,7\r\n\r\n[Other]\r\nx=1\r\n");
    CIniSection ini(dir / "a.ini", "BUS INFO");
    EXPECT_EQ(ini.ReadDWord("Modules", 0), 3u);
    EXPECT_EQ(ini.ReadString("Module0", ""), "12345,7");
    ASSERT_TRUE(ini.WriteDWord("Modules", 4));
    // The file keeps its CRLF line ends and its other content.
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[bus info]\r\nMODULES=4\r\nmodule0 = 12345,7\r\n\r\n[Other]\r\nx=1\r\n");
}

TEST(IniSectionTest, TypedReadsWrapLikeTheProfileFormats) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[S]\nbyte=300\nword=70000\nneg=-1\nbad=abc\nshort=40000\nf=0.5\nhalf= 12x\n");
    CIniSection ini(dir / "a.ini", "S");
    EXPECT_EQ(ini.ReadByte("byte", 1), 44);
    EXPECT_EQ(ini.ReadWord("word", 1), 4464);
    EXPECT_EQ(ini.ReadDWord("neg", 1), 4294967295u);
    EXPECT_EQ(ini.ReadInt("bad", 17), 17);
    EXPECT_EQ(ini.ReadInt("missing", 18), 18);
    EXPECT_EQ(ini.ReadShort("short", 0), -25536);
    EXPECT_FLOAT_EQ(ini.ReadFloat("f", 0), 0.5f);
    EXPECT_EQ(ini.ReadInt("half", 0), 12);
    EXPECT_EQ(ini.ReadString("missing", "dflt"), "dflt");
}

TEST(IniSectionTest, FloatsAreWrittenWithSixDecimals) {
    TempDir dir;
    CIniSection ini(dir / "a.ini", "S");
    ASSERT_TRUE(ini.WriteFloat("tiny", 0.0000004f));
    ASSERT_TRUE(ini.WriteFloat("res", 0.025f));
    EXPECT_EQ(ini.ReadString("tiny", ""), "0.000000");
    EXPECT_EQ(ini.ReadString("res", ""), "0.025000");
    EXPECT_EQ(ini.ReadFloat("tiny", 1.0f), 0.0f);
}

TEST(IniSectionTest, ResetSectionRemovesOnlyThatSection) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    CIniSection ini(dir / "a.ini");
    ASSERT_TRUE(ini.ResetSection("a"));
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[B]\ny=2\n");
    EXPECT_EQ(ini.Section(), "a");
}

TEST(IniSectionTest, GroupedWritesReachTheDiskOnce) {
    TempDir dir;
    CIniSection ini(dir / "m.ini", "ModuleInfo");
    ini.BeginUpdate();
    ini.WriteInt("bDisabled", 1);
    ini.SetSection("UserInfo");
    ini.WriteString("szLocation", "Feld 3");
    EXPECT_FALSE(std::filesystem::exists(dir / "m.ini"));
    EXPECT_EQ(ini.ReadString("szLocation", ""), "Feld 3"); // reads see the pending writes
    ASSERT_TRUE(ini.EndUpdate());
    EXPECT_EQ(ReadFileBytes(dir / "m.ini"), "[ModuleInfo]\r\nbDisabled=1\r\n[UserInfo]\r\nszLocation=Feld 3\r\n");
}

TEST(IniSectionTest, FailedWriteKeepsThePreviousFile) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[S]\nx=1\n");
    // A directory where the temporary file would go makes the write fail (even for root).
    std::filesystem::create_directory(dir.path() / ("a.ini.tmp" + std::to_string(getpid())));
    CIniSection ini(dir / "a.ini", "S");
    EXPECT_FALSE(ini.WriteInt("x", 2));
    EXPECT_EQ(ini.LastError(), EISDIR);
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[S]\nx=1\n");
}

TEST(IniSectionTest, OverlongValuesAreCutToTheBuffer) {
    TempDir dir;
    CIniSection ini(dir / "a.ini", "S");
    ASSERT_TRUE(ini.WriteString("long", std::string(2000, 'x')));
    EXPECT_EQ(ini.ReadString("long", "").size(), 1023u);
    ASSERT_TRUE(ini.WriteString("two lines", "a\nb"));
    EXPECT_EQ(ini.ReadString("two lines", ""), "a b");
}

} // namespace
} // namespace terrix::test

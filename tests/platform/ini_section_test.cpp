#include "core/platform/ini_section.h"
#include "platform/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace terrix::test {
namespace {

TEST(IniSectionTest, WindowsFileWithAnyLetterCaseIsReadAndResetSectionsAnyCase) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[bus info]\r\nMODULES=3\r\nmodule0 = 12345,7\r\n\r\n[Other]\r\nx=1\r\n");
    CIniSection ini(dir / "a.ini", "BUS INFO");
    EXPECT_EQ(ini.ReadDWord("Modules", 0), 3u);
    EXPECT_EQ(ini.ReadString("Module0", ""), "12345,7");
    ASSERT_TRUE(ini.WriteDWord("Modules", 4));
    // The file keeps its CRLF line ends and its other content.
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"),
              "[bus info]\r\nMODULES=4\r\nmodule0 = 12345,7\r\n\r\n[Other]\r\nx=1\r\n");

    // Resetting a section removes it in any letter case, and nothing else.
    WriteFileBytes(dir / "b.ini", "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    CIniSection reset(dir / "b.ini");
    ASSERT_TRUE(reset.ResetSection("a"));
    EXPECT_EQ(ReadFileBytes(dir / "b.ini"), "[B]\ny=2\n");
}

TEST(IniSectionTest, TypedReadsWrapLikeTheProfileFormats) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini",
                   "[S]\nbyte=300\nword=70000\nneg=-1\nbad=abc\nshort=40000\nf=0.5\nhalf= 12x\n");
    CIniSection ini(dir / "a.ini", "S");
    EXPECT_EQ(std::make_tuple(ini.ReadByte("byte", 1), ini.ReadWord("word", 1), ini.ReadDWord("neg", 1),
                              ini.ReadInt("bad", 17), ini.ReadInt("missing", 18), ini.ReadShort("short", 0),
                              ini.ReadFloat("f", 0), ini.ReadInt("half", 0),
                              ini.ReadString("missing", "dflt")),
              std::make_tuple(44, 4464, 4294967295u, 17, 18, -25536, 0.5f, 12, "dflt"));
    // Floats are written with six decimals; a value is cut to the reader's buffer and kept on one line.
    ASSERT_TRUE(ini.WriteFloat("tiny", 0.0000004f) && ini.WriteFloat("res", 0.025f));
    ASSERT_TRUE(ini.WriteString("long", std::string(2000, 'x')) && ini.WriteString("two lines", "a\nb"));
    EXPECT_EQ(ini.ReadString("tiny", "") + "|" + ini.ReadString("res", "") + "|" +
                  ini.ReadString("two lines", ""),
              "0.000000|0.025000|a b");
    EXPECT_EQ(ini.ReadString("long", "").size(), 1023u);
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
    EXPECT_EQ(ReadFileBytes(dir / "m.ini"),
              "[ModuleInfo]\r\nbDisabled=1\r\n[UserInfo]\r\nszLocation=Feld 3\r\n");
}

size_t TempFilesBeside(const std::filesystem::path& file) {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        count += entry.path().filename().string().rfind(file.filename().string() + ".tmp", 0) == 0 ? 1 : 0;
    }
    return count;
}

TEST(IniSectionTest, FailedWriteKeepsThePreviousFile) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[S]\nx=1\n");
    EXPECT_TRUE(RunWithFileSizeLimit(16, [&] {
        CIniSection ini(dir / "a.ini", "S");
        return !ini.WriteString("x", std::string(100, 'y')) && ini.LastError() == EFBIG;
    })) << "the write fails with EFBIG";
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[S]\nx=1\n");
    EXPECT_EQ(TempFilesBeside(dir / "a.ini"), 0u) << "the failed write's temporary file is removed";
}

TEST(IniSectionTest, TemporaryFilesOfKilledWritersAreRemoved) {
    TempDir dir;
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    const std::string alive = std::to_string(::getppid());
    for (const std::string& name :
         std::vector<std::string>{"a.ini.tmp" + dead + ".0", "a.ini.tmp" + dead, "a.ini.tmp" + alive + ".3",
                                  "a.ini.tmpnotes", "b.ini.tmp" + dead + ".0"}) {
        WriteFileBytes(dir / name, "[S]\nhalf");
    }
    CIniSection ini(dir / "a.ini", "S");
    ASSERT_TRUE(ini.WriteInt("x", 1));
    EXPECT_FALSE(std::filesystem::exists(dir / ("a.ini.tmp" + dead + ".0")));
    EXPECT_FALSE(std::filesystem::exists(dir / ("a.ini.tmp" + dead)));
    EXPECT_TRUE(std::filesystem::exists(dir / ("a.ini.tmp" + alive + ".3"))) << "a save may be in progress";
    EXPECT_TRUE(std::filesystem::exists(dir / "a.ini.tmpnotes")) << "not a temporary file of ours";
    EXPECT_TRUE(std::filesystem::exists(dir / ("b.ini.tmp" + dead + ".0"))) << "another file's";
}

// Two programs (the desktop program and terrix-cli) and two threads save their sections of one file at
// once, single writes and grouped ones: nothing is lost.
TEST(IniSectionTest, WritesFromTwoProcessesAndTwoThreadsAreAllKept) {
    TempDir dir;
    constexpr int kKeys = 60;
    auto writer = [&](const char* section, bool grouped) {
        CIniSection ini(dir / "a.ini", section);
        bool ok = true;
        for (int i = 0; i < kKeys; ++i) {
            if (grouped) {
                ini.BeginUpdate();
                ini.WriteInt("n", i);
            }
            ok = ini.WriteInt("k" + std::to_string(i), i) && ok;
            ok = (!grouped || ini.EndUpdate()) && ok;
        }
        return ok;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::thread other([&] { writer("C", false); });
        const bool ok = writer("B", true);
        other.join();
        ::_exit(ok ? 0 : 1);
    }
    std::thread other([&] { EXPECT_TRUE(writer("D", false)); });
    EXPECT_TRUE(writer("A", true));
    other.join();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const char* section : {"A", "B", "C", "D"}) {
        CIniSection ini(dir / "a.ini", section);
        for (int i = 0; i < kKeys; ++i) {
            EXPECT_EQ(ini.ReadInt("k" + std::to_string(i), -1), i) << section;
        }
    }
    EXPECT_EQ(TempFilesBeside(dir / "a.ini"), 0u);

    // A replaced file keeps its permissions; a value that is there already is not written again.
    std::filesystem::permissions(dir / "a.ini", std::filesystem::perms(0640));
    CIniSection ini(dir / "a.ini", "A");
    ASSERT_TRUE(ini.WriteInt("k0", 7));
    struct stat before {};
    ASSERT_EQ(::stat((dir / "a.ini").c_str(), &before), 0);
    EXPECT_EQ(before.st_mode & 0777, 0640u);
    ASSERT_TRUE(ini.WriteInt("k0", 7));
    struct stat after {};
    ASSERT_EQ(::stat((dir / "a.ini").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "an unchanged value leaves the file alone";
}

} // namespace
} // namespace terrix::test

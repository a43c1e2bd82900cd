// Files written by the Windows build read back by the Linux build and the other way round: each build writes
// the same set into <TERRIX_EXCHANGE_DIR>/<its system>/ and, where the other build's set is there already,
// compares it byte for byte with its own and reads its values. scripts/test-windows.sh runs the Windows
// program, the Linux one, then the Windows one again.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/measure/asc_meas_data_file.h"
#include "core/measure/bin_meas_data_file.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/time_stamp.h"
#include "core/platform/ini_section.h"
#include "support/temp_dir.h"

namespace terrix {
namespace {

#ifdef _WIN32
constexpr const char* kThisSystem = "windows";
constexpr const char* kOtherSystem = "linux";
#else
constexpr const char* kThisSystem = "linux";
constexpr const char* kOtherSystem = "windows";
#endif

constexpr float kValues[][2] = {{1.5f, -273.15f}, {0.001f, 12345.678f}, {-0.0f, 3.0e38f}};

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A folder name beyond ASCII, so that the wide-character paths are part of the exchange.
std::filesystem::path SetIn(const std::filesystem::path& root, const char* system) {
    return root / system / std::filesystem::path(u8"Messdaten-Prüfung");
}

void WriteSet(const std::filesystem::path& dir) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    CBinMeasDataFile bin;
    CAscMeasDataFile asc;
    ASSERT_TRUE(bin.OpenFor(kMeasOpenReadWrite, 4711, "PX-TAVIK2", 3, 12, Utf8(dir))) << bin.LastError();
    ASSERT_TRUE(asc.OpenWithTitle(kMeasOpenReadWrite, 4711, "PX-TAVIK2", 3, 12, Utf8(dir), ""))
        << asc.LastError();
    unsigned second = 0;
    for (const auto& pair : kValues) {
        CMeasRecord record = MakeRecord(MeasLayout::kTwoValue);
        record.SetStamp(0, PackTimeStamp({5, 3, 2004, 14, 7, second++}));
        record.SetFloat(1, pair[0]);
        record.SetFloat(2, pair[1]);
        ASSERT_TRUE(bin.WriteRecord(record)) << bin.LastError();
        ASSERT_TRUE(asc.WriteRecord(record)) << asc.LastError();
    }
    CIniSection settings(dir / "Terrix.ini", "Serial ports");
    ASSERT_TRUE(settings.WriteString("COM1", "sim"));
    settings.SetSection("MeasCircDlg");
    ASSERT_TRUE(settings.WriteDWord("dwMeasTime", 250));
    ASSERT_TRUE(settings.WriteFloat("fOffset", -12.25f));
}

TEST(FileExchange, SetWrittenOnTheOtherSystemHasTheSameBytesAndValues) {
    const char* root = std::getenv("TERRIX_EXCHANGE_DIR");
    if (root == nullptr || *root == '\0') {
        GTEST_SKIP() << "runs in the Windows stage of scripts/test.sh (TERRIX_EXCHANGE_DIR unset)";
    }
    const std::filesystem::path mine = SetIn(root, kThisSystem);
    const std::filesystem::path theirs = SetIn(root, kOtherSystem);
    WriteSet(mine);
    if (!std::filesystem::is_directory(theirs)) {
        GTEST_SKIP() << "no set from " << kOtherSystem << " yet; this one is written for it";
    }
    for (const char* name : {"4711.BinMeasData", "4711.ASC", "Terrix.ini"}) {
        SCOPED_TRACE(name);
        const std::string own = test::ReadFileBytes(mine / name);
        EXPECT_FALSE(own.empty());
        EXPECT_EQ(test::ReadFileBytes(theirs / name), own);
    }
    CBinMeasDataFile bin;
    ASSERT_TRUE(bin.OpenFor(kMeasOpenReadOnly, 4711, "PX-TAVIK2", 3, 12, Utf8(theirs))) << bin.LastError();
    ASSERT_EQ(bin.GetRecordCount(), std::size(kValues));
    for (uint32_t i = 0; i < std::size(kValues); ++i) {
        CMeasRecord record = MakeRecord(MeasLayout::kTwoValue);
        ASSERT_TRUE(bin.ReadRecordAt(i, record));
        float a = 0, b = 0;
        ASSERT_TRUE(record.GetFloat(1, &a) && record.GetFloat(2, &b));
        EXPECT_EQ(std::pair(a, b), std::pair(kValues[i][0], kValues[i][1])) << i;
    }
    const CIniSection settings(theirs / "Terrix.ini", "MeasCircDlg");
    EXPECT_EQ(settings.ReadDWord("dwMeasTime", 0), 250u);
    EXPECT_EQ(settings.ReadFloat("fOffset", 0), -12.25f);
    EXPECT_EQ(CIniSection(theirs / "Terrix.ini", "Serial ports").ReadString("COM1", ""), "sim");
}

} // namespace
} // namespace terrix

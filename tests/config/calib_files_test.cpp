#include "core/config/c_number_scan.h"
#include "core/config/calib_file_reader.h"
#include "core/config/calib_files.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <tuple>

namespace terrix::test {
namespace {

// The number scanning the calibration and parameter files share.
TEST(CNumberScanTest, UnsignedIntegersAndRealsLikeScanfAndTheCLibrary) {
    // The text, whether it scans, the value.
    const std::tuple<const char*, bool, uint32_t> cases[] = {{"0 ", true, 0},
                                                             {" \t12x", true, 12},
                                                             {"+3", true, 3},
                                                             {"-1", true, 4294967295u},
                                                             {"99999999999", true, 4294967295u},
                                                             {"x1", false, 0},
                                                             {"", false, 0},
                                                             {"-", false, 0},
                                                             {"]", false, 0}};
    for (const auto& [text, ok, expected] : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ScanUnsigned(text, value), ok) << text;
        if (ok) {
            EXPECT_EQ(value, expected) << text;
        }
    }

    EXPECT_EQ(std::make_tuple(AtoiLike("  -42abc"), AtoiLike("abc"), AtoiLike("99999999999999999999999")),
              std::make_tuple(-42, 0, INT64_MAX));
    // Every expected value is exact in binary.
    EXPECT_EQ((std::vector<double>{AtofLike(" 1.5"), AtofLike("-2.5e-1;"), AtofLike("0x10"),
                                   AtofLike("1e999"), AtofLike(".5"), AtofLike("x")}),
              (std::vector<double>{1.5, -0.25, 16.0, HUGE_VAL, 0.5, 0.0}));
    double value = 7;
    EXPECT_FALSE(ScanReal("+-1", value));
    EXPECT_TRUE(ScanReal("nan", value));
    EXPECT_TRUE(std::isnan(value));
    EXPECT_DOUBLE_EQ(AtofLike(std::string("2.5\0009", 5)), 2.5); // a NUL ends the text
}

using Item = CCalibFileReader::Item;
using ReadError = CCalibFileReader::Error;

// The items of a text: "comment <line>" for a comment, "<key>|<value>" for an entry.
std::vector<std::string> Items(const std::string& text, ReadError& error) {
    CCalibFileReader reader = CCalibFileReader::FromText(text);
    std::vector<std::string> items;
    Item item;
    while (reader.NextItem(item)) {
        items.push_back(item.isComment ? "comment " + item.text : item.text + "|" + item.value);
    }
    error = reader.LastError();
    return items;
}

TEST(CalibFileReaderTest, CommentsEntriesEdgesAndFormatErrors) {
    using V = std::vector<std::string>;
    const std::tuple<const char*, V, ReadError> cases[] = {
        // Lines that start with a blank or control byte are skipped; the last value ends with the file.
        {"\n\n;Sand 0-30 %\r\nc0 = 1.5\r\n c1=2\r\n\tc2=3\r\nc3=4",
         V{"comment ;Sand 0-30 %", "c0 | 1.5", "c3|4"}, ReadError::None},
        {"abc\n[0]=5\r\n", V{"abc\n[0]|5"}, ReadError::None}, // a key without "=" joins the next line
        {"c0=1\nc1", V{"c0|1"}, ReadError::None},             // a key cut off by the end is dropped quietly
        {";only a comment", V{"comment ;only a comment"}, ReadError::None},
        {"c0=1\n=5\nc1=2\n", V{"c0|1"}, ReadError::Format}, // value without key
        {"c0=\nc1=2\n", V{}, ReadError::Format},            // key without value
        {"c0=\r\n", V{}, ReadError::Format},
        {"", V{}, ReadError::None},
        {" \n\t\n", V{}, ReadError::None},
    };
    for (const auto& [text, items, expected] : cases) {
        ReadError error{};
        EXPECT_EQ(Items(text, error), items) << text;
        EXPECT_EQ(error, expected) << text;
    }
}

TEST(CalibFileReaderTest, LongTextsAreCut) {
    ReadError error{};
    const auto items = Items(";" + std::string(1000, 'x') + "\n" + std::string(600, 'k') + "=" +
                                 std::string(700, '7') + "\n",
                             error);
    const size_t max = CCalibFileReader::kMaxText;
    EXPECT_EQ(items, (std::vector<std::string>{"comment ;" + std::string(max - 1, 'x'),
                                               std::string(max, 'k') + "|" + std::string(max, '7')}));
}

class CalibFilesTest : public ::testing::Test {
protected:
    void Write(const std::string& name, const std::string& text) { WriteFileBytes(dir / name, text); }
    TempDir dir;
};

TEST_F(CalibFilesTest, CalFileKeysCommentAndFileName) {
    EXPECT_EQ(CalibFileName(120, "TDC"), "XV00120.TDC");
    EXPECT_EQ(CalibFileName(65535, "CAL"), "XV65535.CAL");
    const char* sand =
        ";Material sand\r\nCRHO=1.25\r\nc0 = 1.5\r\n c1=2\r\nc2=3e-2\r\nC3=-4\r\nc6=1\r\ncx=1\r\n"
        "c5=7.5abc\r\n";
    const std::tuple<const char*, uint16_t, const char*, const char*, double, CalibCoeffs> cases[] = {
        {"XV00012.CAL", 12, sand, ";Material sand", 1.25, {1.5, 0, 0.03, -4, 0, 7.5}},
        // Without a comment first, the first entry's key stands for it.
        {"XV00013.CAL", 13, "c0=1\n;later\n", "c0", 0, {1, 0, 0, 0, 0, 0}},
        {"xv00014.cal", 14, "c1=2\n", "c1", 0, {0, 2, 0, 0, 0, 0}}, // a name in other letter case is found
    };
    for (const auto& [file, id, text, comment, cRho, coeffs] : cases) {
        Write(file, text);
        MatCalib calib;
        calib.adCoeff[1] = 99; // zeroed by the read
        ASSERT_TRUE(ReadCalFile(dir.path(), id, calib)) << file;
        EXPECT_EQ(
            std::make_tuple(calib.wCalibId, CalibTextOf(calib.szCalibComment), calib.dCRho, calib.adCoeff),
            std::make_tuple(id, std::string(comment), cRho, coeffs))
            << file;
    }
}

TEST_F(CalibFilesTest, MissingOrBrokenCalibrationFiles) {
    MatCalib mat;
    CalibFileError error;
    EXPECT_FALSE(ReadCalFile(dir.path(), 5, mat, &error));
    // The reader's errno is passed on.
    EXPECT_EQ(std::tie(mat.wCalibId, error.kind, error.systemError),
              std::make_tuple(5, CalibFileError::Kind::CannotOpen, ENOENT));
    EXPECT_NE(error.Message().find("XV00005.CAL"), std::string::npos);

    TempCalib temp;
    temp.bValid = 1;
    EXPECT_TRUE(ReadTdcFile(dir.path(), 5, temp)); // no TDC file: no temperature calibration
    EXPECT_EQ(std::tie(temp.bValid, temp.wCalibId), std::make_tuple(0u, 5));

    Write("XV00006.TDC", ";t\nt0=1\nt1=\n");
    EXPECT_FALSE(ReadTdcFile(dir.path(), 6, temp));
    EXPECT_EQ(temp.bValid, 0u);

    Write("XV00007.TDC", "T2=0.5\nc3=9\n");
    EXPECT_TRUE(ReadTdcFile(dir.path(), 7, temp));
    EXPECT_EQ(std::tie(temp.bValid, temp.adCoeff[2], temp.adCoeff[3]), std::make_tuple(1u, 0.5, 0.0));
}

// The seventeenth bracketed entry is the first temperature calibration; entries with an invalid index count
// toward the sixteen.
TEST_F(CalibFilesTest, SeventeenthBracketedEntryIsATemperatureCalibration) {
    std::string loc = ";Field A, all positions\r\n";
    for (unsigned i = 0; i < 16; ++i) {
        loc += "[" + std::to_string(i) + "]=" + std::to_string(100 + i) + "\r\n";
        Write(CalibFileName(static_cast<uint16_t>(100 + i), "CAL"),
              ";cal " + std::to_string(100 + i) + "\r\nc0=" + std::to_string(i) + "\r\n");
    }
    Write("XV00120.TDC", ";temp 120\r\nt0=-3.5\r\n");
    Write("FIELD.LOC", loc + "[0]=120\r\n");
    CalibSet set;
    ASSERT_TRUE(ReadLocFile(dir / "FIELD.LOC", set));
    EXPECT_EQ(CalibTextOf(set.szDescription), ";Field A, all positions");
    EXPECT_EQ(std::tie(set.aMatCalib[15].wCalibId, set.aMatCalib[15].adCoeff[0]), std::make_tuple(115, 15.0));
    EXPECT_EQ(CalibTextOf(set.aMatCalib[3].szCalibComment), ";cal 103");
    EXPECT_EQ(std::tie(set.bHasTempCalib, set.aTempCalib[0].wCalibId, set.aTempCalib[0].bValid,
                       set.aTempCalib[0].adCoeff[0], set.aTempCalib[1].bValid),
              std::make_tuple(1, 120, 1, -3.5, 0));

    loc.clear();
    for (unsigned i = 0; i < 15; ++i) {
        loc += "[" + std::to_string(i) + "]=0\n";
    }
    Write("XV00000.CAL", "c0=1\n");
    // Entries 16 and 17 are not usable, a key without brackets does not count, entry 18 is a temperature
    // entry.
    loc += "[16]=1\n[x]=2\nc0=7\n[3]=31\n";
    Write("XV00031.TDC", "t0=1\n");
    Write("A.LOC", loc);
    set = {};
    ASSERT_TRUE(ReadLocFile(dir / "A.LOC", set));
    EXPECT_EQ(std::tie(set.aMatCalib[3].wCalibId, set.aTempCalib[3].wCalibId, set.aTempCalib[3].bValid),
              std::make_tuple(0, 31, 1));
}

TEST_F(CalibFilesTest, LocFileFailures) {
    CalibSet set;
    CalibFileError error;
    EXPECT_FALSE(ReadLocFile(dir / "missing.LOC", set, &error));
    EXPECT_EQ(error.kind, CalibFileError::Kind::CannotOpen);

    // A CAL file the LOC file names but that is missing: the IDs are there, the read still fails, so no
    // zero coefficients get programmed.
    Write("C.LOC", "[0]=1\n[1]=2\n");
    Write("XV00001.CAL", "c0=1\n");
    error = {};
    EXPECT_FALSE(ReadLocFile(dir / "C.LOC", set, &error));
    EXPECT_EQ(std::tie(set.aMatCalib[0].wCalibId, set.aMatCalib[1].wCalibId), std::make_tuple(1, 2));
    EXPECT_EQ(error.file.filename(), "XV00002.CAL");

    // An ID beyond 16 bits would wrap to another calibration.
    Write("D.LOC", "[0]=70001\n");
    error = {};
    EXPECT_FALSE(ReadLocFile(dir / "D.LOC", set, &error));
    EXPECT_EQ(error.kind, CalibFileError::Kind::BadId);

    Write("E.LOC", "[0]=1\n=3\n");
    error = {};
    EXPECT_FALSE(ReadLocFile(dir / "E.LOC", set, &error));
    EXPECT_EQ(error.kind, CalibFileError::Kind::Format);
    EXPECT_EQ(set.aMatCalib[0].wCalibId, 1); // what was read before the error stays
}

TEST_F(CalibFilesTest, FilesForTheModulesOwnCalibrations) {
    CalibSet module{};
    for (unsigned i = 0; i < 16; ++i) {
        module.aMatCalib[i].wCalibId = static_cast<uint16_t>(300 + i);
        Write(CalibFileName(static_cast<uint16_t>(300 + i), "CAL"),
              "c0=" + std::to_string(i) + "\n;comment " + std::to_string(i) + "\n");
    }
    module.aTempCalib[2] = {1, {}, 402, {}};
    Write("XV00402.TDC", ";* temperature 402\nt1=0.25\n");
    SetCalibText(module.aMatCalib[1].szCalibComment, "kept");

    CalibSet files{};
    ASSERT_TRUE(ReadCalibFilesForModule(module, files, dir.path()));
    EXPECT_EQ(CalibTextOf(module.aMatCalib[0].szCalibComment) + "|" +
                  CalibTextOf(module.aMatCalib[1].szCalibComment) + "|" +
                  CalibTextOf(module.aTempCalib[2].szCalibComment),
              ";comment 0|kept|;* temperature 402");
    EXPECT_EQ(std::tie(files.aMatCalib[9].wCalibId, files.aMatCalib[9].adCoeff[0]),
              std::make_tuple(309, 9.0));
    // The TDC files could be read, so programming keeps these temperature calibrations.
    EXPECT_EQ(std::tie(files.bHasTempCalib, files.aTempCalib[2].bValid, files.aTempCalib[2].adCoeff[1],
                       files.aTempCalib[3].bValid),
              std::make_tuple(1, 1, 0.25, 0));

    std::filesystem::remove(dir / CalibFileName(305, "CAL"));
    EXPECT_FALSE(ReadCalibComments(module, dir.path()));
    EXPECT_FALSE(ReadCalibFilesForModule(module, files, dir.path()));
}

} // namespace
} // namespace terrix::test

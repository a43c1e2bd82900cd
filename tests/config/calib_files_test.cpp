#include "core/config/calib_file_reader.h"
#include "core/config/calib_files.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace terrix::test {
namespace {

using Item = CCalibFileReader::Item;

std::vector<Item> Items(const std::string& text, CCalibFileReader::Error* error = nullptr) {
    CCalibFileReader reader = CCalibFileReader::FromText(text);
    std::vector<Item> items;
    Item item;
    while (reader.NextItem(item)) {
        items.push_back(item);
    }
    if (error != nullptr) {
        *error = reader.LastError();
    }
    return items;
}

TEST(CalibFileReaderTest, LinesBecomeCommentsAndEntries) {
    CCalibFileReader::Error error{};
    const auto items = Items("\n\n;Sand 0-30 %\r\nc0 = 1.5\r\n c1=2\r\n\tc2=3\r\nc3=4", &error);
    EXPECT_EQ(error, CCalibFileReader::Error::None);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].isComment);
    EXPECT_EQ(items[0].text, ";Sand 0-30 %");
    EXPECT_FALSE(items[1].isComment);
    EXPECT_EQ(items[1].text, "c0 ");
    EXPECT_EQ(items[1].value, " 1.5");
    EXPECT_EQ(items[2].text, "c3"); // a value ended by the end of the file
    EXPECT_EQ(items[2].value, "4");
}

TEST(CalibFileReaderTest, AKeyWithoutEqualsJoinsTheNextLine) {
    const auto items = Items("abc\n[0]=5\r\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "abc\n[0]");
    EXPECT_EQ(items[0].value, "5");
}

TEST(CalibFileReaderTest, EdgesAtTheEndAndFormatErrors) {
    struct Case {
        const char* text;
        size_t items;
        CCalibFileReader::Error error;
    };
    const Case cases[] = {
        {"c0=1\nc1", 1, CCalibFileReader::Error::None}, // a key cut off by the end is dropped quietly
        {";only a comment", 1, CCalibFileReader::Error::None},
        {"c0=1\n=5\nc1=2\n", 1, CCalibFileReader::Error::Format}, // value without key
        {"c0=\nc1=2\n", 0, CCalibFileReader::Error::Format},      // key without value
        {"c0=\r\n", 0, CCalibFileReader::Error::Format},
        {"", 0, CCalibFileReader::Error::None},
        {" \n\t\n", 0, CCalibFileReader::Error::None},
    };
    for (const Case& c : cases) {
        CCalibFileReader::Error error{};
        EXPECT_EQ(Items(c.text, &error).size(), c.items) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(CalibFileReaderTest, LongTextsAreCutAndJunkEndsCleanly) {
    const auto items = Items(";" + std::string(1000, 'x') + "\n" + std::string(600, 'k') + "=" +
                             std::string(700, '7') + "\n");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text.size(), CCalibFileReader::kMaxText);
    EXPECT_EQ(items[1].text.size(), CCalibFileReader::kMaxText);
    EXPECT_EQ(items[1].value.size(), CCalibFileReader::kMaxText);

    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        std::string junk(static_cast<size_t>(random() % 3000), '\0');
        for (char& c : junk) {
            c = static_cast<char>(random());
        }
        CCalibFileReader reader = CCalibFileReader::FromText(junk);
        Item item;
        size_t count = 0;
        while (reader.NextItem(item)) {
            ASSERT_LE(item.text.size(), CCalibFileReader::kMaxText);
            ASSERT_LE(item.value.size(), CCalibFileReader::kMaxText);
            ++count;
        }
        EXPECT_LE(count, junk.size());
        EXPECT_FALSE(reader.NextItem(item)); // stays at its end
    }
}

TEST(CalibFileReaderTest, MissingFileIsASystemError) {
    TempDir dir;
    CCalibFileReader reader(dir / "none.LOC");
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.LastError(), CCalibFileReader::Error::System);
    EXPECT_NE(reader.SystemError(), 0);
    Item item;
    EXPECT_FALSE(reader.NextItem(item));
}

class CalibFilesTest : public ::testing::Test {
protected:
    void Write(const std::string& name, const std::string& text) { WriteFileBytes(dir / name, text); }
    // A LOC file with material IDs base+0 .. base+15 for positions 0..15, CAL files for each.
    std::string MaterialLoc(uint16_t base) {
        std::string loc = ";Field A, all positions\r\n";
        for (unsigned i = 0; i < 16; ++i) {
            loc += "[" + std::to_string(i) + "]=" + std::to_string(base + i) + "\r\n";
            Write(CalibFileName(static_cast<uint16_t>(base + i), "CAL"),
                  ";cal " + std::to_string(base + i) + "\r\nc0=" + std::to_string(i) + "\r\n");
        }
        return loc;
    }
    TempDir dir;
};

TEST_F(CalibFilesTest, FileNamesHaveFiveDigits) {
    EXPECT_EQ(CalibFileName(120, "TDC"), "XV00120.TDC");
    EXPECT_EQ(CalibFileName(65535, "CAL"), "XV65535.CAL");
}

TEST_F(CalibFilesTest, CalFileKeysAndComment) {
    Write("XV00012.CAL",
          ";Material sand\r\nCRHO=1.25\r\nc0 = 1.5\r\n c1=2\r\nc2=3e-2\r\nC3=-4\r\nc6=1\r\ncx=1\r\n"
          "c5=7.5abc\r\n");
    MatCalib calib;
    calib.adCoeff[1] = 99; // zeroed by the read
    ASSERT_TRUE(ReadCalFile(dir.path(), 12, calib));
    EXPECT_EQ(calib.wCalibId, 12);
    EXPECT_EQ(CalibTextOf(calib.szCalibComment), ";Material sand");
    EXPECT_DOUBLE_EQ(calib.dCRho, 1.25);
    const CalibCoeffs expected = {1.5, 0, 0.03, -4, 0, 7.5};
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(calib.adCoeff[k], expected[k]) << "c" << k;
    }
}

TEST_F(CalibFilesTest, FirstEntryKeyIsTheCommentWhenNoCommentComesFirst) {
    Write("XV00013.CAL", "c0=1\n;later\n");
    MatCalib calib;
    ASSERT_TRUE(ReadCalFile(dir.path(), 13, calib));
    EXPECT_EQ(CalibTextOf(calib.szCalibComment), "c0");
}

TEST_F(CalibFilesTest, MissingOrBrokenCalibrationFiles) {
    MatCalib mat;
    CalibFileError error;
    EXPECT_FALSE(ReadCalFile(dir.path(), 5, mat, &error));
    EXPECT_EQ(mat.wCalibId, 5);
    EXPECT_EQ(error.kind, CalibFileError::Kind::CannotOpen);
    EXPECT_NE(error.Message().find("XV00005.CAL"), std::string::npos);

    TempCalib temp;
    temp.bValid = 1;
    EXPECT_TRUE(ReadTdcFile(dir.path(), 5, temp)); // no TDC file: no temperature calibration
    EXPECT_EQ(temp.bValid, 0u);
    EXPECT_EQ(temp.wCalibId, 5);

    Write("XV00006.TDC", ";t\nt0=1\nt1=\n");
    EXPECT_FALSE(ReadTdcFile(dir.path(), 6, temp));
    EXPECT_EQ(temp.bValid, 0u);

    Write("XV00007.TDC", "T2=0.5\nc3=9\n");
    EXPECT_TRUE(ReadTdcFile(dir.path(), 7, temp));
    EXPECT_EQ(temp.bValid, 1u);
    EXPECT_DOUBLE_EQ(temp.adCoeff[2], 0.5);
    EXPECT_DOUBLE_EQ(temp.adCoeff[3], 0);
}

TEST_F(CalibFilesTest, FileNamesDifferingInCaseAreFound) {
    Write("xv00014.cal", "c1=2\n");
    MatCalib calib;
    ASSERT_TRUE(ReadCalFile(dir.path(), 14, calib));
    EXPECT_DOUBLE_EQ(calib.adCoeff[1], 2);
}

TEST_F(CalibFilesTest, SeventeenthBracketedEntryIsATemperatureCalibration) {
    std::string loc = MaterialLoc(100);
    loc += "[0]=120\r\n";
    Write("XV00120.TDC", ";temp 120\r\nt0=-3.5\r\n");
    Write("FIELD.LOC", loc);
    CalibSet set;
    ASSERT_TRUE(ReadLocFile(dir / "FIELD.LOC", set));
    EXPECT_EQ(CalibTextOf(set.szDescription), ";Field A, all positions");
    EXPECT_EQ(set.aMatCalib[0].wCalibId, 100);
    EXPECT_EQ(set.aMatCalib[15].wCalibId, 115);
    EXPECT_DOUBLE_EQ(set.aMatCalib[15].adCoeff[0], 15);
    EXPECT_EQ(CalibTextOf(set.aMatCalib[3].szCalibComment), ";cal 103");
    EXPECT_EQ(set.bHasTempCalib, 1u);
    EXPECT_EQ(set.aTempCalib[0].wCalibId, 120);
    EXPECT_EQ(set.aTempCalib[0].bValid, 1u);
    EXPECT_DOUBLE_EQ(set.aTempCalib[0].adCoeff[0], -3.5);
    EXPECT_EQ(set.aTempCalib[1].bValid, 0u);
}

TEST_F(CalibFilesTest, InvalidIndexesCountTowardTheSixteen) {
    std::string loc;
    for (unsigned i = 0; i < 15; ++i) {
        loc += "[" + std::to_string(i) + "]=0\n";
    }
    Write("XV00000.CAL", "c0=1\n");
    loc += "[16]=1\n[x]=2\n[3]=31\n"; // entries 16 and 17 are not usable; entry 18 is a temperature entry
    Write("XV00031.TDC", "t0=1\n");
    Write("A.LOC", loc);
    CalibSet set;
    ASSERT_TRUE(ReadLocFile(dir / "A.LOC", set));
    EXPECT_EQ(set.aMatCalib[3].wCalibId, 0);
    EXPECT_EQ(set.aTempCalib[3].wCalibId, 31);
    EXPECT_EQ(set.aTempCalib[3].bValid, 1u);
}

TEST_F(CalibFilesTest, LineWithoutEqualsSwallowsTheNextEntry) {
    Write("XV00005.CAL", "c0=1\n");
    Write("B.LOC", "abc\n[0]=5\n");
    CalibSet set;
    ASSERT_TRUE(ReadLocFile(dir / "B.LOC", set));
    EXPECT_EQ(set.aMatCalib[0].wCalibId, 0);
    EXPECT_EQ(CalibTextOf(set.szDescription), "abc\n[0]");
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
    EXPECT_EQ(set.aMatCalib[0].wCalibId, 1);
    EXPECT_EQ(set.aMatCalib[1].wCalibId, 2);
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
    EXPECT_EQ(CalibTextOf(module.aMatCalib[0].szCalibComment), ";comment 0");
    EXPECT_EQ(CalibTextOf(module.aMatCalib[1].szCalibComment), "kept");
    EXPECT_EQ(CalibTextOf(module.aTempCalib[2].szCalibComment), ";* temperature 402");
    EXPECT_EQ(files.aMatCalib[9].wCalibId, 309);
    EXPECT_DOUBLE_EQ(files.aMatCalib[9].adCoeff[0], 9);
    EXPECT_EQ(files.aTempCalib[2].bValid, 1u);
    EXPECT_DOUBLE_EQ(files.aTempCalib[2].adCoeff[1], 0.25);
    EXPECT_EQ(files.aTempCalib[3].bValid, 0u);
    // The TDC files could be read, so programming keeps these temperature calibrations.
    EXPECT_EQ(files.bHasTempCalib, 1u);

    std::filesystem::remove(dir / CalibFileName(305, "CAL"));
    EXPECT_FALSE(ReadCalibComments(module, dir.path()));
    EXPECT_FALSE(ReadCalibFilesForModule(module, files, dir.path()));
}

} // namespace
} // namespace terrix::test

// The binary measurement file: its header byte for byte, record counting, extremes, and files it must
// refuse and leave alone.

#include <gtest/gtest.h>

#include <tuple>

#include "core/measure/bin_meas_data_file.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/time_stamp.h"
#include "measure_test_util.h"

namespace terrix {
namespace {

// The header of serial 4711, "PX-TAVIK2", channel mask 3, no values yet, written out by hand.
constexpr char kHeader4711Bytes[] =
    "ORVAmdfh1.01\x38\0\0\0\x67\x12PX-TAVIK2\0\0\0\0\0\0\0\0\0" // magic, version, size, serial, name, padding
    "\x03\0\0\0\xFF\xFF\x7F\x7F\xFF\xFF\x7F\x7F"                // mask, minima: the largest float
    "\0\0\x80\0\0\0\x80\0";                                     // maxima: the smallest normal float
static_assert(sizeof(kHeader4711Bytes) == 56 + 1);
const std::string kHeader4711(kHeader4711Bytes, 56);

bool WriteTwoValues(CBinMeasDataFile& file, float a, float b) {
    CMeasRecord r = MakeRecord(MeasLayout::kTwoValue);
    r.SetStamp(0, PackTimeStamp({5, 3, 2004, 14, 7, 9}));
    r.SetFloat(1, a);
    r.SetFloat(2, b);
    return file.WriteRecord(r);
}

class BinFile : public ::testing::Test {
protected:
    std::string Path() const { return (dir_ / "4711.BinMeasData").string(); }
    // Serial 4711, "PX-TAVIK2", two-value records unless told otherwise.
    bool Open(CBinMeasDataFile& f, uint32_t mode, uint32_t mask = 3, uint16_t size = 12) {
        return f.OpenFor(mode, 4711, "PX-TAVIK2", mask, size, dir_.path().string());
    }
    bool OpenWriter(CBinMeasDataFile& f, uint32_t mask = 3, uint16_t size = 12) {
        return Open(f, kMeasOpenReadWrite, mask, size);
    }
    test::TempDir dir_;
};

TEST_F(BinFile, NewFileGetsTheHeaderByteForByteInTheDirectoryGiven) {
    CBinMeasDataFile file;
    ASSERT_TRUE(OpenWriter(file)) << file.LastError();
    EXPECT_EQ(std::tuple(file.Path(), test::ReadFileBytes(Path()), file.GetRecordCount()),
              std::tuple(Path(), kHeader4711, 0u));

    // A name of 16 characters or more is cut to 15, so the terminator stays.
    CBinMeasDataFile longName;
    ASSERT_TRUE(longName.OpenFor(kMeasOpenReadWrite, 1, "ABCDEFGHIJKLMNOPQRS", 3, 12, dir_.path().string()));
    EXPECT_EQ(test::ReadFileBytes((dir_ / "1.BinMeasData").string()).substr(18, 16),
              std::string("ABCDEFGHIJKLMNO") + '\0');

    // The file name joins the directory with or without its separator.
    // (compared as paths: Windows joins with its own separator)
    for (const char* dir : {"/data", "/data/"}) {
        EXPECT_EQ(std::filesystem::path(CMeasDataFile::BuildFileName(dir, 12345, ".BinMeasData")),
                  std::filesystem::path("/data/12345.BinMeasData"));
    }
    EXPECT_EQ(CMeasDataFile::BuildFileName("", 12345, ".ASC"), "12345.ASC");
}

// Both-channel, mask-0, XV and below-zero extremes are checked on the files terrix-cli measures (e2e).
TEST_F(BinFile, ExtremesSkipErrorMarkersAndReachAReader) {
    CBinMeasDataFile file;
    ASSERT_TRUE(OpenWriter(file, 1, 8));
    CBinMeasDataFile reader;
    ASSERT_TRUE(Open(reader, kMeasOpenReadOnly, 1, 8));
    CMeasRecord r = MakeRecord(MeasLayout::kOneValue);
    r.SetErrorMarker(1, 2);
    ASSERT_TRUE(file.WriteRecord(r));
    for (const float value : {3.5f, 1.25f}) {
        r.SetFloat(1, value);
        ASSERT_TRUE(file.WriteRecord(r));
    }
    const std::string bytes = test::ReadFileBytes(Path());
    EXPECT_EQ(bytes.substr(40, 16),
              std::string("\x00\x00\xA0\x3F\xFF\xFF\x7F\x7F\x00\x00\x60\x40\x00\x00\x80\x00", 16))
        << "minimum 1.25 and maximum 3.5 of channel 0; channel 1 untouched";
    const std::pair<unsigned, Extremes> channels[] = {{0, {1.25f, 3.5f}}, {1, {0, 0}}, {2, {0, 1}}};
    for (const auto& [channel, extremes] : channels) {
        EXPECT_EQ(reader.GetExtremes(channel).minimum, extremes.minimum) << channel;
        EXPECT_EQ(reader.GetExtremes(channel).maximum, extremes.maximum) << channel;
    }
}

TEST_F(BinFile, FilesThatAreNotOursOrOfAnotherLayoutAreNeverWritten) {
    // What is wrong, the byte of the valid file changed and its new value, the bytes kept, the error.
    const std::tuple<const char*, size_t, char, size_t, int, HeaderStatus> cases[] = {
        {"wrong magic", 0, 'X', 80, kMeasErrWrongMagic, HeaderStatus::kWrongMagic},
        {"wrong version", 11, '2', 80, kMeasErrWrongVersion, HeaderStatus::kWrongVersion},
        {"shorter than a header", 0, 'O', 20, kMeasErrShorterThanHeader, HeaderStatus::kNone},
        // Channel mask 1: one-value records, not appended to with two-value records.
        {"other layout", 36, 1, 56, kMeasErrLayoutMismatch, HeaderStatus::kNone},
    };
    for (const auto& [what, offset, byte, size, error, status] : cases) {
        std::string bytes = kHeader4711 + std::string(24, '\x11');
        bytes[offset] = byte;
        bytes.resize(size);
        test::WriteFileBytes(Path(), bytes);

        CBinMeasDataFile file;
        const bool opened = OpenWriter(file);
        EXPECT_EQ(std::make_tuple(opened, file.LastError(), file.GetHeaderStatus(), file.IsOpen()),
                  std::make_tuple(false, error, status, false))
            << what;
        EXPECT_FALSE(WriteTwoValues(file, 1, 2)) << what;
        EXPECT_EQ(file.LastError(), kMeasErrNotOpen) << what;
        EXPECT_EQ(test::ReadFileBytes(Path()), bytes) << what << ": the file is unchanged";
    }
}

TEST_F(BinFile, AReaderWaitsForItsWritersHeader) {
    CBinMeasDataFile reader;
    ASSERT_TRUE(Open(reader, kMeasOpenReadOnly));
    EXPECT_EQ(reader.GetRecordCount(), 0u);
    EXPECT_EQ(test::ReadFileBytes(Path()), "") << "a reader writes nothing";

    CBinMeasDataFile writer;
    ASSERT_TRUE(OpenWriter(writer));
    ASSERT_TRUE(WriteTwoValues(writer, 1, 2));
    EXPECT_EQ(reader.GetRecordCount(), 1u);
    EXPECT_FALSE(WriteTwoValues(reader, 0, 0));
    EXPECT_EQ(reader.LastError(), kMeasErrReadOnly);
}

} // namespace
} // namespace terrix

// The value store: the two files of a module as measuring appends to them, erasing, rebuilding the ASCII
// file, and what a full disk or a foreign file does.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

#include "core/measure/c_locale_format.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"
#include "core/platform/data_paths.h"
#include "measure_test_util.h"

namespace terrix {
namespace {

const uint32_t kStamp = PackTimeStamp({5, 3, 2004, 14, 7, 9});

// Fills the append record as the measuring step does: the stamp, then `value` in every float field.
bool AppendValue(CMeasValueStore& store, float value) {
    CMeasRecord& r = store.AppendRecord();
    r.SetStamp(0, kStamp);
    for (size_t i = 1; i < r.FieldCount(); ++i) {
        r.SetFloat(i, value);
    }
    return store.Append();
}

// The first value of record `index` as the store reads it, "-" when it cannot be read.
std::string ValueText(CMeasValueStore& store, uint32_t index) {
    return store.ReadRecord(index) ? store.ReadRecordData().Format(1) : "-";
}

size_t CountLines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class ValueStore : public ::testing::Test {
protected:
    // Binds the store to an ordinary probe with its files in the test's directory.
    bool Bind(CMeasValueStore& store, uint16_t serial, uint32_t mask, const char* name = "PX-TAVIK2") {
        store.SetDirectory(dir_.path().string());
        return store.Bind(test::MakeModule(serial, name, mask));
    }
    void Open(CMeasValueStore& store, uint16_t serial, uint32_t mask) {
        ASSERT_TRUE(Bind(store, serial, mask));
        ASSERT_TRUE(store.OpenReader()) << store.LastErrorText();
        ASSERT_TRUE(store.OpenWriter()) << store.LastErrorText();
    }
    std::string Bin(uint16_t serial) const {
        return (dir_ / (std::to_string(serial) + ".BinMeasData")).string();
    }
    std::string Asc(uint16_t serial) const { return (dir_ / (std::to_string(serial) + ".ASC")).string(); }
    test::TempDir dir_;
};

// The two-channel, XV and multiplexer titles are checked on the files terrix-cli measures (e2e).
TEST_F(ValueStore, TitleLinesOfOneChannelModules) {
    // The title rule ignores letter case while the layout rule does not: titles of the one-value record.
    const std::tuple<uint16_t, uint32_t, const char*, const char*> cases[] = {
        {77, 2, "PX-TAVIK2", "Date/Time\t77_2\n"},
        {76, 1, "PX-TAVIK2", "Date/Time\t76_1\n"},
        {78, 1, "px-tavik2xv", "Date/Time\tValue\r\n"},
    };
    for (const auto& [serial, mask, name, title] : cases) {
        CMeasValueStore store;
        ASSERT_TRUE(Bind(store, serial, mask, name));
        ASSERT_TRUE(AppendValue(store, 2.0f));
        EXPECT_EQ(test::ReadFileBytes(Asc(serial)), std::string(title) + "05.03.2004 14:07:09\t2.000\r\n");
    }
}

TEST_F(ValueStore, ReadRecordFollowsAppendsAndEraseThenAppendStartsAnew) {
    CMeasValueStore store;
    Open(store, 4711, 1);
    ASSERT_TRUE(AppendValue(store, 1.0f));
    ASSERT_TRUE(AppendValue(store, 2.0f));
    EXPECT_EQ(ValueText(store, 1), "2.000");
    // Past the end: false, and the record and its index stay as they were.
    EXPECT_FALSE(store.ReadRecord(2));
    EXPECT_EQ(store.LastError(), kMeasErrNoRecord);
    EXPECT_EQ(store.ReadRecordData().Format(1), "2.000");
    ASSERT_TRUE(store.ReadRecord(1));
    // A record appended after the last read block is read from the file.
    ASSERT_TRUE(AppendValue(store, 3.0f));
    EXPECT_EQ(ValueText(store, 2), "3.000");

    // Both files going is checked by CliMeasureTest's erase (e2e).
    ASSERT_TRUE(store.Erase());
    EXPECT_EQ(store.RecordCount(), 0u);
    EXPECT_FALSE(store.ReadRecord(2)) << "the cached record went with the file";

    ASSERT_TRUE(AppendValue(store, 9.0f));
    EXPECT_EQ(std::tuple(test::ReadFileBytes(Bin(4711)).size(), store.RecordCount()),
              std::tuple(56u + 8u, 1u));
    EXPECT_EQ(test::ReadFileBytes(Asc(4711)), "Date/Time\t4711_1\n05.03.2004 14:07:09\t9.000\r\n");
    EXPECT_EQ(store.GetExtremes(0).minimum, 9.0f) << "the new header starts its extremes afresh";
    EXPECT_EQ(ValueText(store, 0), "9.000") << "nothing of the old file is answered from memory";
    EXPECT_TRUE(store.Erase());
    EXPECT_TRUE(store.Erase()) << "nothing left to delete is no failure";
}

TEST_F(ValueStore, RecreatedAsciiFilesAreIdenticalAndAppendsFollow) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows refuses the test's own writes to a file the store holds open for writing";
#endif
    CMeasValueStore store;
    Open(store, 4711, 3);
    const std::string title = test::ReadFileBytes(Asc(4711));
    test::WriteFileBytes(Asc(4711), "user notes");
    EXPECT_TRUE(store.RecreateAscii());
    EXPECT_EQ(test::ReadFileBytes(Asc(4711)), "user notes") << "without records the file is left alone";
    test::WriteFileBytes(Asc(4711), title);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(AppendValue(store, static_cast<float>(i) * 0.5f));
    }
    const std::string measured = test::ReadFileBytes(Asc(4711));
    test::WriteFileBytes(Asc(4711), "damaged");

    ASSERT_TRUE(store.RecreateAscii()) << store.LastErrorText();
    EXPECT_EQ(test::ReadFileBytes(Asc(4711)), measured);
    EXPECT_FALSE(std::filesystem::exists(Asc(4711) + ".tmp"));

    ASSERT_TRUE(AppendValue(store, 7.0f));
    EXPECT_EQ(test::ReadFileBytes(Asc(4711)), measured + "05.03.2004 14:07:09\t7.000\t7.000\r\n")
        << "line 1001 follows the rebuilt lines";
}

TEST_F(ValueStore, RecordsWithoutKnownSerialOpenNoFiles) {
    SetDataDir(dir_.path());
    ModuleRecord collision = test::MakeModule(kNoSerial, "COLLISION", 0);
    collision.enModuleState = msCollision;
    ModuleRecord busy = test::MakeModule(kNoSerial, "", 0);
    ModuleRecord failed = test::MakeModule(0, "", 0); // station information never read
    failed.enModuleState = msFailed;
    for (const ModuleRecord& module : {collision, busy, failed}) {
        CMeasValueStore store;
        EXPECT_EQ((std::vector<bool>{store.Attach(module), store.IsBound(), store.Append()}),
                  std::vector<bool>(3, false));
    }
    // Listed from the saved bus without its module file: its layout is not known until it answers.
    ModuleRecord saved = test::MakeModule(40218, "", 0);
    saved.enModuleState = msNotIdentified;
    CMeasValueStore listed;
    EXPECT_EQ((std::vector<bool>{listed.Attach(saved), listed.IsBound()}), (std::vector<bool>{false, true}));
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));

    CMeasValueStore attached;
    ASSERT_TRUE(attached.Attach(test::MakeModule(31, "PX-TAVIK2", 2)));
    EXPECT_EQ(test::ReadFileBytes(Bin(31)).size(), 56u);
    EXPECT_EQ(test::ReadFileBytes(Asc(31)), "Date/Time\t31_2\n");
}

TEST_F(ValueStore, ReadRecordInEveryDirection) {
    CMeasValueStore store;
    Open(store, 9, 1);
    const uint32_t count = 5000; // several read-ahead blocks
    for (uint32_t i = 0; i < count; ++i) {
        ASSERT_TRUE(AppendValue(store, static_cast<float>(i)));
    }
    for (uint32_t i = count; i-- > 0;) {
        ASSERT_EQ(ValueText(store, i), FormatC("%.3f", static_cast<double>(i)));
    }
    for (const uint32_t i : {4999, 0, 2500, 2499, 511, 512, 1023, 1}) {
        EXPECT_EQ(ValueText(store, i), FormatC("%.3f", static_cast<double>(i)));
    }
}

TEST_F(ValueStore, APowerLossFragmentIsReplacedByTheNextRecord) {
    CMeasValueStore store;
    Open(store, 12, 3);
    ASSERT_TRUE(AppendValue(store, 1.0f));
    ASSERT_TRUE(AppendValue(store, 2.0f));
    store.Close();
    test::WriteFileBytes(Bin(12), test::ReadFileBytes(Bin(12)) + "\x01\x02\x03");
    test::WriteFileBytes(Asc(12), test::ReadFileBytes(Asc(12)) + "05.03.20");

    CMeasValueStore again;
    Open(again, 12, 3);
    EXPECT_EQ(again.RecordCount(), 2u);
    ASSERT_TRUE(AppendValue(again, 3.0f));
    EXPECT_EQ(test::ReadFileBytes(Bin(12)).size(), 56u + 3 * 12u);
    EXPECT_EQ(ValueText(again, 2), "3.000");
    const std::string text = test::ReadFileBytes(Asc(12));
    EXPECT_NE(text.find("05.03.20\r\n05.03.2004 14:07:09\t3.000\t3.000\r\n"), std::string::npos)
        << "the broken line is closed, the new line stands on its own";
}

TEST_F(ValueStore, AForeignBinaryFileOrOneInUseIsNeverWritten) {
    const std::string foreign = "not a measurement file at all, but long enough for a header......";
    test::WriteFileBytes(Bin(99), foreign);
    CMeasValueStore store;
    ASSERT_TRUE(Bind(store, 99, 1));
    EXPECT_FALSE(store.OpenWriter());
    EXPECT_FALSE(AppendValue(store, 1.0f));
    EXPECT_EQ(store.LastError(), kMeasErrWrongMagic);
    EXPECT_NE(store.LastErrorText().find("99.BinMeasData"), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(Bin(99)), foreign);
    // Nor does the ASCII file take a line the binary file does not have.
    EXPECT_EQ(CountLines(test::ReadFileBytes(Asc(99))), 0u);

    // A refused erase leaves the files in use: the second store still reads them.
    CMeasValueStore first;
    Open(first, 21, 1);
    ASSERT_TRUE(AppendValue(first, 1.0f));
    CMeasValueStore second;
    ASSERT_TRUE(Bind(second, 21, 1));
    EXPECT_FALSE(AppendValue(second, 2.0f));
    EXPECT_EQ(second.LastError(), EWOULDBLOCK);
    EXPECT_NE(second.LastErrorText().find("in use"), std::string::npos);
    EXPECT_FALSE(second.Erase()) << "files another writer holds are not deleted";
    EXPECT_EQ(second.RecordCount(), 1u) << "reading is shared";
    ASSERT_TRUE(AppendValue(first, 3.0f));
    EXPECT_EQ(first.RecordCount(), 2u);
}

TEST_F(ValueStore, AFullDiskLosesNoStoredRecord) {
    // Room for the header and the ASCII title (14 bytes), three appends of an 8-byte record and a 27-byte
    // line each, and 5 bytes more (the fourth record is cut short) or 10 (the fourth record fits, its line
    // does not: the record is taken out again, so both files keep three).
    for (const uint16_t extra : {5, 10}) {
        SCOPED_TRACE(extra);
        const uint16_t serial = extra == 5 ? 3 : 4; // titles of the same length
        test::FullDiskFileSystem fs(56 + 14 + 3 * (8 + 27) + extra);
        CMeasValueStore store(fs);
        Open(store, serial, 1);

        int stored = 0;
        while (stored < 6 && AppendValue(store, static_cast<float>(stored))) {
            ++stored;
        }
        EXPECT_EQ(std::make_tuple(stored, store.LastError()), std::make_tuple(3, ENOSPC));
        const std::string bin = test::ReadFileBytes(Bin(serial));
        EXPECT_EQ((bin.size() - 56) % 8, 0u) << "the binary file ends at a record boundary";
        const std::string asc = test::ReadFileBytes(Asc(serial));
        EXPECT_EQ(asc.substr(asc.size() - 2), "\r\n") << "the ASCII file ends with a whole line";
        EXPECT_EQ(std::make_tuple(store.RecordCount(), CountLines(asc), ValueText(store, 0),
                                  ValueText(store, 1), ValueText(store, 2)),
                  std::make_tuple(3u, 4u, "0.000", "1.000", "2.000"));

        // With room again, measuring goes on after the last whole record.
        fs.SetBudget(1 << 20);
        ASSERT_TRUE(AppendValue(store, 42.0f)) << store.LastErrorText();
        EXPECT_EQ(std::make_tuple(store.RecordCount(), ValueText(store, 3)), std::make_tuple(4u, "42.000"));
    }
}

// A record whose header extremes could not be rewritten is stored all the same, in both files, and the
// failure is reported on its own.
TEST_F(ValueStore, AHeaderThatCannotBeRewrittenOrARebuildOnAFullDiskLosesNothing) {
    test::FullDiskFileSystem fs(1 << 20);
    CMeasValueStore store(fs);
    Open(store, 8, 1);
    fs.FailHeaderRewrites(true);
    EXPECT_TRUE(AppendValue(store, 1.5f)) << "the record is stored";
    EXPECT_EQ(store.LastError(), EIO) << "the header failure is reported";
    EXPECT_EQ(std::make_tuple(store.RecordCount(), CountLines(test::ReadFileBytes(Asc(8)))),
              std::make_tuple(1u, 2u));

    // A rebuild of the ASCII file on a full disk keeps the old one.
    fs.FailHeaderRewrites(false);
    for (int i = 1; i < 50; ++i) {
        ASSERT_TRUE(AppendValue(store, 1.0f));
    }
    const std::string before = test::ReadFileBytes(Asc(8));
    fs.SetBudget(100);
    EXPECT_FALSE(store.RecreateAscii());
    EXPECT_EQ(store.LastError(), ENOSPC);
    EXPECT_EQ(test::ReadFileBytes(Asc(8)), before);
    EXPECT_FALSE(std::filesystem::exists(Asc(8) + ".tmp"));
    fs.SetBudget(1 << 20);
    ASSERT_TRUE(AppendValue(store, 2.0f)) << "the ASCII file is open again";
    EXPECT_EQ(CountLines(test::ReadFileBytes(Asc(8))), 52u);
}

} // namespace
} // namespace terrix

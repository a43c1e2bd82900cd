#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"
#include "core/publish/collector_sink.h"
#include "core/publish/record_payload.h"
#include "measure/measure_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace terrix {
namespace {

using test::MakeModule;
using test::ReadFileBytes;

// A logger's files of one module, and the messages its publisher would send for them.
class LoggerFiles {
public:
    LoggerFiles(const std::filesystem::path& dir, const ModuleRecord& module)
        : module_(module), writer_(module) {
        store_.SetDirectory(dir.string());
        store_.Bind(module);
    }
    void Measure(uint32_t count, uint32_t firstSecond) {
        for (uint32_t i = 0; i < count; ++i) {
            CMeasRecord& record = store_.AppendRecord();
            record.SetStamp(0, PackTimeStamp({7, 12, 2026, 4, firstSecond / 60, firstSecond % 60}));
            record.SetFloat(1, 10.0f + static_cast<float>(i) / 7.0f);
            if (record.FieldCount() > 2) {
                record.SetErrorMarker(2, static_cast<uint16_t>(i % 3 == 0 ? 9 : 0xFFFF));
            }
            ASSERT_TRUE(store_.Append());
            ++firstSecond;
        }
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> messages;
        store_.OpenReader();
        const uint32_t count = store_.RecordCount();
        std::string fileStart;
        for (uint32_t i = 0; i < count; ++i) {
            store_.ReadRecord(i);
            const std::vector<uint8_t> packed = store_.ReadRecordData().Pack();
            if (i == 0) {
                fileStart = IsoTimeOfStamp(store_.ReadRecordData().Field(0)->Bits());
            }
            messages.push_back(writer_.Build(packed, i, fileStart));
        }
        return messages;
    }
    void Erase() { ASSERT_TRUE(store_.Erase()); }

private:
    ModuleRecord module_;
    RecordPayloadWriter writer_;
    CMeasValueStore store_;

public:
    const std::string topic = "fleet/" + std::to_string(module_.SerialNo()) + "/record";
};

class CollectorSinkTest : public ::testing::Test {
protected:
    using Clock = CollectorSink::Clock;
    CollectorSink::Say Collect() {
        return [this](const std::string& text) { notices.push_back(text); };
    }
    CollectorSink::Ask Asks() {
        return [this](uint16_t serial, const ResendRequest& r) {
            asked.push_back(std::to_string(serial) + " " + r.fileStart + " " + std::to_string(r.from));
        };
    }
    size_t Noticed(const std::string& part) const {
        return static_cast<size_t>(std::count_if(notices.begin(), notices.end(), [&](const std::string& n) {
            return n.find(part) != std::string::npos;
        }));
    }
    std::string Collected(const std::string& name) const { return ReadFileBytes(collectDir / name); }
    std::string Logged(const std::string& name) const { return ReadFileBytes(loggerDir / name); }
    test::TempDir loggerDir;
    test::TempDir collectDir;
    std::vector<std::string> notices;
    std::vector<std::string> asked;
};

// Shuffled, with every message twice: the collected files equal the logger's byte for byte.
TEST_F(CollectorSinkTest, OutOfOrderAndRepeatedMessagesRebuildTheFiles) {
    LoggerFiles logger(loggerDir.path(), MakeModule(31042, "TAVIK", 3));
    logger.Measure(40, 0);
    std::vector<std::string> messages = logger.Messages();
    const std::vector<std::string> once = messages;
    messages.insert(messages.end(), once.begin(), once.end());
    std::shuffle(messages.begin(), messages.end(), std::mt19937(3));
    {
        CollectorSink sink(collectDir.path().string(), "fleet", Collect());
        for (const std::string& message : messages) {
            EXPECT_TRUE(sink.Accept(logger.topic, message));
        }
        EXPECT_EQ(std::pair(sink.Written(31042), sink.Waiting(31042)), std::pair(40u, size_t{0}));
    }
    for (const char* name : {"31042.BinMeasData", "31042.ASC"}) {
        EXPECT_EQ(Collected(name), Logged(name)) << name;
    }
    // A collector started again knows the module: a logger coming online is asked for what follows.
    logger.Measure(2, 100);
    CollectorSink again(collectDir.path().string(), "fleet", Collect(), Asks());
    again.LoggerOnline();
    EXPECT_EQ(asked, std::vector<std::string>{"31042 2026-12-07T04:00:00 40"});
    for (const std::string& message : logger.Messages()) {
        again.Accept(logger.topic, message);
    }
    EXPECT_EQ(again.Written(31042), 42u);
    EXPECT_EQ(Collected("31042.BinMeasData"), Logged("31042.BinMeasData"));
}

// A gap is said once with what is missing and asked for, and asked for again while it stays open. What waits
// is bounded: records beyond the bytes are not kept, the record that closes the gap always is, and records
// that waited too long are let go; everything not kept is asked for again and completes the files.
TEST_F(CollectorSinkTest, GapsAreAskedForAndWhatWaitsIsBounded) {
    LoggerFiles logger(loggerDir.path(), MakeModule(31042, "TAVIK", 3));
    logger.Measure(10, 0);
    const std::vector<std::string> m = logger.Messages();
    CollectorLimits limits;
    limits.gapPatience = std::chrono::seconds(5);
    limits.askAgain = std::chrono::seconds(30);
    limits.maxWait = std::chrono::seconds(600);
    limits.maxWaitingBytes = 3 * RecordSizeOf(MeasLayout::kTwoValue); // three records
    CollectorSink sink(collectDir.path().string(), "fleet", Collect(), Asks(), limits);
    const auto t0 = Clock::now();
    const auto at = [&](int seconds) { return t0 + std::chrono::seconds(seconds); };
    sink.Accept(logger.topic, m[0], at(0));
    for (int i = 3; i < 9; ++i) {
        sink.Accept(logger.topic, m[i], at(0));
    }
    EXPECT_EQ(sink.Waiting(31042), 3u); // 3, 4, 5 kept; 6, 7, 8 not
    sink.CheckGaps(at(4));
    EXPECT_TRUE(asked.empty());
    sink.CheckGaps(at(5));
    sink.CheckGaps(at(6));
    EXPECT_EQ(
        Noticed("31042: records 1 to 2 of the file of 2026-12-07T04:00:00 are missing (3 later record(s) "
                "wait, 3 more were not kept"),
        1u)
        << notices.front();
    sink.CheckGaps(at(36));
    EXPECT_EQ(asked,
              (std::vector<std::string>{"31042 2026-12-07T04:00:00 1", "31042 2026-12-07T04:00:00 1"}));

    sink.Accept(logger.topic, m[1], at(37)); // always admitted, though the bound is reached
    sink.Accept(logger.topic, m[2], at(37));
    EXPECT_EQ(sink.Written(31042), 6u);
    sink.CheckGaps(at(70));
    EXPECT_EQ(asked.back(), "31042 2026-12-07T04:00:00 6"); // the ones not kept, asked for again
    sink.Accept(logger.topic, m[8], at(70));
    sink.CheckGaps(at(700));
    EXPECT_EQ(Noticed("1 record(s) waited too long for records 6 to 7"), 1u);
    EXPECT_EQ(sink.Waiting(31042), 0u);
    for (int i = 6; i < 10; ++i) {
        sink.Accept(logger.topic, m[i], at(701));
    }
    EXPECT_EQ(Noticed("the missing records have arrived"), 1u);
    EXPECT_EQ(Collected("31042.BinMeasData"), Logged("31042.BinMeasData"));
}

// The logger's files were erased: the collected ones move aside (never over an existing file), the new file
// starts at record 0 also with another layout, and a late repeat of the old file changes nothing. A file that
// begins earlier than the one before (a clock that went back) is said and collected.
TEST_F(CollectorSinkTest, ANewFileOfTheLoggerMovesTheCollectedOneAside) {
    LoggerFiles logger(loggerDir.path(), MakeModule(31042, "TAVIK", 3));
    logger.Measure(3, 0);
    const std::vector<std::string> oldMessages = logger.Messages();
    const std::string oldBinary = Logged("31042.BinMeasData");
    logger.Erase();
    test::TempDir otherDir;
    LoggerFiles oneValue(otherDir.path(), MakeModule(31042, "TAVIK", 1)); // one channel now
    oneValue.Measure(2, 600);
    const std::vector<std::string> newMessages = oneValue.Messages();
    test::WriteFileBytes(collectDir / "31042-20261207T040000.ASC", "kept");

    CollectorSink sink(collectDir.path().string(), "fleet", Collect());
    for (const std::string& m : oldMessages) {
        sink.Accept(logger.topic, m);
    }
    EXPECT_TRUE(sink.Accept(logger.topic, newMessages[0]));
    sink.Accept(logger.topic, oldMessages[2]); // late repeat
    sink.Accept(logger.topic, newMessages[1]);
    EXPECT_EQ(Collected("31042-20261207T040000.ASC"), "kept");
    EXPECT_EQ(Collected("31042-20261207T040000-2.BinMeasData"), oldBinary);
    EXPECT_EQ(Collected("31042.BinMeasData"), ReadFileBytes(otherDir / "31042.BinMeasData"));
    EXPECT_EQ(Collected("31042.ASC"), ReadFileBytes(otherDir / "31042.ASC"));

    oneValue.Erase();
    oneValue.Measure(1, 300); // 04:05:00: earlier than the 04:10:00 file
    sink.Accept(logger.topic, oneValue.Messages()[0]);
    EXPECT_EQ(Noticed("earlier than the file collected so far (2026-12-07T04:10:00)"), 1u);
    EXPECT_EQ(sink.Written(31042), 1u);
    EXPECT_EQ(Collected("31042.BinMeasData"), ReadFileBytes(otherDir / "31042.BinMeasData"));
}

TEST_F(CollectorSinkTest, ForeignMessagesAreRefusedAndSaid) {
    LoggerFiles logger(loggerDir.path(), MakeModule(31042, "TAVIK", 3));
    logger.Measure(1, 0);
    const std::string good = logger.Messages()[0];
    CollectorSink sink(collectDir.path().string(), "fleet", Collect());
    const std::pair<std::string, std::string> refused[] = {
        {"fleet/31042/record", "hello"},
        {"fleet/4711/record", good},        // the topic names another module
        {"other/fleet/31042/record", good}, // another prefix
        {"fleet/31042/record/x", good},
        {"fleet/31042/record", std::string(kMaxRecordMessage + 1, ' ')}, // refused before it is parsed
    };
    for (const auto& [topic, payload] : refused) {
        EXPECT_FALSE(sink.Accept(topic, payload)) << topic;
    }
    EXPECT_EQ(notices.size(), std::size(refused));
    EXPECT_FALSE(std::filesystem::exists(collectDir / "31042.BinMeasData"));
}

// A folder whose bus list is full (256 modules): the modules are collected with few files open, and the one
// that cannot be listed is said once, not tried with every record.
TEST_F(CollectorSinkTest, ManyModulesKeepFewFilesOpenAndAFullListIsSaidOnce) {
    std::string busInfo = "[BUS INFO]\r\nModules=256\r\n";
    for (int i = 0; i < 256; ++i) {
        busInfo += "Module" + std::to_string(i) + "=" + std::to_string(2000 + i) + ",1\r\n";
    }
    test::WriteFileBytes(collectDir / "Terrix.ini", busInfo);
    CollectorLimits limits;
    limits.maxOpenModules = 2;
    CollectorSink sink(collectDir.path().string(), "fleet", Collect(), {}, limits);
    for (uint16_t serial = 1000; serial < 1005; ++serial) {
        LoggerFiles logger(loggerDir.path(), MakeModule(serial, "TAVIK", 3));
        logger.Measure(3, 0);
        for (const std::string& message : logger.Messages()) {
            ASSERT_TRUE(sink.Accept(logger.topic, message));
        }
        ASSERT_LE(sink.OpenModules(), 2u);
        EXPECT_EQ(Collected(std::to_string(serial) + ".BinMeasData"),
                  Logged(std::to_string(serial) + ".BinMeasData"));
    }
    EXPECT_EQ(Noticed("1000: the desktop program will not list the module"), 1u);
    EXPECT_EQ(Noticed("will not list"), 5u);
}

} // namespace
} // namespace terrix

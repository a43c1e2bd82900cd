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
    LoggerFiles(const test::TempDir& dir, const ModuleRecord& module) : module_(module), writer_(module) {
        store_.SetDirectory(dir.path().string());
        store_.Bind(module);
    }
    void Measure(uint32_t count, uint32_t firstSecond) {
        for (uint32_t i = 0; i < count; ++i) {
            CMeasRecord& record = store_.AppendRecord();
            record.SetStamp(0, PackTimeStamp({7, 12, 2026, 4, firstSecond / 60, firstSecond % 60}));
            record.SetFloat(1, 10.0f + static_cast<float>(i) / 7.0f);
            record.SetErrorMarker(2, static_cast<uint16_t>(i % 3 == 0 ? 9 : 0xFFFF));
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
    const std::string topic = "fleet/31042/record";

private:
    ModuleRecord module_;
    RecordPayloadWriter writer_;
    CMeasValueStore store_;
};

class CollectorSinkTest : public ::testing::Test {
protected:
    CollectorSink::Say Collect() {
        return [this](const std::string& text) { notices.push_back(text); };
    }
    bool Noticed(const std::string& part) const {
        return std::any_of(notices.begin(), notices.end(),
                           [&](const std::string& n) { return n.find(part) != std::string::npos; });
    }
    test::TempDir loggerDir;
    test::TempDir collectDir;
    std::vector<std::string> notices;
};

// Shuffled, with every message twice: the collected files equal the logger's byte for byte.
TEST_F(CollectorSinkTest, OutOfOrderAndRepeatedMessagesRebuildTheFiles) {
    LoggerFiles logger(loggerDir, MakeModule(31042, "TAVIK", 3));
    logger.Measure(40, 0);
    std::vector<std::string> messages = logger.Messages();
    const std::vector<std::string> once = messages;
    messages.insert(messages.end(), once.begin(), once.end());
    std::shuffle(messages.begin(), messages.end(), std::mt19937(3));
    {
        CollectorSink sink(collectDir.path().string(), Collect());
        for (const std::string& message : messages) {
            EXPECT_TRUE(sink.Accept(logger.topic, message));
        }
        EXPECT_EQ(sink.Written(31042), 40u);
        EXPECT_EQ(sink.Waiting(31042), 0u);
    }
    for (const char* name : {"31042.BinMeasData", "31042.ASC"}) {
        EXPECT_EQ(ReadFileBytes(collectDir / name), ReadFileBytes(loggerDir / name)) << name;
    }
    // A collector started again continues the files where they end.
    logger.Measure(2, 100);
    CollectorSink again(collectDir.path().string(), Collect());
    for (const std::string& message : logger.Messages()) {
        again.Accept(logger.topic, message);
    }
    EXPECT_EQ(again.Written(31042), 42u);
    EXPECT_EQ(ReadFileBytes(collectDir / "31042.BinMeasData"),
              ReadFileBytes(loggerDir / "31042.BinMeasData"));
}

TEST_F(CollectorSinkTest, AGapWaitsAndIsReportedOnce) {
    LoggerFiles logger(loggerDir, MakeModule(31042, "TAVIK", 3));
    logger.Measure(3, 0);
    const std::vector<std::string> messages = logger.Messages();
    CollectorSink sink(collectDir.path().string(), Collect(), std::chrono::seconds(10));
    const auto start = CollectorSink::Clock::now();
    sink.Accept(logger.topic, messages[0], start);
    sink.Accept(logger.topic, messages[2], start);
    EXPECT_EQ(sink.Written(31042), 1u);
    EXPECT_EQ(sink.Waiting(31042), 1u);
    sink.CheckGaps(start + std::chrono::seconds(5));
    EXPECT_FALSE(Noticed("waiting for record 1"));
    sink.CheckGaps(start + std::chrono::seconds(11));
    sink.CheckGaps(start + std::chrono::seconds(12));
    EXPECT_EQ(std::count_if(
                  notices.begin(), notices.end(),
                  [](const std::string& n) { return n.find("waiting for record 1") != std::string::npos; }),
              1);
    sink.Accept(logger.topic, messages[1], start + std::chrono::seconds(13));
    EXPECT_EQ(sink.Written(31042), 3u);
    EXPECT_TRUE(Noticed("the missing records have arrived"));
}

// The logger's files were erased: the collected ones move aside, the new file starts at record 0, and a late
// repeat of the old file changes nothing.
TEST_F(CollectorSinkTest, ANewFileOfTheLoggerMovesTheCollectedOneAside) {
    LoggerFiles logger(loggerDir, MakeModule(31042, "TAVIK", 3));
    logger.Measure(3, 0);
    const std::vector<std::string> oldMessages = logger.Messages();
    const std::string oldBinary = ReadFileBytes(loggerDir / "31042.BinMeasData");
    logger.Erase();
    logger.Measure(2, 600);
    const std::vector<std::string> newMessages = logger.Messages();

    CollectorSink sink(collectDir.path().string(), Collect());
    for (const std::string& m : oldMessages) {
        sink.Accept(logger.topic, m);
    }
    sink.Accept(logger.topic, newMessages[0]);
    sink.Accept(logger.topic, oldMessages[2]); // late repeat
    sink.Accept(logger.topic, newMessages[1]);
    EXPECT_EQ(ReadFileBytes(collectDir / "31042-20261207T040000.BinMeasData"), oldBinary);
    EXPECT_EQ(ReadFileBytes(collectDir / "31042.BinMeasData"),
              ReadFileBytes(loggerDir / "31042.BinMeasData"));
    EXPECT_EQ(ReadFileBytes(collectDir / "31042.ASC"), ReadFileBytes(loggerDir / "31042.ASC"));
}

TEST_F(CollectorSinkTest, ForeignMessagesAreRefusedAndSaid) {
    LoggerFiles logger(loggerDir, MakeModule(31042, "TAVIK", 3));
    logger.Measure(1, 0);
    CollectorSink sink(collectDir.path().string(), Collect());
    EXPECT_FALSE(sink.Accept("fleet/31042/record", "hello"));
    EXPECT_FALSE(sink.Accept("fleet/4711/record", logger.Messages()[0])); // the topic names another module
    EXPECT_EQ(notices.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(collectDir / "31042.BinMeasData"));
}

} // namespace
} // namespace terrix

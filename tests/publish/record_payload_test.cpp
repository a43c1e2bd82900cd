#include "core/measure/meas_value_store.h"
#include "core/measure/stamp_year.h"
#include "core/measure/time_stamp.h"
#include "core/publish/publish_cursor.h"
#include "core/publish/record_payload.h"
#include "measure/measure_test_util.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace terrix {
namespace {

using test::MakeModule;

const uint32_t kStamp = PackTimeStamp({5, 3, 2004, 14, 7, 9});

std::vector<uint8_t> TwoValueRecord(uint32_t bits1, uint32_t bits2) {
    CMeasRecord record = MakeRecord(MeasLayout::kTwoValue);
    record.SetStamp(0, kStamp);
    record.Field(1)->SetFloatBits(bits1);
    record.Field(2)->SetFloatBits(bits2);
    return record.Pack();
}

TEST(RecordPayload, FieldsOfATwoValueRecordAndTheXvNames) {
    ModuleRecord module = MakeModule(31042, "TAVIK-\xE4", 3); // a name with a Windows-1252 letter
    module.iaStation = 7;
    CopyToField(module.szUnit0, "%");
    CopyToField(module.szUnit1, "\xB0\x43"); // "°C"
    RecordPayloadWriter writer(module);
    const std::string text =
        writer.Build(TwoValueRecord(std::bit_cast<uint32_t>(12.5f), 0x7F800009u), 17, "2004-03-05T14:00:00");
    // The values are named by the ASCII file's column titles; an error has no value but its text and bits.
    EXPECT_EQ(
        text,
        "{\"serial\":31042,\"station\":7,\"module\":\"TAVIK-\xC3\xA4\",\"channels\":3,\"file\":"
        "\"2004-03-05T14:00:00\",\"index\":17,\"time\":\"2004-03-05T14:07:09\",\"stamp\":611796069,"
        "\"values\":[{\"name\":\"31042_1\",\"unit\":\"%\",\"value\":12.5},{\"name\":\"31042_2\",\"unit\":"
        "\"\xC2\xB0\x43\",\"value\":null,\"error\":\"NaN(9)\",\"bits\":2139095049}]}");

    // The channel units come back into the module record that a collector stores.
    std::string error;
    const std::optional<ReceivedRecord> back = ParseRecordPayload(text, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(FieldText(back->Module().szUnit0) + "|" + FieldText(back->Module().szUnit1), "%|\xB0\x43");

    // The XV module's names carry their units separately.
    RecordPayloadWriter xvWriter(MakeModule(40218, "PX-TAVIK2XV", 0, true));
    const nlohmann::json xv =
        nlohmann::json::parse(xvWriter.Build(MakeRecord(MeasLayout::kXvWithTdc).Pack(), 0, "x"));
    std::string names;
    for (const nlohmann::json& value : xv["values"]) {
        names += value["name"].get<std::string>() + "[" + value["unit"].get<std::string>() + "] ";
    }
    EXPECT_EQ(names, "Density[] Moisture[%] StdDev[] Error[%] n1[] n2[] Delta n[] TDR Level[] c0[] "
                     "Temperature[] MatID[] TempID[] ");
}

// Every record comes back bit for bit: error markers, infinities, negative zero, subnormal and extreme
// numbers, floats whose shortest text is not what a double reader would narrow back (0.1f, -3.0f), then
// patterns at random.
TEST(RecordPayload, RecordsReadBackBitForBit) {
    std::vector<uint32_t> patterns = {0x7F800009u, 0x7F80FFFFu, 0x7FC00000u, 0xFF800001u,
                                      0x7F800000u, 0xFF800000u, 0x80000000u, 0x00000001u,
                                      0x00800000u, 0x7F7FFFFFu, 0x3DCCCCCDu, 0xC0400000u};
    std::mt19937 random(7);
    for (int i = 0; i < 4000; ++i) {
        patterns.push_back(random());
    }
    RecordPayloadWriter writer(MakeModule(31042, "TAVIK", 3));
    for (size_t i = 0; i + 1 < patterns.size(); i += 2) {
        const std::vector<uint8_t> packed = TwoValueRecord(patterns[i], patterns[i + 1]);
        std::string error;
        const std::optional<ReceivedRecord> back =
            ParseRecordPayload(writer.Build(packed, static_cast<uint32_t>(i), "2004-03-05T14:00:00"), &error);
        ASSERT_TRUE(back) << error;
        ASSERT_EQ(back->packed, packed) << std::hex << patterns[i] << " " << patterns[i + 1];
    }

    // The XV layout with TDC support: bytes and words too.
    CMeasRecord xv = MakeRecord(MeasLayout::kXvWithTdc);
    xv.SetStamp(0, kStamp);
    xv.SetByte(kXvDensity, 255);
    xv.SetErrorMarker(kXvMoisture, 305);
    xv.SetFloat(kXvStdDev, 0.123f);
    xv.SetWord(kXvN1, 65535);
    xv.SetWord(kXvTempId, 4711);
    xv.SetFloat(kXvTemperature, -12.75f);
    RecordPayloadWriter xvWriter(MakeModule(40218, "PX-TAVIK2XV", 0, true));
    const std::optional<ReceivedRecord> back =
        ParseRecordPayload(xvWriter.Build(xv.Pack(), 3, "2004-03-05T14:00:00"), nullptr);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::tie(back->packed, back->layout, back->index, back->moduleName),
              std::make_tuple(xv.Pack(), MeasLayout::kXvWithTdc, 3u, "PX-TAVIK2XV"));
}

TEST(RecordPayload, MalformedMessagesAreRefused) {
    RecordPayloadWriter writer(MakeModule(31042, "TAVIK", 3));
    const std::string good = writer.Build(TwoValueRecord(0, 0), 0, "2004-03-05T14:00:00");
    ASSERT_TRUE(ParseRecordPayload(good, nullptr));
    const auto edited = [&](const std::function<void(nlohmann::json&)>& edit) {
        nlohmann::json json = nlohmann::json::parse(good);
        edit(json);
        return json.dump();
    };
    const std::string bad[] = {
        "",
        "[1,2]",
        "{\"serial\":",
        edited([](auto& j) { j.erase("index"); }),
        edited([](auto& j) { j["serial"] = 65535; }),
        edited([](auto& j) { j["index"] = -1; }),
        edited([](auto& j) { j["stamp"] = "now"; }),
        edited([](auto& j) { j["values"].erase(1); }),              // one value short of the layout
        edited([](auto& j) { j["values"][0]["value"] = nullptr; }), // a null without its bits
        edited([](auto& j) { j["values"][0] = 3; }),
        // "file" names collected files: only the exact time form, in the stamps' years, is taken.
        edited([](auto& j) { j["file"] = "20261207T040000"; }),
        edited([](auto& j) { j["file"] = "3"; }),
        edited([](auto& j) { j["file"] = "../../2026-12-07T04:00"; }),
        edited([](auto& j) { j["file"] = "2034-01-01T00:00:00"; }),
        edited([](auto& j) { j["file"] = "2026-13-07T04:00:00"; }),
    };
    for (const std::string& text : bad) {
        SCOPED_TRACE(text);
        std::string error;
        EXPECT_FALSE(ParseRecordPayload(text, &error));
        EXPECT_FALSE(error.empty());
    }
    // A word field takes no number beyond 16 bits.
    RecordPayloadWriter xvWriter(MakeModule(40218, "PX-TAVIK2XV", 0, false));
    nlohmann::json xv =
        nlohmann::json::parse(xvWriter.Build(MakeRecord(MeasLayout::kXv).Pack(), 0, "2004-03-05T14:00:00"));
    xv["values"][4]["value"] = 65536;
    EXPECT_FALSE(ParseRecordPayload(xv.dump(), nullptr));
}

TEST(RecordPayload, ResendRequestsAndTheStampsLastYear) {
    const std::string text = BuildResendRequest({"2026-12-07T04:00:00", 20});
    const std::optional<ResendRequest> back = ParseResendRequest(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::tie(back->fileStart, back->from), std::make_tuple("2026-12-07T04:00:00", 20u));
    EXPECT_EQ(ResendTopic("farm/north", 31042), "farm/north/31042/resend");
    for (const std::string& bad : std::vector<std::string>{
             "", "{\"file\":\"x\"}", "{\"file\":\"x\",\"from\":-1}", "{\"file\":\"x\",\"from\":4294967296}",
             "{\"file\":\"" + std::string(300, 'x') + "\",\"from\":1}"}) {
        EXPECT_FALSE(ParseResendRequest(bad)) << bad;
    }
    EXPECT_EQ(StampYearNotice(2032), "");
    EXPECT_NE(StampYearNotice(2033).find("from 1 January 2034 on"), std::string::npos);
    const std::string later = StampYearNotice(2035);
    EXPECT_NE(later.find("the clock says 2035"), std::string::npos);
    EXPECT_NE(later.find("with the year 1971 instead"), std::string::npos);
}

TEST(PublishCursor, OnePerDestinationAndDamagedCountsAsNothing) {
    test::TempDir dir;
    const std::string path = PublishCursorPath(dir.path().string(), 31042);
    EXPECT_EQ(path, (dir / "31042.Published").string());
    const std::string lab = "lab:1883/fleet", real = "broker:8883/fleet";
    EXPECT_EQ(ReadPublishCursor(path, lab), PublishCursor{}); // missing
    ASSERT_TRUE(WritePublishCursor(path, lab, {"2026-12-07T04:00:00", 1234}));
    EXPECT_EQ(ReadPublishCursor(path, real), PublishCursor{}); // the lab's cursor is not the real broker's
    ASSERT_TRUE(WritePublishCursor(path, real, {"2026-12-07T04:00:00", 7}));
    ASSERT_TRUE(WritePublishCursor(path, lab, {"2026-12-07T04:00:00", 1235}));
    EXPECT_EQ(ReadPublishCursor(path, lab), (PublishCursor{"2026-12-07T04:00:00", 1235}));
    EXPECT_EQ(ReadPublishCursor(path, real), (PublishCursor{"2026-12-07T04:00:00", 7}));
    EXPECT_EQ(ReadPublishCursor(path, "broker:8883/fleet/dam"), PublishCursor{});
    for (const char* damaged :
         {"[Published 1]\r\nBroker=lab:1883/fleet\r\nFile=x\r\nAcknowledged=12a\r\n",
          "[Published 1]\r\nBroker=lab:1883/fleet\r\nAcknowledged=5\r\n", "\x01\x02garbage",
          "[Published 1]\r\nBroker=lab:1883/fleet\r\nFile=x\r\nAcknowledged=99999999999\r\n"}) {
        test::WriteFileBytes(path, damaged);
        EXPECT_EQ(ReadPublishCursor(path, lab), PublishCursor{}) << damaged;
    }
}

} // namespace
} // namespace terrix

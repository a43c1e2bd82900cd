// What fleet logging takes from the network or finds beside the measurement files: a broker address
// (typed or from the settings file), record messages as a collector receives them, and a module's publish
// cursor. The input is read as each of them; a record message that parses must be written back bit for
// bit, and the lines of the input go to one collector in turn, which must neither crash nor leak whatever
// their order, repeats and gaps.

#include "core/publish/broker_url.h"
#include "core/publish/collector_sink.h"
#include "core/publish/publish_cursor.h"
#include "core/publish/record_payload.h"
#include "tests/fuzz/fuzz_util.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

using namespace terrix;

namespace {

// One folder per process for the collector's files and the cursor, emptied before every run so that what a
// run leaves behind neither grows nor steers the next one.
const std::filesystem::path& Scratch() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d = std::filesystem::temp_directory_path() /
                                  ("terrix-fuzz-fleet-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(d);
        return d;
    }();
    // Registered once the path is complete, so that it is removed before the path itself goes.
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ec;
                                          std::filesystem::remove_all(dir, ec);
                                      }) == 0;
    (void)removedAtExit;
    return dir;
}

void Empty(const std::filesystem::path& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::filesystem::remove_all(entry.path(), ec);
    }
}

void CheckAddress(std::string_view text) {
    std::string error;
    const std::optional<BrokerUrl> url = ParseBrokerUrl(text, &error);
    fuzz::Check(url.has_value() == error.empty());
    if (url) {
        // What we write back reads back the same.
        const std::optional<BrokerUrl> again = ParseBrokerUrl(url->Text(), nullptr);
        fuzz::Check(again && again->Text() == url->Text() && again->prefix == url->prefix);
    }
    const std::string redacted = RedactedUrl(text);
    fuzz::Check(RedactedUrl(redacted) == redacted);
}

void CheckPayload(std::string_view payload) {
    std::string error;
    const std::optional<ReceivedRecord> record = ParseRecordPayload(payload, &error);
    if (!record) {
        return;
    }
    RecordPayloadWriter writer(record->Module());
    fuzz::Check(writer.Layout() == record->layout && writer.RecordSize() == record->packed.size());
    const std::optional<ReceivedRecord> again =
        ParseRecordPayload(writer.Build(record->packed, record->index, record->fileStart), &error);
    fuzz::Check(again && again->packed == record->packed && again->serial == record->serial &&
                again->index == record->index && again->fileStart == record->fileStart);
}

void CheckCursor(std::string_view text) {
    const std::string path = (Scratch() / "1.Published").string();
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    const std::string here = "localhost:1883/fleet";
    const PublishCursor cursor = ReadPublishCursor(path, here);
    if (!cursor.fileStart.empty() && WritePublishCursor(path, here, cursor)) {
        fuzz::Check(ReadPublishCursor(path, here) == cursor);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Empty(Scratch());
    CheckAddress(text);
    CheckCursor(text);

    // Each line is one message to the collector, its topic named by the serial number it claims.
    // Gaps are said and asked for at once, so every line exercises the waiting and resend paths too.
    CollectorLimits limits;
    limits.gapPatience = limits.askAgain = std::chrono::milliseconds(0);
    CollectorSink sink(
        Scratch().string(), "fleet", [](const std::string&) {}, [](uint16_t, const ResendRequest&) {},
        limits);
    const auto start = CollectorSink::Clock::time_point{};
    size_t line = 0;
    for (size_t from = 0; from <= text.size(); ++line) {
        const size_t end = std::min(text.find('\n', from), text.size());
        const std::string_view payload = text.substr(from, end - from);
        CheckPayload(payload);
        const std::optional<ReceivedRecord> record = ParseRecordPayload(payload, nullptr);
        const std::string topic = "fleet/" + std::to_string(record ? record->serial : 0) + "/record";
        sink.Accept(topic, payload, start + std::chrono::seconds(line));
        sink.CheckGaps(start + std::chrono::seconds(line));
        from = end + 1;
    }
    return 0;
}

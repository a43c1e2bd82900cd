#pragma once
// The message that carries one stored record to the broker, and back: a JSON object with the module's
// identity, the record's place in its binary file, its time and its values, and the raw bits wherever the
// numbers alone would not rebuild the record bit for bit:
//
//   {"serial":31042,"station":1,"module":"TAVIK","channels":3,"file":"2026-12-07T04:00:00","index":17,
//    "time":"2026-12-07T04:17:00","stamp":1234567890,
//    "values":[{"name":"31042_1","unit":"%","value":12.5},
//              {"name":"31042_2","unit":"%","value":null,"error":"NaN(9)","bits":2139095049}]}
//
// "file" is the time of the first record of the module's binary file: erasing the files and measuring again
// starts "index" at 0 under a later "file", so (serial, file, index) names one record for good.

#include "core/inventory/module_record.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/meas_record.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace terrix {

// "YYYY-MM-DDThh:mm:ss" of a packed stamp: the measuring computer's local time, as the CSV export writes it.
std::string IsoTimeOfStamp(uint32_t stamp);

// Whether `text` is a "file" value as the publisher writes it: "YYYY-MM-DDThh:mm:ss", years 1970 to 2033.
bool IsFileStartText(std::string_view text);

// Writes the messages of one module. Names and units are worked out once: the names are the ASCII file's
// column titles (the record's titles where the title line has none), a unit in brackets ("Moisture [%]") is
// split off, other units are the channel units.
class RecordPayloadWriter {
public:
    explicit RecordPayloadWriter(const ModuleRecord& module);

    MeasLayout Layout() const { return layout_; }
    uint16_t RecordSize() const { return recordSize_; }
    // The message of the packed record `packed` (RecordSize bytes), record `index` of the file that began at
    // `fileStart`.
    std::string Build(std::span<const uint8_t> packed, uint32_t index, const std::string& fileStart);

private:
    uint16_t serial_;
    uint8_t station_;
    uint32_t channelMask_;
    MeasLayout layout_;
    uint16_t recordSize_;
    CMeasRecord record_;
    std::string head_;                    // the constant start of every message
    std::vector<std::string> valueHeads_; // per value field: {"name":...,"unit":...,
};

// A message read back.
struct ReceivedRecord {
    uint16_t serial = 0;
    uint8_t station = 0;
    std::string moduleName; // Windows-1252, as the module files keep it
    uint32_t channelMask = 0;
    bool hasTdcSupport = false;
    MeasLayout layout = MeasLayout::kTwoValue;
    std::string fileStart;
    uint32_t index = 0;
    std::vector<uint8_t> packed;    // the record as the binary file holds it
    std::vector<std::string> units; // per value, Windows-1252, as the message names them

    // A module record that binds a value store to this module's layout and files, with the channel units
    // the message names.
    ModuleRecord Module() const;
};

// None, with the reason in *error, for a message that is not a record of this form (or whose values do not
// fit the module's layout).
std::optional<ReceivedRecord> ParseRecordPayload(std::string_view payload, std::string* error);

// A collector's request that a logger send a module's records again: those of the file that began at
// `fileStart` from record `from` on, or the whole current file when the logger's file is another one. It goes
// to "<prefix>/<serial>/resend" as {"file":"2026-12-07T04:00:00","from":20}.
struct ResendRequest {
    std::string fileStart;
    uint32_t from = 0;
};
std::string ResendTopic(const std::string& prefix, uint16_t serial);
std::string BuildResendRequest(const ResendRequest& request);
// None for anything else than such a request (also for one of more than a few hundred bytes).
std::optional<ResendRequest> ParseResendRequest(std::string_view payload);

// The number text of a 32-bit float that reads back to the same float, also through a double.
void AppendFloatText(std::string& out, float value);

} // namespace terrix

#include "core/publish/record_payload.h"

#include "core/inventory/stored_text.h"
#include "core/measure/asc_meas_data_file.h"
#include "core/measure/c_locale_format.h"
#include "core/measure/plot_data.h"
#include "core/measure/time_stamp.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstring>

namespace terrix {

namespace {

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

template <typename Number> void AppendNumber(std::string& out, Number value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::vector<std::string> Split(std::string line, char separator) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = line.find(separator); at != std::string::npos; at = line.find(separator, start)) {
        parts.push_back(line.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(line.substr(start));
    return parts;
}

std::optional<ReceivedRecord> Refuse(std::string* error, const std::string& why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

} // namespace

std::string IsoTimeOfStamp(uint32_t stamp) {
    const StampParts p = UnpackTimeStamp(stamp);
    return FormatC("%04u-%02u-%02uT%02u:%02u:%02u", p.year, p.month, p.day, p.hour, p.minute, p.second);
}

bool IsFileStartText(std::string_view text) {
    // "YYYY-MM-DDThh:mm:ss" with every part in its range: the value names collected files, so anything else
    // (a path, a bare number, the compact form) must never reach a file name.
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':') {
        return false;
    }
    const auto number = [&](size_t at, size_t length, unsigned low, unsigned high) {
        unsigned value = 0;
        for (size_t i = at; i < at + length; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
        }
        return value >= low && value <= high;
    };
    return number(0, 4, 1970, 2033) && number(5, 2, 1, 12) && number(8, 2, 1, 31) && number(11, 2, 0, 23) &&
           number(14, 2, 0, 59) && number(17, 2, 0, 59);
}

void AppendFloatText(std::string& out, float value) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    // Most readers parse a JSON number as a double; the shortest text of a float can, in rare cases, round
    // to a double that narrows to the neighbouring float. The double's own shortest text is exact then.
    double asDouble = 0;
    std::from_chars(text, result.ptr, asDouble);
    if (static_cast<float>(asDouble) != value) {
        result = std::to_chars(text, text + sizeof text, static_cast<double>(value));
    }
    const std::string_view written(text, static_cast<size_t>(result.ptr - text));
    out += written;
    // "-0" or "12" would be read as an integer, which has no negative zero.
    if (written.find_first_of(".e") == std::string_view::npos) {
        out += ".0";
    }
}

RecordPayloadWriter::RecordPayloadWriter(const ModuleRecord& module)
    : serial_(module.SerialNo()), station_(module.iaStation), channelMask_(module.dwMeasChannels),
      layout_(ChooseLayout(module)), recordSize_(RecordSizeOf(layout_)), record_(MakeRecord(layout_)) {
    const std::string moduleName = module.ModuleName().substr(0, 15);
    head_ = "{\"serial\":";
    AppendNumber(head_, serial_);
    head_ += ",\"station\":";
    AppendNumber(head_, static_cast<unsigned>(station_));
    head_ += ",\"module\":";
    AppendJsonString(head_, Cp1252ToUtf8(moduleName));
    head_ += ",\"channels\":";
    AppendNumber(head_, channelMask_);

    const std::vector<std::string> columns = Split(
        CAscMeasDataFile::TitleLineFor(serial_, moduleName, channelMask_, record_.BuildTitleLine()), '\t');
    const std::vector<std::string> units = MeasFieldUnits(module);
    for (size_t i = 1; i < record_.FieldCount(); ++i) {
        std::string name = i < columns.size() ? columns[i] : record_.GetTitle(i);
        std::string unit = i < units.size() ? units[i] : std::string();
        if (const size_t open = name.rfind(" ["); open != std::string::npos && name.back() == ']') {
            unit = name.substr(open + 2, name.size() - open - 3);
            name.resize(open);
        }
        std::string valueHead = "{\"name\":";
        AppendJsonString(valueHead, Cp1252ToUtf8(name));
        valueHead += ",\"unit\":";
        AppendJsonString(valueHead, unit);
        valueHead += ",\"value\":";
        valueHeads_.push_back(std::move(valueHead));
    }
}

std::string RecordPayloadWriter::Build(std::span<const uint8_t> packed, uint32_t index,
                                       const std::string& fileStart) {
    std::string out;
    out.reserve(head_.size() + 64 * valueHeads_.size() + 128);
    record_.Unpack(packed);
    const uint32_t stamp = record_.Field(0)->Bits();
    out += head_;
    out += ",\"file\":";
    AppendJsonString(out, fileStart);
    out += ",\"index\":";
    AppendNumber(out, index);
    out += ",\"time\":";
    AppendJsonString(out, IsoTimeOfStamp(stamp));
    out += ",\"stamp\":";
    AppendNumber(out, stamp);
    out += ",\"values\":[";
    for (size_t i = 1; i < record_.FieldCount(); ++i) {
        if (i > 1) {
            out += ',';
        }
        out += valueHeads_[i - 1];
        const CMeasField& field = *record_.Field(i);
        if (field.Kind() != MeasFieldKind::kFloat) {
            AppendNumber(out, field.Bits());
            out += '}';
            continue;
        }
        float value = 0;
        field.GetFloat(&value);
        if (std::isfinite(value)) {
            AppendFloatText(out, value);
            out += '}';
            continue;
        }
        out += "null";
        if (field.IsErrorMarker()) {
            out += ",\"error\":";
            AppendJsonString(out, record_.Format(i));
        }
        out += ",\"bits\":";
        AppendNumber(out, field.Bits());
        out += '}';
    }
    out += "]}";
    return out;
}

ModuleRecord ReceivedRecord::Module() const {
    ModuleRecord module;
    module.stationInfo.wSerialNo = serial;
    module.stationInfo.SetModuleName(moduleName);
    module.iaStation = station;
    module.dwMeasChannels = channelMask;
    module.bHasTDCSupport = hasTdcSupport ? 1 : 0;
    module.enModuleState = msIdentified;
    // The value fields of these layouts carry the channel units; the XV layout's units are in its titles.
    const auto unit = [this](size_t i) { return i < units.size() ? units[i] : std::string(); };
    if (layout == MeasLayout::kTwoValue) {
        CopyToField(module.szUnit0, unit(0), 7);
        CopyToField(module.szUnit1, unit(1), 7);
    } else if (layout == MeasLayout::kOneValue) {
        CopyToField(channelMask == 2 ? module.szUnit1 : module.szUnit0, unit(0), 7);
    }
    return module;
}

std::optional<ReceivedRecord> ParseRecordPayload(std::string_view payload, std::string* error) {
    const nlohmann::json json = nlohmann::json::parse(payload, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return Refuse(error, "not a JSON object");
    }
    const auto unsignedField = [&](const char* key, uint64_t max, uint64_t& out) {
        const auto it = json.find(key);
        if (it == json.end() || !it->is_number_unsigned() || it->get<uint64_t>() > max) {
            return false;
        }
        out = it->get<uint64_t>();
        return true;
    };
    const auto stringField = [&](const char* key, std::string& out) {
        const auto it = json.find(key);
        if (it == json.end() || !it->is_string()) {
            return false;
        }
        out = it->get<std::string>();
        return true;
    };
    ReceivedRecord record;
    uint64_t serial = 0, station = 0, mask = 0, index = 0, stamp = 0;
    std::string module;
    if (!unsignedField("serial", kMaxValidSerial, serial) || !unsignedField("station", 255, station) ||
        !unsignedField("channels", 0xFFFFFFFFu, mask) || !unsignedField("index", 0xFFFFFFFEu, index) ||
        !unsignedField("stamp", 0xFFFFFFFFu, stamp) || !stringField("module", module) ||
        !stringField("file", record.fileStart)) {
        return Refuse(error, "a field of the record is missing or out of range");
    }
    if (!IsFileStartText(record.fileStart)) {
        return Refuse(error, "its \"file\" is not a time of the form YYYY-MM-DDThh:mm:ss");
    }
    const auto values = json.find("values");
    if (values == json.end() || !values->is_array()) {
        return Refuse(error, "the record has no list of values");
    }
    record.serial = static_cast<uint16_t>(serial);
    record.station = static_cast<uint8_t>(station);
    record.moduleName = Utf8ToCp1252(module).substr(0, 15);
    record.channelMask = static_cast<uint32_t>(mask);
    record.index = static_cast<uint32_t>(index);
    // The XV layout with TDC support is the one with three more values.
    record.hasTdcSupport = IsXvLayoutName(record.moduleName) &&
                           values->size() + 1 == MakeRecord(MeasLayout::kXvWithTdc).FieldCount();
    record.layout = ChooseLayout(record.moduleName, record.channelMask, record.hasTdcSupport);
    CMeasRecord fields = MakeRecord(record.layout);
    if (values->size() + 1 != fields.FieldCount()) {
        return Refuse(error, "the record holds " + std::to_string(values->size()) +
                                 " values where the module's layout has " +
                                 std::to_string(fields.FieldCount() - 1));
    }
    fields.SetStamp(0, static_cast<uint32_t>(stamp));
    for (size_t i = 1; i < fields.FieldCount(); ++i) {
        const nlohmann::json& entry = (*values)[i - 1];
        const std::string which = "value " + std::to_string(i);
        if (!entry.is_object()) {
            return Refuse(error, which + " is not an object");
        }
        const auto value = entry.find("value");
        const auto bits = entry.find("bits");
        const auto unit = entry.find("unit");
        record.units.push_back(unit != entry.end() && unit->is_string()
                                   ? Utf8ToCp1252(unit->get<std::string>())
                                   : std::string());
        CMeasField& field = *fields.Field(i);
        if (field.Kind() != MeasFieldKind::kFloat) {
            const uint64_t max = field.Kind() == MeasFieldKind::kByte ? 0xFF : 0xFFFF;
            if (value == entry.end() || !value->is_number_unsigned() || value->get<uint64_t>() > max) {
                return Refuse(error, which + " is not a whole number that fits its field");
            }
            const auto number = value->get<uint64_t>();
            field.Kind() == MeasFieldKind::kByte ? field.SetByte(static_cast<uint8_t>(number))
                                                 : field.SetWord(static_cast<uint16_t>(number));
            continue;
        }
        if (value != entry.end() && value->is_number()) {
            field.SetFloat(static_cast<float>(value->get<double>()));
        } else if (bits != entry.end() && bits->is_number_unsigned() &&
                   bits->get<uint64_t>() <= 0xFFFFFFFFu) {
            field.SetFloatBits(static_cast<uint32_t>(bits->get<uint64_t>()));
        } else {
            return Refuse(error, which + " has neither a number nor its bits");
        }
    }
    record.packed = fields.Pack();
    return record;
}

std::string ResendTopic(const std::string& prefix, uint16_t serial) {
    return prefix + "/" + std::to_string(serial) + "/resend";
}

std::string BuildResendRequest(const ResendRequest& request) {
    std::string out = "{\"file\":";
    AppendJsonString(out, request.fileStart);
    out += ",\"from\":";
    AppendNumber(out, request.from);
    out += '}';
    return out;
}

std::optional<ResendRequest> ParseResendRequest(std::string_view payload) {
    constexpr size_t kMaxRequest = 256;
    if (payload.size() > kMaxRequest) {
        return std::nullopt;
    }
    const nlohmann::json json = nlohmann::json::parse(payload, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return std::nullopt;
    }
    const auto file = json.find("file");
    const auto from = json.find("from");
    if (file == json.end() || !file->is_string() || from == json.end() || !from->is_number_unsigned() ||
        from->get<uint64_t>() > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return ResendRequest{file->get<std::string>(), static_cast<uint32_t>(from->get<uint64_t>())};
}

} // namespace terrix

#include "core/measure/meas_record.h"

#include <cstring>

#include "core/measure/error_marker.h"

namespace terrix {

namespace {

const std::string kEmpty;

bool WriteText(FileHandle& file, const std::string& text, int* error) {
    int ignored = 0;
    return WriteWhole(file, text.data(), text.size(), error != nullptr ? error : &ignored);
}

} // namespace

CMeasRecord::CMeasRecord(std::vector<std::unique_ptr<CMeasField>> fields) {
    for (auto& field : fields) {
        AddField(std::move(field));
    }
}

bool CMeasRecord::AddField(std::unique_ptr<CMeasField> field) {
    if (!field || fields_.size() >= 0xFFFF) {
        return false;
    }
    fields_.push_back(std::move(field));
    return true;
}

CMeasField* CMeasRecord::Field(size_t i) {
    return i < fields_.size() ? fields_[i].get() : nullptr;
}
const CMeasField* CMeasRecord::Field(size_t i) const {
    return i < fields_.size() ? fields_[i].get() : nullptr;
}

uint16_t CMeasRecord::GetSize() const {
    uint32_t size = 0;
    for (const auto& field : fields_) {
        size += field->GetSize();
    }
    // Four bytes at most per field and at most 65535 fields would overflow; no layout comes near that.
    return size > 0xFFFF ? 0 : static_cast<uint16_t>(size);
}

bool CMeasRecord::Unpack(std::span<const uint8_t> src) {
    const uint16_t size = GetSize();
    if (size == 0 || src.size() < size) {
        return false;
    }
    size_t offset = 0;
    for (auto& field : fields_) {
        field->CopyFrom(src.data() + offset);
        offset += field->GetSize();
    }
    return true;
}

bool CMeasRecord::Pack(std::span<uint8_t> dst) const {
    const uint16_t size = GetSize();
    if (size == 0 || dst.size() < size) {
        return false;
    }
    size_t offset = 0;
    for (const auto& field : fields_) {
        field->CopyTo(dst.data() + offset);
        offset += field->GetSize();
    }
    return true;
}

std::vector<uint8_t> CMeasRecord::Pack() const {
    std::vector<uint8_t> bytes(GetSize());
    Pack(bytes);
    return bytes;
}

bool CMeasRecord::GetValue(size_t i, void* dst) const {
    const CMeasField* field = Field(i);
    return field != nullptr && field->CopyTo(dst);
}

bool CMeasRecord::SetValue(size_t i, const void* src) {
    CMeasField* field = Field(i);
    return field != nullptr && field->CopyFrom(src);
}

bool CMeasRecord::Write(FileHandle& file, int* error) const {
    int ignored = 0;
    int* err = error != nullptr ? error : &ignored;
    const std::vector<uint8_t> bytes = Pack();
    if (bytes.empty()) {
        *err = 0;
        return false;
    }
    return WriteWhole(file, bytes.data(), bytes.size(), err);
}

bool CMeasRecord::Read(FileHandle& file) {
    std::vector<uint8_t> bytes(GetSize());
    if (bytes.empty()) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const int64_t n = file.Read(bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return Unpack(bytes);
}

bool CMeasRecord::WriteTitles(FileHandle& file, int* error) const {
    return WriteText(file, BuildTitleLine(), error);
}

bool CMeasRecord::WriteTexts(FileHandle& file, int* error) {
    return WriteText(file, BuildTextLine(), error);
}

std::string CMeasRecord::BuildTitleLine() const {
    std::string line;
    for (size_t i = 0; i < fields_.size(); ++i) {
        line += fields_[i]->Title();
        line += i + 1 < fields_.size() ? "\t" : "\r\n";
    }
    return line;
}

std::string CMeasRecord::BuildTextLine() {
    std::string line;
    for (size_t i = 0; i < fields_.size(); ++i) {
        line += fields_[i]->Format();
        line += i + 1 < fields_.size() ? "\t" : "\r\n";
    }
    return line;
}

void CMeasRecord::AppendTextLine(std::string& out) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->AppendText(out);
        out += i + 1 < fields_.size() ? "\t" : "\r\n";
    }
}

const std::string& CMeasRecord::GetTitle(size_t i) const {
    const CMeasField* field = Field(i);
    return field != nullptr ? field->Title() : kEmpty;
}

const std::string& CMeasRecord::GetText(size_t i) const {
    const CMeasField* field = Field(i);
    return field != nullptr ? field->Text() : kEmpty;
}

const std::string& CMeasRecord::Format(size_t i) {
    CMeasField* field = Field(i);
    return field != nullptr ? field->Format() : kEmpty;
}

const std::string& CMeasRecord::FormatFrom(size_t i, double value) {
    CMeasField* field = Field(i);
    return field != nullptr ? field->FormatFrom(value) : kEmpty;
}

void CMeasRecord::SetTitle(size_t i, std::string title) {
    if (CMeasField* field = Field(i)) {
        field->SetTitle(std::move(title));
    }
}

bool CMeasRecord::SetStamp(size_t i, uint32_t stamp) {
    return OnField(i, [&](CMeasField& f) { return f.SetStamp(stamp); });
}
bool CMeasRecord::SetFloat(size_t i, float value) {
    return OnField(i, [&](CMeasField& f) { return f.SetFloat(value); });
}
bool CMeasRecord::SetErrorMarker(size_t i, uint16_t code) {
    return OnField(i, [&](CMeasField& f) { return f.SetFloatBits(ErrorMarkerBits(code)); });
}
bool CMeasRecord::SetWord(size_t i, uint16_t value) {
    return OnField(i, [&](CMeasField& f) { return f.SetWord(value); });
}
bool CMeasRecord::SetByte(size_t i, uint8_t value) {
    return OnField(i, [&](CMeasField& f) { return f.SetByte(value); });
}

bool CMeasRecord::GetFloat(size_t i, float* value) const {
    const CMeasField* field = Field(i);
    return field != nullptr && field->GetFloat(value);
}

bool CMeasRecord::IsErrorMarker(size_t i) const {
    const CMeasField* field = Field(i);
    return field != nullptr && field->IsErrorMarker();
}

} // namespace terrix

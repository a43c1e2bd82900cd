#pragma once
// One measurement of a module: an ordered set of typed fields (time stamp, then values). The record packs
// to the binary file's layout (fields back to back, little-endian, no padding) and formats to one text
// line of the ASCII file or one row of the value list.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/platform/file_handle.h"
#include "core/measure/meas_field.h"

namespace terrix {

class CMeasRecord {
public:
    CMeasRecord() = default;
    explicit CMeasRecord(std::vector<std::unique_ptr<CMeasField>> fields);
    CMeasRecord(CMeasRecord&&) = default;
    CMeasRecord& operator=(CMeasRecord&&) = default;

    // Appends a field; false for a missing field or a record that already holds 65535 fields.
    bool AddField(std::unique_ptr<CMeasField> field);
    uint16_t FieldCount() const { return static_cast<uint16_t>(fields_.size()); }
    // nullptr when out of range.
    CMeasField* Field(size_t i);
    const CMeasField* Field(size_t i) const;

    // Sum of the field sizes; 0 for an empty record.
    uint16_t GetSize() const;
    // Field by field from or to a packed record; false when the buffer is shorter than GetSize.
    bool Unpack(std::span<const uint8_t> src);
    bool Pack(std::span<uint8_t> dst) const;
    std::vector<uint8_t> Pack() const;

    // Field i's value bytes (little-endian) to or from a buffer; false out of range or for a missing buffer.
    bool GetValue(size_t i, void* dst) const;
    bool SetValue(size_t i, const void* src);

    // The packed record at the file's position, written in one piece: either the whole record is in the
    // file or the file is as it was (see WriteWhole). *error gets the errno value on failure.
    bool Write(FileHandle& file, int* error = nullptr) const;
    // A whole packed record from the file's position; on failure the fields keep their values.
    bool Read(FileHandle& file);
    // Titles or formatted texts joined with tabs and ended with "\r\n", written in one piece.
    bool WriteTitles(FileHandle& file, int* error = nullptr) const;
    bool WriteTexts(FileHandle& file, int* error = nullptr);

    // The titles joined with tabs and ended with "\r\n".
    std::string BuildTitleLine() const;
    // Every field formatted, joined with tabs and ended with "\r\n": one line of the ASCII file.
    std::string BuildTextLine();
    // The same line appended to `out`, leaving the fields' texts as they were.
    void AppendTextLine(std::string& out) const;

    // Out of range: empty text, flag 1, width 0, empty text.
    const std::string& GetTitle(size_t i) const;
    // The field's last text without formatting again.
    const std::string& GetText(size_t i) const;
    // Field i formatted now; the empty text out of range.
    const std::string& Format(size_t i);
    const std::string& FormatFrom(size_t i, double value);
    void SetTitle(size_t i, std::string title);

    // Typed access to field i (see CMeasField); false out of range or for a field of another kind, so that
    // setting a field the layout does not have does nothing.
    bool SetStamp(size_t i, uint32_t stamp);
    bool SetFloat(size_t i, float value);
    bool SetErrorMarker(size_t i, uint16_t code);
    bool SetWord(size_t i, uint16_t value);
    bool SetByte(size_t i, uint8_t value);
    bool GetFloat(size_t i, float* value) const;
    bool IsErrorMarker(size_t i) const;

private:
    // fn(field i); false when out of range.
    template <typename Fn> bool OnField(size_t i, Fn fn) {
        CMeasField* field = Field(i);
        return field != nullptr && fn(*field);
    }

    std::vector<std::unique_ptr<CMeasField>> fields_;
};

} // namespace terrix

#pragma once
// One typed column of a measured-value record. A field knows its size in the binary record, its column
// title, its print format and how to turn its value into text, so the binary layout, the ASCII columns and
// the list columns all come from one description.

#include <array>
#include <cstdint>
#include <string>

#include "core/platform/file_handle.h"

namespace terrix {

enum class MeasFieldKind : uint8_t { kBase, kTimeStamp, kFloat, kWord, kByte };

class CMeasField {
public:
    // The base kind: size 0, no value, empty texts.
    explicit CMeasField(std::string title = {});
    virtual ~CMeasField() = default;
    CMeasField(const CMeasField&) = delete;
    CMeasField& operator=(const CMeasField&) = delete;

    virtual MeasFieldKind Kind() const { return MeasFieldKind::kBase; }
    // Bytes of the value in a packed record: 0, 4, 4, 2 or 1.
    virtual uint16_t GetSize() const { return 0; }

    // The value's bytes, little-endian; nullptr for the base kind.
    uint8_t* GetValuePtr();
    const uint8_t* GetValuePtr() const;

    bool GetTitle(std::string& dst) const;
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    const std::string& FormatString() const { return format_; }
    // The text last made by Format or FormatFrom; the kind's placeholder until then.
    const std::string& Text() const { return text_; }

    // Formats the current value into the text and returns it.
    const std::string& Format();
    // Appends the current value's text, as Format makes it, to `out` without keeping it as Text(): the way
    // a whole file of records is converted.
    virtual void AppendText(std::string& out) const;
    // Formats a value given from outside (a plot's axis value): a packed stamp for the time stamp kind, a
    // 16-bit number for the word and byte kinds, the number itself for the float kind.
    const std::string& FormatFrom(double value);

    // The value's bytes at the file's position; true only when all of them were moved.
    bool Read(FileHandle& file);
    bool Write(FileHandle& file) const;
    // The title or the formatted text, without terminator.
    bool WriteTitle(FileHandle& file) const;
    bool WriteText(FileHandle& file);

    // GetSize value bytes (little-endian) to or from a buffer; false for a missing buffer.
    bool CopyTo(void* dst) const;
    bool CopyFrom(const void* src);

    // The value as an unsigned number of GetSize bytes (a float's bit pattern for the float kind).
    uint32_t Bits() const;

    // Typed setters and getters; false when the field is of another kind.
    bool SetStamp(uint32_t stamp);
    bool SetFloat(float value);
    bool SetFloatBits(uint32_t bits);
    bool SetWord(uint16_t value);
    bool SetByte(uint8_t value);
    bool GetFloat(float* value) const;
    // Float fields: whether the value is an error marker.
    bool IsErrorMarker() const;

protected:
    CMeasField(std::string title, std::string format, std::string placeholder);

    // The text of a value of this kind given as its bit pattern or as a number from outside.
    virtual std::string Render(uint32_t bits) const;
    virtual std::string RenderNumber(double value) const;

    void StoreBits(uint32_t bits);
    bool StoreIfKind(MeasFieldKind kind, uint32_t bits);

private:
    std::string title_;
    std::string format_;
    std::string text_;
    std::array<uint8_t, 4> value_{};
};

// Packed local date and time (see time_stamp.h), printed "%02u.%02u.%04u %02u:%02u:%02u" by default.
class CTimeStampField final : public CMeasField {
public:
    static constexpr const char* kDefaultTitle = "Date/Time";
    static constexpr const char* kDefaultFormat = "%02u.%02u.%04u %02u:%02u:%02u";
    static constexpr const char* kPlaceholder = "31.12.2222 23:59:59";

    // An empty title or format takes the default; a format that does not take six unsigned numbers is
    // replaced by the default.
    explicit CTimeStampField(std::string title = {}, std::string format = {});

    MeasFieldKind Kind() const override { return MeasFieldKind::kTimeStamp; }
    uint16_t GetSize() const override { return 4; }
    void AppendText(std::string& out) const override;

protected:
    std::string Render(uint32_t bits) const override;
    std::string RenderNumber(double value) const override;

private:
    bool defaultFormat_ = false;
};

// A 32-bit float; error markers print as "NaN(code)" or "NaN(?)", every other value with the format.
class CFloatField final : public CMeasField {
public:
    static constexpr const char* kDefaultFormat = "%.3f";
    static constexpr const char* kPlaceholder = "NaN(777)";

    // A format that does not take one floating-point number is replaced by the default.
    explicit CFloatField(std::string title = {}, std::string format = kDefaultFormat);

    MeasFieldKind Kind() const override { return MeasFieldKind::kFloat; }
    uint16_t GetSize() const override { return 4; }
    void AppendText(std::string& out) const override;

protected:
    std::string Render(uint32_t bits) const override;
    // A NaN given from outside has no code to show and prints as "NaN(?)".
    std::string RenderNumber(double value) const override;

private:
    int fixedPrecision_ = -1; // N of a "%.Nf" format, else -1
};

// The common part of the word and byte kinds: an unsigned number printed with an integer format.
class CUnsignedField : public CMeasField {
public:
    void AppendText(std::string& out) const override;

protected:
    CUnsignedField(std::string title, std::string format, std::string placeholder);

    std::string Render(uint32_t bits) const override;
    // The number is taken as a 16-bit value for both kinds.
    std::string RenderNumber(double value) const override;

private:
    bool plainFormat_ = false; // "%u"
};

// An unsigned 16-bit number, "%u" by default.
class CWordField final : public CUnsignedField {
public:
    static constexpr const char* kDefaultFormat = "%u";
    static constexpr const char* kPlaceholder = "65535";

    explicit CWordField(std::string title, std::string format = kDefaultFormat)
        : CUnsignedField(std::move(title), std::move(format), kPlaceholder) {}

    MeasFieldKind Kind() const override { return MeasFieldKind::kWord; }
    uint16_t GetSize() const override { return 2; }
};

// An unsigned 8-bit number, "%u" by default.
class CByteField final : public CUnsignedField {
public:
    static constexpr const char* kDefaultFormat = "%u";
    static constexpr const char* kPlaceholder = "255";

    explicit CByteField(std::string title, std::string format = kDefaultFormat)
        : CUnsignedField(std::move(title), std::move(format), kPlaceholder) {}

    MeasFieldKind Kind() const override { return MeasFieldKind::kByte; }
    uint16_t GetSize() const override { return 1; }
};

} // namespace terrix

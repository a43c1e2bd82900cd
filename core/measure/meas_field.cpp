#include "core/measure/meas_field.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "core/measure/c_locale_format.h"
#include "core/measure/error_marker.h"
#include "core/measure/little_endian.h"
#include "core/measure/number_text.h"
#include "core/measure/time_stamp.h"

namespace terrix {

namespace {

constexpr const char* kIntegerConversions = "udxXo";
constexpr const char* kFloatingConversions = "fFeEgGaA";

std::string CheckedFormat(std::string format, const char* conversions, int count, const char* fallback) {
    return FormatTakes(format, conversions, count) ? format : std::string(fallback);
}

// A number from outside as an unsigned value of the given range; NaN and negatives give 0.
uint32_t ClampToUnsigned(double value, double max) {
    if (!(value > 0)) {
        return 0;
    }
    return value >= max ? static_cast<uint32_t>(max) : static_cast<uint32_t>(value);
}

} // namespace

CMeasField::CMeasField(std::string title) : title_(std::move(title)) {}

CMeasField::CMeasField(std::string title, std::string format, std::string placeholder)
    : title_(std::move(title)), format_(std::move(format)), text_(std::move(placeholder)) {}

uint8_t* CMeasField::GetValuePtr() {
    return GetSize() == 0 ? nullptr : value_.data();
}
const uint8_t* CMeasField::GetValuePtr() const {
    return GetSize() == 0 ? nullptr : value_.data();
}

bool CMeasField::GetTitle(std::string& dst) const {
    dst = title_;
    return true;
}

const std::string& CMeasField::Format() {
    // Cleared and refilled, so the text keeps its storage from one record to the next.
    text_.clear();
    AppendText(text_);
    return text_;
}

void CMeasField::AppendText(std::string& out) const {
    out += Render(Bits());
}

const std::string& CMeasField::FormatFrom(double value) {
    text_ = RenderNumber(value);
    return text_;
}

bool CMeasField::Read(FileHandle& file) {
    const uint16_t size = GetSize();
    std::array<uint8_t, 4> bytes{};
    size_t done = 0;
    while (done < size) {
        const int64_t n = file.Read(bytes.data() + done, size - done);
        if (n <= 0) {
            return false; // the value keeps its old bytes
        }
        done += static_cast<size_t>(n);
    }
    std::memcpy(value_.data(), bytes.data(), size);
    return true;
}

bool CMeasField::Write(FileHandle& file) const {
    int error = 0;
    return WriteWhole(file, value_.data(), GetSize(), &error);
}

bool CMeasField::WriteTitle(FileHandle& file) const {
    int error = 0;
    return WriteWhole(file, title_.data(), title_.size(), &error);
}

bool CMeasField::WriteText(FileHandle& file) {
    const std::string& text = Format();
    int error = 0;
    return WriteWhole(file, text.data(), text.size(), &error);
}

bool CMeasField::CopyTo(void* dst) const {
    if (dst == nullptr) {
        return false;
    }
    std::memcpy(dst, value_.data(), GetSize());
    return true;
}

bool CMeasField::CopyFrom(const void* src) {
    if (src == nullptr) {
        return false;
    }
    std::memcpy(value_.data(), src, GetSize());
    return true;
}

uint32_t CMeasField::Bits() const {
    switch (GetSize()) {
    case 1:
        return value_[0];
    case 2:
        return LoadLe16(value_.data());
    case 4:
        return LoadLe32(value_.data());
    default:
        return 0;
    }
}

void CMeasField::StoreBits(uint32_t bits) {
    value_.fill(0);
    switch (GetSize()) {
    case 1:
        value_[0] = static_cast<uint8_t>(bits);
        break;
    case 2:
        StoreLe16(value_.data(), static_cast<uint16_t>(bits));
        break;
    case 4:
        StoreLe32(value_.data(), bits);
        break;
    default:
        break;
    }
}

bool CMeasField::StoreIfKind(MeasFieldKind kind, uint32_t bits) {
    if (Kind() != kind) {
        return false;
    }
    StoreBits(bits);
    return true;
}

bool CMeasField::SetStamp(uint32_t stamp) {
    return StoreIfKind(MeasFieldKind::kTimeStamp, stamp);
}
bool CMeasField::SetFloat(float value) {
    return SetFloatBits(std::bit_cast<uint32_t>(value));
}
bool CMeasField::SetFloatBits(uint32_t bits) {
    return StoreIfKind(MeasFieldKind::kFloat, bits);
}
bool CMeasField::SetWord(uint16_t value) {
    return StoreIfKind(MeasFieldKind::kWord, value);
}
bool CMeasField::SetByte(uint8_t value) {
    return StoreIfKind(MeasFieldKind::kByte, value);
}

bool CMeasField::GetFloat(float* value) const {
    if (Kind() != MeasFieldKind::kFloat || value == nullptr) {
        return false;
    }
    *value = std::bit_cast<float>(Bits());
    return true;
}

bool CMeasField::IsErrorMarker() const {
    return Kind() == MeasFieldKind::kFloat && IsErrorMarkerBits(Bits());
}

std::string CMeasField::Render(uint32_t) const {
    return {};
}
std::string CMeasField::RenderNumber(double) const {
    return {};
}

// --- time stamp -------------------------------------------------------------------------------------------

CTimeStampField::CTimeStampField(std::string title, std::string format)
    : CMeasField(title.empty() ? std::string(kDefaultTitle) : std::move(title),
                 CheckedFormat(std::move(format), kIntegerConversions, 6, kDefaultFormat), kPlaceholder),
      defaultFormat_(FormatString() == kDefaultFormat) {}

void CTimeStampField::AppendText(std::string& out) const {
    if (!defaultFormat_) {
        out += Render(Bits());
        return;
    }
    // Every part but the year is below 64, so two digits hold it; the year is 1970..2033.
    const StampParts p = UnpackTimeStamp(Bits());
    AppendTwoDigits(out, p.day);
    out += '.';
    AppendTwoDigits(out, p.month);
    out += '.';
    AppendUnsigned(out, p.year);
    out += ' ';
    AppendTwoDigits(out, p.hour);
    out += ':';
    AppendTwoDigits(out, p.minute);
    out += ':';
    AppendTwoDigits(out, p.second);
}

std::string CTimeStampField::Render(uint32_t bits) const {
    const StampParts p = UnpackTimeStamp(bits);
    return FormatCDynamic(FormatString().c_str(), p.day, p.month, p.year, p.hour, p.minute, p.second);
}

std::string CTimeStampField::RenderNumber(double value) const {
    return Render(ClampToUnsigned(value, 4294967295.0));
}

// --- float ------------------------------------------------------------------------------------------------

CFloatField::CFloatField(std::string title, std::string format)
    : CMeasField(std::move(title), CheckedFormat(std::move(format), kFloatingConversions, 1, kDefaultFormat),
                 kPlaceholder),
      fixedPrecision_(FixedFormatPrecision(FormatString())) {}

void CFloatField::AppendText(std::string& out) const {
    const uint32_t bits = Bits();
    if (fixedPrecision_ < 0 || IsErrorMarkerBits(bits) ||
        !AppendFixed(out, std::bit_cast<float>(bits), fixedPrecision_)) {
        out += Render(bits);
    }
}

std::string CFloatField::Render(uint32_t bits) const {
    if (IsErrorMarkerBits(bits)) {
        return ErrorMarkerText(ErrorMarkerCode(bits));
    }
    return FormatCDynamic(FormatString().c_str(), static_cast<double>(std::bit_cast<float>(bits)));
}

std::string CFloatField::RenderNumber(double value) const {
    if (std::isnan(value)) {
        return ErrorMarkerText(kUnknownErrorCode);
    }
    return FormatCDynamic(FormatString().c_str(), value);
}

// --- word and byte -------------------------------------------------------------------------------------

CUnsignedField::CUnsignedField(std::string title, std::string format, std::string placeholder)
    : CMeasField(std::move(title), CheckedFormat(std::move(format), kIntegerConversions, 1, "%u"),
                 std::move(placeholder)),
      plainFormat_(FormatString() == "%u") {}

void CUnsignedField::AppendText(std::string& out) const {
    if (plainFormat_) {
        AppendUnsigned(out, Bits());
    } else {
        out += Render(Bits());
    }
}

std::string CUnsignedField::Render(uint32_t bits) const {
    return FormatCDynamic(FormatString().c_str(), bits);
}

std::string CUnsignedField::RenderNumber(double value) const {
    return Render(ClampToUnsigned(value, 65535.0));
}

} // namespace terrix

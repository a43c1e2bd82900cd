#include "core/measure/bin_meas_data_file.h"

#include <bit>
#include <cerrno>
#include <cmath>

#include "core/measure/meas_layouts.h"

namespace terrix {

bool CBinMeasDataFile::Open(uint32_t mode, uint16_t recordSize, const std::string& path) {
    headerLoaded_ = false;
    headerStatus_ = HeaderStatus::kNone;
    headerOsError_ = 0;
    return CMeasDataFile::Open(mode, recordSize, path);
}

bool CBinMeasDataFile::OnCreateEmpty() {
    header_ = MeasFileHeader::ForModule(Serial(), ModuleName(), ChannelMask());
    const auto bytes = header_.Encode();
    int error = 0;
    // Written as a whole from offset 0; a header that does not fit is cut off again, so the file stays empty
    // and the next open tries anew.
    if (Handle()->Seek(0) < 0 || !WriteWhole(*Handle(), bytes.data(), bytes.size(), &error)) {
        headerStatus_ = HeaderStatus::kWriteFailed;
        headerOsError_ = error != 0 ? error : Handle()->LastError();
        return Fail(headerOsError_);
    }
    headerLoaded_ = true;
    return true;
}

bool CBinMeasDataFile::OnOpenExisting() {
    if (!LoadHeader()) {
        return false;
    }
    if (!HeaderMatchesRecordSize()) {
        headerLoaded_ = false;
        return Fail(kMeasErrLayoutMismatch);
    }
    // Another module's file of the same layout would otherwise take this module's values in silence.
    if (Serial() != 0 && header_.serial != Serial()) {
        headerLoaded_ = false;
        return Fail(kMeasErrOtherModule);
    }
    return true;
}

bool CBinMeasDataFile::LoadHeader() {
    std::array<uint8_t, kMeasFileHeaderSize> bytes{};
    int error = 0;
    if (!ReadWholeAt(*Handle(), bytes.data(), bytes.size(), 0, &error)) {
        headerStatus_ = error != 0 ? HeaderStatus::kReadFailed : HeaderStatus::kShort;
        headerOsError_ = error;
        return Fail(error != 0 ? error : kMeasErrShorterThanHeader);
    }
    const MeasFileHeader header = MeasFileHeader::Decode(bytes);
    if (!header.HasMagic()) {
        headerStatus_ = HeaderStatus::kWrongMagic;
        return Fail(kMeasErrWrongMagic);
    }
    if (!header.HasVersion()) {
        headerStatus_ = HeaderStatus::kWrongVersion;
        return Fail(kMeasErrWrongVersion);
    }
    header_ = header;
    headerStatus_ = HeaderStatus::kNone;
    headerLoaded_ = true;
    return true;
}

bool CBinMeasDataFile::EnsureHeader() {
    if (headerLoaded_) {
        return true;
    }
    // A reader that found the file empty checks the header once its writer has put one there.
    if (!IsOpen()) {
        return false;
    }
    const int64_t size = Handle()->Size();
    if (size < static_cast<int64_t>(kMeasFileHeaderSize)) {
        return false;
    }
    return OnOpenExisting();
}

bool CBinMeasDataFile::HeaderMatchesRecordSize() const {
    const uint16_t size = RecordSize();
    if (size == 0 || size == kRecordSizeUnset) {
        return true;
    }
    const std::string name = header_.ModuleName();
    if (IsXvLayoutName(name)) {
        // The header does not say whether the XV module had TDC support.
        return size == RecordSizeOf(MeasLayout::kXv) || size == RecordSizeOf(MeasLayout::kXvWithTdc);
    }
    return size == RecordSizeOf(ChooseLayout(name, header_.channelMask, false));
}

bool CBinMeasDataFile::WriteHeader() {
    const auto bytes = header_.Encode();
    // Rewritten in place, so the file position of the next record stays where it is.
    const int64_t n = Handle()->WriteAt(bytes.data(), bytes.size(), 0);
    if (n < 0) {
        headerStatus_ = HeaderStatus::kWriteFailed;
        headerOsError_ = Handle()->LastError();
        return Fail(headerOsError_);
    }
    if (static_cast<size_t>(n) < bytes.size()) {
        headerStatus_ = HeaderStatus::kIncomplete;
        headerOsError_ = 0;
        return Fail(EIO);
    }
    headerStatus_ = HeaderStatus::kNone;
    return true;
}

bool CBinMeasDataFile::WriteRecord(CMeasRecord& record) {
    if (!CheckWritable()) {
        return false;
    }
    if (RecordSize() == 0 || RecordSize() == kRecordSizeUnset) {
        return Fail(kMeasErrNoRecordSize);
    }
    if (record.GetSize() != RecordSize()) {
        return Fail(kMeasErrLayoutMismatch);
    }
    if (!EnsureHeader()) {
        return false;
    }
    const int64_t size = Handle()->Size();
    if (size < static_cast<int64_t>(kMeasFileHeaderSize)) {
        return Fail(size < 0 ? Handle()->LastError() : kMeasErrShorterThanHeader);
    }
    // The next record starts after the last whole one.
    const uint64_t whole = (static_cast<uint64_t>(size) - kMeasFileHeaderSize) / RecordSize();
    const uint64_t offset = kMeasFileHeaderSize + whole * RecordSize();
    packed_.resize(RecordSize());
    record.Pack(packed_);
    int error = 0;
    if (!WriteWholeAt(*Handle(), packed_.data(), packed_.size(), offset, static_cast<uint64_t>(size),
                      &error)) {
        return Fail(error);
    }

    // The extremes follow the channel mask the file was created with; the XV module's first value field
    // is its density byte, so its moisture stands for channel 0.
    bool changed = false;
    float value = 0;
    if (IsXvLayoutName(header_.ModuleName())) {
        if (record.GetFloat(kXvMoisture, &value)) {
            changed |= ApplyExtreme(0, value);
        }
    } else if (header_.channelMask >= 1 && header_.channelMask <= 3) {
        if (record.GetFloat(1, &value)) {
            changed |= ApplyExtreme(0, value);
        }
        if (header_.channelMask == 3 && record.GetFloat(2, &value)) {
            changed |= ApplyExtreme(1, value);
        }
    }
    return !changed || WriteHeader();
}

bool CBinMeasDataFile::ApplyExtreme(unsigned channel, float value) {
    if (channel > 1 || std::isnan(value)) {
        return false;
    }
    bool changed = false;
    if (value < header_.minimum[channel]) {
        header_.minimum[channel] = value;
        changed = true;
    }
    if (value > header_.maximum[channel]) {
        header_.maximum[channel] = value;
        changed = true;
    }
    return changed;
}

void CBinMeasDataFile::UpdateExtremes(unsigned channel, float value) {
    if (IsWritable() && headerLoaded_ && IsOpen() && ApplyExtreme(channel, value)) {
        WriteHeader();
    }
}

uint32_t CBinMeasDataFile::GetRecordCount() {
    if (!EnsureHeader()) {
        return 0;
    }
    return CMeasDataFile::GetRecordCount();
}

Extremes CBinMeasDataFile::GetExtremes(unsigned channel) {
    if (channel > 1) {
        return Extremes{};
    }
    if (IsOpen() && !IsWritable()) {
        headerLoaded_ = false;
        EnsureHeader();
    }
    Extremes e{0, 0};
    if (!headerLoaded_) {
        return e;
    }
    const float minimum = header_.minimum[channel];
    const float maximum = header_.maximum[channel];
    if (std::bit_cast<uint32_t>(minimum) != MeasFileHeader::kNoMinimumBits) {
        e.minimum = minimum;
    }
    if (maximum > std::bit_cast<float>(MeasFileHeader::kNoMaximumBits)) {
        e.maximum = maximum;
    }
    return e;
}

} // namespace terrix

#include "core/measure/bin_meas_data_file.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>

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

bool CBinMeasDataFile::HeaderMatchesRecordSize() {
    const uint16_t size = RecordSize();
    if (size == 0 || size == kRecordSizeUnset) {
        return true;
    }
    const std::string name = header_.ModuleName();
    if (IsXvLayoutName(name)) {
        // The header does not say whether the XV module had TDC support, but a file keeps the record size it
        // was created with: records of the other size would misalign every later record. When the records
        // in the file are whole records of the other size and not of this one, the module's layout has
        // changed since the file was made.
        const uint16_t withTdc = RecordSizeOf(MeasLayout::kXvWithTdc);
        const uint16_t without = RecordSizeOf(MeasLayout::kXv);
        if (size != withTdc && size != without) {
            return false;
        }
        const int64_t fileSize = Handle()->Size();
        if (fileSize <= static_cast<int64_t>(kMeasFileHeaderSize)) {
            return true;
        }
        const uint64_t body = static_cast<uint64_t>(fileSize) - kMeasFileHeaderSize;
        const uint16_t other = size == withTdc ? without : withTdc;
        return !(body % other == 0 && body % size != 0);
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
    undoOffset_ = 0;
    if (!WriteWholeAt(*Handle(), packed_.data(), packed_.size(), offset, static_cast<uint64_t>(size),
                      &error)) {
        return Fail(error);
    }
    undoOffset_ = offset;
    undoHeader_ = header_;

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
    // The record is stored either way; a header that could not be rewritten is reported by its status.
    if (changed) {
        WriteHeader();
    }
    return true;
}

bool CBinMeasDataFile::UndoLastRecord() {
    if (undoOffset_ == 0 || !IsOpen()) {
        return false;
    }
    const uint64_t offset = undoOffset_;
    undoOffset_ = 0;
    if (!Handle()->Truncate(offset)) {
        return Fail(Handle()->LastError());
    }
    const bool extremesChanged =
        std::memcmp(undoHeader_.minimum.data(), header_.minimum.data(), sizeof header_.minimum) != 0 ||
        std::memcmp(undoHeader_.maximum.data(), header_.maximum.data(), sizeof header_.maximum) != 0;
    header_ = undoHeader_;
    return !extremesChanged || WriteHeader();
}

bool CBinMeasDataFile::ApplyExtreme(unsigned channel, float value) {
    if (channel > 1 || std::isnan(value)) {
        return false;
    }
    // While an extreme still holds its "none" marker, the first value sets it: the maximum's marker is the
    // smallest positive float, which no negative value exceeds, so a channel measuring only values below
    // zero would otherwise keep it and show a maximum of 0.
    const bool noMinimum =
        std::bit_cast<uint32_t>(header_.minimum[channel]) == MeasFileHeader::kNoMinimumBits;
    const bool noMaximum =
        std::bit_cast<uint32_t>(header_.maximum[channel]) == MeasFileHeader::kNoMaximumBits;
    bool changed = false;
    if (noMinimum || value < header_.minimum[channel]) {
        header_.minimum[channel] = value;
        changed = true;
    }
    if (noMaximum || value > header_.maximum[channel]) {
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
    // Files of earlier versions kept the marker for a maximum below zero; it still reads as "none".
    if (std::bit_cast<uint32_t>(maximum) != MeasFileHeader::kNoMaximumBits) {
        e.maximum = maximum;
    }
    return e;
}

} // namespace terrix

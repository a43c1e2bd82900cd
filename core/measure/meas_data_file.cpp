#include "core/measure/meas_data_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace terrix {

std::string MeasFileErrorText(int error) {
    switch (error) {
    case kMeasErrNone:
        return "no error";
    case kMeasErrShorterThanHeader:
        return "the file is shorter than a measurement file header";
    case kMeasErrWrongMagic:
        return "the file is not a measurement data file (wrong identification); it is left unchanged";
    case kMeasErrWrongVersion:
        return "the measurement data file has an unknown version; it is left unchanged";
    case kMeasErrNotOpen:
        return "the file is not open";
    case kMeasErrReadOnly:
        return "the file is open for reading only";
    case kMeasErrLayoutMismatch:
        return "the file's records do not match this module's record layout (did the module change?); it is "
               "left unchanged: erase the file or move it elsewhere to measure this module again";
    case kMeasErrNoRecord:
        return "no such record in the file";
    case kMeasErrNoRecordSize:
        return "no record size is set";
    case kMeasErrOtherModule:
        return "the file belongs to another module (its header names another serial number); it is left "
               "unchanged";
    default:
        break;
    }
    if (error == EWOULDBLOCK) {
        return "the file is in use by another writer";
    }
    return std::generic_category().message(error);
}

CMeasDataFile::CMeasDataFile(FileSystem& fs) : fs_(fs) {}

bool CMeasDataFile::Fail(int error) {
    lastError_ = error;
    return false;
}

bool CMeasDataFile::CheckWritable() {
    if (!handle_) {
        return Fail(kMeasErrNotOpen);
    }
    if (!IsWritable()) {
        return Fail(kMeasErrReadOnly);
    }
    return true;
}

bool CMeasDataFile::Open(uint32_t mode, uint16_t recordSize, const std::string& path) {
    mode_ = mode;
    recordSize_ = recordSize;
    path_ = path;
    handle_.reset();

    int error = 0;
    handle_ = fs_.Open(path, IsWritable() ? FileAccess::kReadWrite : FileAccess::kReadOnly, &error);
    if (!handle_) {
        return Fail(error);
    }
    const int64_t size = handle_->Size();
    bool ok = false;
    if (size < 0) {
        ok = Fail(handle_->LastError());
    } else if (size == 0) {
        // A reader finds the file empty until its writer has set it up.
        ok = IsWritable() ? OnCreateEmpty() : true;
    } else if (static_cast<uint64_t>(size) >= GetHeaderSize()) {
        ok = OnOpenExisting();
    } else {
        ok = Fail(kMeasErrShorterThanHeader);
    }
    if (!ok) {
        // Nothing may be written into a file that failed its checks.
        handle_.reset();
        return false;
    }
    ClearError();
    return true;
}

bool CMeasDataFile::OpenFor(uint32_t mode, uint16_t serial, const std::string& moduleName,
                            uint32_t channelMask, uint16_t recordSize, const std::string& directory) {
    serial_ = serial;
    moduleName_ = moduleName.substr(0, 15);
    channelMask_ = channelMask;
    recordSize_ = recordSize;
    return Open(mode, recordSize, BuildFileName(directory, serial, GetExtension()));
}

bool CMeasDataFile::WriteRecord(CMeasRecord& record) {
    if (!CheckWritable()) {
        return false;
    }
    if (record.GetSize() != recordSize_) {
        return Fail(kMeasErrLayoutMismatch);
    }
    int error = 0;
    if (!record.Write(*handle_, &error)) {
        return Fail(error);
    }
    return true;
}

bool CMeasDataFile::ReadRecord(CMeasRecord& record) {
    if (!handle_) {
        return Fail(kMeasErrNotOpen);
    }
    if (!record.Read(*handle_)) {
        return Fail(handle_->LastError() != 0 ? handle_->LastError() : kMeasErrNoRecord);
    }
    return true;
}

bool CMeasDataFile::ReadRecordAt(uint32_t index, CMeasRecord& record) {
    if (record.GetSize() != recordSize_) {
        return Fail(recordSize_ == 0 || recordSize_ == kRecordSizeUnset ? kMeasErrNoRecordSize
                                                                        : kMeasErrLayoutMismatch);
    }
    std::vector<uint8_t> bytes;
    return ReadRecordsAt(index, 1, bytes) == 1 && record.Unpack(bytes);
}

uint32_t CMeasDataFile::ReadRecordsAt(uint32_t first, uint32_t maxCount, std::vector<uint8_t>& out) {
    out.clear();
    if (!handle_) {
        Fail(kMeasErrNotOpen);
        return 0;
    }
    if (recordSize_ == 0 || recordSize_ == kRecordSizeUnset) {
        Fail(kMeasErrNoRecordSize);
        return 0;
    }
    if (maxCount == 0) {
        return 0;
    }
    lastError_ = 0;
    if (!ReadyToRead()) {
        if (lastError_ == 0) {
            Fail(kMeasErrNoRecord);
        }
        return 0;
    }
    out.resize(static_cast<size_t>(maxCount) * recordSize_);
    const uint64_t offset = GetHeaderSize() + static_cast<uint64_t>(first) * recordSize_;
    size_t got = 0;
    while (got < out.size()) {
        const int64_t n = handle_->ReadAt(out.data() + got, out.size() - got, offset + got);
        if (n < 0) {
            Fail(handle_->LastError());
            out.clear();
            return 0;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    // A part of a record at the end is not a record.
    const uint32_t whole = static_cast<uint32_t>(got / recordSize_);
    out.resize(static_cast<size_t>(whole) * recordSize_);
    if (whole == 0) {
        Fail(kMeasErrNoRecord);
    }
    return whole;
}

uint32_t CMeasDataFile::GetRecordCount() {
    if (!handle_ || recordSize_ == 0 || recordSize_ == kRecordSizeUnset) {
        return 0;
    }
    const int64_t size = handle_->Size();
    if (size < 0) {
        Fail(handle_->LastError());
        return 0;
    }
    if (static_cast<uint64_t>(size) < GetHeaderSize()) {
        return 0;
    }
    const uint64_t count = (static_cast<uint64_t>(size) - GetHeaderSize()) / recordSize_;
    return count > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(count);
}

void CMeasDataFile::UpdateExtremes(unsigned, float) {}

Extremes CMeasDataFile::GetExtremes(unsigned) {
    return Extremes{};
}

bool CMeasDataFile::Close() {
    if (!handle_) {
        return false;
    }
    handle_.reset();
    return true;
}

bool CMeasDataFile::Reopen() {
    Close();
    return Open(mode_, recordSize_, path_);
}

bool CMeasDataFile::SeekEnd() {
    if (!handle_) {
        return Fail(kMeasErrNotOpen);
    }
    return handle_->SeekEnd() >= 0 || Fail(handle_->LastError());
}

bool CMeasDataFile::SeekTo(uint64_t offset) {
    if (!handle_) {
        return Fail(kMeasErrNotOpen);
    }
    return handle_->Seek(offset) >= 0 || Fail(handle_->LastError());
}

bool CMeasDataFile::WriteBytes(const void* buffer, size_t count) {
    if (buffer == nullptr || count == 0) {
        return true;
    }
    if (!CheckWritable()) {
        return false;
    }
    int error = 0;
    return WriteWhole(*handle_, buffer, count, &error) || Fail(error);
}

std::string CMeasDataFile::BuildFileName(const std::string& directory, uint16_t serial,
                                         const char* extension) {
    const std::string name = std::to_string(serial) + extension;
    if (directory.empty()) {
        return name;
    }
    // Joined as text: the directory is UTF-8, which a path's narrow-string conversion would garble on
    // Windows. The system's own separator, as a path would join them.
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const char last = directory.back();
    return last == '/' || last == separator ? directory + name : directory + separator + name;
}

} // namespace terrix

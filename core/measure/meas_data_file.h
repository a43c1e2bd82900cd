#pragma once
// A measurement data file of one module: the common part of the binary measurement file and the ASCII
// file. It opens or creates the file by the module's serial number in a directory, counts the records
// after the header, and writes and reads whole records. Operations return false and leave the reason in
// LastError(): an errno value, or one of the negative codes below.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/file_handle.h"
#include "core/measure/meas_record.h"

namespace terrix {

// Open modes: 0 reads and writes (one writer at a time, others may read); any other value reads only.
inline constexpr uint32_t kMeasOpenReadWrite = 0;
inline constexpr uint32_t kMeasOpenReadOnly = 1;

inline constexpr uint16_t kRecordSizeUnset = 0xFFFF;

// Error codes of the file objects beside errno values (which are positive).
enum MeasFileError : int {
    kMeasErrNone = 0,
    kMeasErrShorterThanHeader = -2, // a file of 1..55 bytes: not a measurement file, left alone
    kMeasErrWrongMagic = -3,        // not a measurement file: never overwritten
    kMeasErrWrongVersion = -4,      // a version this program does not know: never overwritten
    kMeasErrNotOpen = -5,
    kMeasErrReadOnly = -6,       // writing through a file opened for reading
    kMeasErrLayoutMismatch = -7, // the file's records have another size than this module's records
    kMeasErrNoRecord = -8,       // the record index is beyond the last whole record
    kMeasErrNoRecordSize = -9,
    kMeasErrOtherModule = -10, // the header names another module (a file copied or renamed into place)
};

// A readable text for an error code of a file object or an errno value.
std::string MeasFileErrorText(int error);

struct Extremes {
    float minimum = 0;
    float maximum = 1.0f;
};

class CMeasDataFile {
public:
    explicit CMeasDataFile(FileSystem& fs = MachineFileSystem());
    virtual ~CMeasDataFile() = default;
    CMeasDataFile(const CMeasDataFile&) = delete;
    CMeasDataFile& operator=(const CMeasDataFile&) = delete;

    virtual const char* GetExtension() const { return ".XXX"; }

    // Opens the file at `path`, creating it when missing. An empty file opened for writing is set up by
    // OnCreateEmpty; an existing one is checked by OnOpenExisting. An empty file opened read-only stays
    // open and empty (its writer sets it up). A file that fails the checks is closed again and left as it
    // is. Closes a handle that was open before.
    virtual bool Open(uint32_t mode, uint16_t recordSize, const std::string& path);
    // Stores the module's identity and opens "<directory>/<serial><extension>".
    virtual bool OpenFor(uint32_t mode, uint16_t serial, const std::string& moduleName, uint32_t channelMask,
                         uint16_t recordSize, const std::string& directory);

    // The packed record at the file's position, whole or not at all.
    virtual bool WriteRecord(CMeasRecord& record);
    // A packed record from the file's position; the record keeps its values on failure.
    virtual bool ReadRecord(CMeasRecord& record);
    // Record `index` counted from the end of the header, without moving the file position.
    bool ReadRecordAt(uint32_t index, CMeasRecord& record);
    // Up to `maxCount` whole packed records from record `first` on into `out`; the number read, 0 (with
    // the reason) on failure or past the last whole record.
    uint32_t ReadRecordsAt(uint32_t first, uint32_t maxCount, std::vector<uint8_t>& out);

    // (file size - header size) / record size: a trailing part of a record is not counted. 0 while the
    // file is closed or the record size is unset.
    virtual uint32_t GetRecordCount();
    virtual uint32_t GetHeaderSize() const { return 0; }

    // Smallest and largest value of channel 0 or 1 (only the binary file keeps them).
    virtual void UpdateExtremes(unsigned channel, float value);
    virtual Extremes GetExtremes(unsigned channel);

    // False when not open.
    bool Close();
    // Close, then Open with the stored mode, record size and path.
    bool Reopen();
    bool SeekEnd();
    bool SeekTo(uint64_t offset);
    // All bytes at the position or none (see WriteWhole); true for an empty buffer.
    bool WriteBytes(const void* buffer, size_t count);

    bool IsOpen() const { return handle_ != nullptr; }
    const std::string& Path() const { return path_; }
    uint32_t Mode() const { return mode_; }
    bool IsWritable() const { return mode_ == kMeasOpenReadWrite; }
    uint16_t RecordSize() const { return recordSize_; }
    uint16_t Serial() const { return serial_; }
    const std::string& ModuleName() const { return moduleName_; }
    uint32_t ChannelMask() const { return channelMask_; }
    int LastError() const { return lastError_; }

    // "<directory>/<serial><extension>"; the directory may end in a separator or not, and an empty
    // directory gives the bare file name.
    static std::string BuildFileName(const std::string& directory, uint16_t serial, const char* extension);

protected:
    // Set-up of a new, empty file opened for writing, and the check of an existing one.
    virtual bool OnCreateEmpty() { return true; }
    virtual bool OnOpenExisting() { return true; }
    // Whether records can be read now (the binary file checks a header its writer wrote after it opened).
    virtual bool ReadyToRead() { return true; }

    FileHandle* Handle() { return handle_.get(); }
    FileSystem& Files() { return fs_; }
    bool Fail(int error);
    void ClearError() { lastError_ = 0; }
    // Open and writable, else false with the reason.
    bool CheckWritable();

private:
    FileSystem& fs_;
    std::unique_ptr<FileHandle> handle_;
    std::string path_;
    int lastError_ = 0;
    uint16_t recordSize_ = kRecordSizeUnset;
    uint32_t mode_ = kMeasOpenReadOnly;
    uint16_t serial_ = 0;
    std::string moduleName_; // at most 15 characters
    uint32_t channelMask_ = 0;
};

} // namespace terrix

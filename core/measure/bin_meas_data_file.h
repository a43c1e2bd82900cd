#pragma once
// The binary measurement file "<serial>.BinMeasData": the 56-byte header (see meas_file_header.h), then
// packed records of the module's layout, oldest first. The header also keeps each channel's smallest and
// largest value, updated with every record written.

#include <vector>

#include "core/measure/meas_data_file.h"
#include "core/measure/meas_file_header.h"

namespace terrix {

class CBinMeasDataFile final : public CMeasDataFile {
public:
    explicit CBinMeasDataFile(FileSystem& fs = MachineFileSystem()) : CMeasDataFile(fs) {}

    const char* GetExtension() const override { return ".BinMeasData"; }
    bool Open(uint32_t mode, uint16_t recordSize, const std::string& path) override;
    uint32_t GetHeaderSize() const override { return kMeasFileHeaderSize; }

    // Appends the record after the last whole record (a fragment left by a power loss is overwritten), then
    // updates the extremes from its values. On a failed write the file ends at the last whole record
    // again. When only the header's extremes could not be rewritten the record is stored and true is
    // returned; GetHeaderStatus() then says so.
    bool WriteRecord(CMeasRecord& record) override;
    // Takes the record of the last WriteRecord out again (the file ends where it ended before, the header's
    // extremes are those from before), for a record that its ASCII file could not take. Only right after
    // that WriteRecord; false when the file could not be cut back.
    bool UndoLastRecord();
    uint32_t GetRecordCount() override;

    // Channels 0 and 1: an error marker (any NaN) changes nothing; a smaller value becomes the minimum, a
    // larger one the maximum, and a changed header is rewritten in place.
    void UpdateExtremes(unsigned channel, float value) override;
    // Channels above 1 give (0, 1). The minimum is 0 while no value was stored, the maximum 0 while it is not
    // above the smallest normal float. A reader reads the header again, since its writer may have changed it.
    Extremes GetExtremes(unsigned channel) override;

    const MeasFileHeader& Header() const { return header_; }
    HeaderStatus GetHeaderStatus() const { return headerStatus_; }
    int HeaderOsError() const { return headerOsError_; }

protected:
    bool OnCreateEmpty() override;
    // Reads and checks the header; a file with a wrong magic or version, or whose records are not of the
    // module's size, is refused and never written to.
    bool OnOpenExisting() override;
    bool ReadyToRead() override { return EnsureHeader(); }

private:
    bool LoadHeader();
    bool EnsureHeader();
    bool WriteHeader();
    // Where the last WriteRecord put its record, and the header before it; 0 when there is nothing to undo.
    uint64_t undoOffset_ = 0;
    MeasFileHeader undoHeader_{};
    // Applies one value to the in-memory extremes; true when they changed.
    bool ApplyExtreme(unsigned channel, float value);
    bool HeaderMatchesRecordSize();

    MeasFileHeader header_;
    std::vector<uint8_t> packed_; // the record being written, kept to spare an allocation per record
    bool headerLoaded_ = false;
    HeaderStatus headerStatus_ = HeaderStatus::kNone;
    int headerOsError_ = 0;
};

} // namespace terrix

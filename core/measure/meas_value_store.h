#pragma once
// The stored measurements of one module: its binary measurement file (a writer and a reader on it), its
// ASCII file, the record the measuring step fills and appends, and the record the window reads into.
//
// Threads: the measuring loop fills AppendRecord() and calls Append on its timer thread while a window
// reads on the interface thread. The writing side (writer, ASCII file, append record) and the reading side
// (reader, read record, cached index) each have their own lock, so reading never waits for a slow disk
// write; Erase and RecreateAscii take both. The append record belongs to the measuring thread between
// Append calls and the read record to the reading thread.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/inventory/module_record.h"
#include "core/measure/asc_meas_data_file.h"
#include "core/measure/bin_meas_data_file.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/meas_record.h"

namespace terrix {

class CMeasValueStore {
public:
    explicit CMeasValueStore(FileSystem& fs = MachineFileSystem());
    ~CMeasValueStore();
    CMeasValueStore(const CMeasValueStore&) = delete;
    CMeasValueStore& operator=(const CMeasValueStore&) = delete;

    // The directory of the files; an empty path is ignored.
    void SetDirectory(const std::string& path);
    // Takes serial, name (first 15 characters), channel mask and TDC support of the module and builds the
    // append and read records of its layout. False for a module without a serial number (65535).
    bool Bind(const ModuleRecord& module);
    bool IsBound() const { return bound_; }

    bool OpenReader();
    // Opens the binary file for writing and the ASCII file (positioned at its end); true when both opened.
    bool OpenWriter();
    // What the measuring loop does for each module: nothing for a record in state msCollision (false);
    // else directory := the data directory, Bind, OpenReader, OpenWriter. A module not identified yet is
    // bound and its existing file read, but no file is created or opened for writing (false).
    bool Attach(const ModuleRecord& module);

    // The record the measuring step fills before Append: field 0 the stamp, then the values.
    CMeasRecord& AppendRecord() { return appendRecord_; }
    // Writes the append record to the binary file and its text line to the ASCII file; true only when
    // both were written. Files that are not open (first use, after Erase, or after an earlier failure such
    // as a file another program was writing) are opened first, the reader too.
    bool Append();

    // Reads record `index` into ReadRecordData(); at once when that record is already there. Records are
    // read from the file a block at a time, since lists and plots read neighbouring records; a record once
    // written never changes, so a block stays good until the file is erased or opened anew.
    bool ReadRecord(uint32_t index);
    CMeasRecord& ReadRecordData() { return readRecord_; }
    uint32_t RecordCount();
    // From the writer while it is open, else from the reader.
    Extremes GetExtremes(unsigned channel);

    // Closes the files and removes both; the next Append creates them anew. True when both are gone; a file
    // that could not be removed (another writer holds it) is opened again as it was.
    bool Erase();
    // Rebuilds the ASCII file from the binary file: title line, then one line per record. With no records
    // nothing is done (success). The new file is written beside the old one and put in its place only when
    // complete, so a failure leaves the old file as it was. False when the rebuild failed or a record could
    // not be read (the others are still written).
    bool RecreateAscii();
    // Closes writer and ASCII file; true when both were open. The reader closes with the store.
    bool Close();

    uint16_t Serial() const { return serial_; }
    const std::string& ModuleName() const { return moduleName_; }
    uint32_t ChannelMask() const { return channelMask_; }
    uint16_t RecordSize() const { return recordSize_; }
    MeasLayout Layout() const { return layout_; }
    const std::string& Directory() const { return directory_; }
    // "<directory>/<serial>.BinMeasData" and "<directory>/<serial>.ASC".
    std::string BinaryPath() const;
    std::string AsciiPath() const;

    // The reason of the latest failure: a MeasFileError code or errno value, and a text naming the file.
    int LastError() const;
    std::string LastErrorText() const;

private:
    bool OpenReaderLocked();
    void ForgetReadRecords();
    bool OpenBinaryWriterLocked();
    bool OpenAsciiLocked();
    void NoteError(const CMeasDataFile& file);
    void NoteError(const std::string& path, int error);
    bool RemoveFile(const std::string& path);
    void NoteMissingFilesLocked();
    void DropCreatedFilesLocked();

    FileSystem& fs_;
    mutable std::mutex writeMutex_; // writer, ASCII file, append record
    mutable std::mutex readMutex_;  // reader, read record, cached index
    mutable std::mutex errorMutex_;

    std::atomic<bool> bound_{false};
    uint16_t serial_ = 0;
    std::string moduleName_;
    uint32_t channelMask_ = 0;
    MeasLayout layout_ = MeasLayout::kTwoValue;
    uint16_t recordSize_ = kRecordSizeUnset;
    std::string directory_;

    CBinMeasDataFile writer_;
    CBinMeasDataFile reader_;
    CAscMeasDataFile ascii_;
    CMeasRecord appendRecord_;
    CMeasRecord readRecord_;
    int64_t cachedIndex_ = -1;
    std::vector<uint8_t> readAhead_; // whole records from readAheadFirst_ on
    uint32_t readAheadFirst_ = 0;
    uint32_t readAheadCount_ = 0;

    // Files this store created that have not received their first record yet.
    bool binaryCreated_ = false;
    bool asciiCreated_ = false;

    int lastError_ = 0;
    std::string lastErrorPath_;
};

} // namespace terrix

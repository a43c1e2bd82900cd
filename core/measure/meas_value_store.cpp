#include "core/measure/meas_value_store.h"

#include "core/platform/data_paths.h"
#include "core/platform/path_text.h"

namespace terrix {

namespace {

// Lines of a rebuilt ASCII file are collected up to this size before each write.
constexpr size_t kRebuildChunk = 64 * 1024;
// Records read from the binary file in one go when reading in order, and when jumping to a record far
// from the last block: a jump reads only the record's neighbourhood, so random access costs the same
// whatever the file's size, and reading on from there switches to whole blocks.
constexpr uint32_t kReadAheadRecords = 512;
constexpr uint32_t kJumpRecords = 16;

} // namespace

CMeasValueStore::CMeasValueStore(FileSystem& fs) : fs_(fs), writer_(fs), reader_(fs), ascii_(fs) {}

CMeasValueStore::~CMeasValueStore() = default;

void CMeasValueStore::SetDirectory(const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::scoped_lock lock(writeMutex_, readMutex_);
    directory_ = path;
}

bool CMeasValueStore::Bind(const ModuleRecord& module) {
    if (module.SerialNo() > kMaxValidSerial) {
        return false;
    }
    std::scoped_lock lock(writeMutex_, readMutex_);
    serial_ = module.SerialNo();
    moduleName_ = module.ModuleName().substr(0, 15);
    channelMask_ = module.dwMeasChannels;
    layout_ = ChooseLayout(moduleName_, channelMask_, module.bHasTDCSupport != 0);
    appendRecord_ = MakeRecord(layout_);
    readRecord_ = MakeRecord(layout_);
    recordSize_ = appendRecord_.GetSize();
    ForgetReadRecords();
    bound_ = recordSize_ != 0;
    return bound_;
}

bool CMeasValueStore::OpenReaderLocked() {
    ForgetReadRecords();
    if (!reader_.OpenFor(kMeasOpenReadOnly, serial_, moduleName_, channelMask_, recordSize_, directory_)) {
        NoteError(reader_);
        return false;
    }
    return true;
}

bool CMeasValueStore::OpenBinaryWriterLocked() {
    if (!writer_.OpenFor(kMeasOpenReadWrite, serial_, moduleName_, channelMask_, recordSize_, directory_)) {
        NoteError(writer_);
        return false;
    }
    return true;
}

bool CMeasValueStore::OpenAsciiLocked() {
    if (!ascii_.OpenWithTitle(kMeasOpenReadWrite, serial_, moduleName_, channelMask_, recordSize_, directory_,
                              appendRecord_.BuildTitleLine())) {
        NoteError(ascii_);
        return false;
    }
    return true;
}

bool CMeasValueStore::OpenReader() {
    if (!bound_) {
        return false;
    }
    std::lock_guard lock(readMutex_);
    return OpenReaderLocked();
}

bool CMeasValueStore::OpenWriter() {
    if (!bound_) {
        return false;
    }
    std::lock_guard lock(writeMutex_);
    NoteMissingFilesLocked();
    // Without the binary file no record can be stored, so the ASCII file is not touched: the reason
    // reported is the file that failed.
    if (!OpenBinaryWriterLocked() || !OpenAsciiLocked()) {
        DropCreatedFilesLocked();
        return false;
    }
    return true;
}

void CMeasValueStore::NoteMissingFilesLocked() {
    if (!writer_.IsOpen() && !fs_.Exists(BinaryPath())) {
        binaryCreated_ = true;
    }
    if (!ascii_.IsOpen() && !fs_.Exists(AsciiPath())) {
        asciiCreated_ = true;
    }
}

// A file this store created and could not write its first record to is taken away again, so a full disk
// leaves no empty measurement files behind. A file that was there before is never removed.
void CMeasValueStore::DropCreatedFilesLocked() {
    int error = 0;
    if (binaryCreated_) {
        writer_.Close();
        {
            std::lock_guard readLock(readMutex_);
            reader_.Close();
            ForgetReadRecords();
        }
        binaryCreated_ = !fs_.Remove(BinaryPath(), &error);
    }
    if (asciiCreated_) {
        ascii_.Close();
        asciiCreated_ = !fs_.Remove(AsciiPath(), &error);
    }
}

bool CMeasValueStore::Attach(const ModuleRecord& module) {
    // Files are named by serial number: a record without a known one would share them with every other.
    if (module.enModuleState == msCollision || !IsKnownSerial(module.SerialNo())) {
        return false;
    }
    SetDirectory(PathText(DataDir()));
    if (!Bind(module)) {
        return false;
    }
    if (module.enModuleState != msIdentified) {
        // A module this run has not identified (listed from the saved bus) is known only by its module
        // file, which may be lost or older than the module: its layout is a guess until it answers. Its
        // stored values are read, but no file is made for it, or the new file's header would fix a layout
        // that every later record of the module then fails to match.
        if (fs_.Exists(BinaryPath())) {
            OpenReader();
        }
        return false;
    }
    {
        // The reader creates a missing binary file too, so what is missing is noted before it opens.
        std::lock_guard lock(writeMutex_);
        NoteMissingFilesLocked();
    }
    const bool reader = OpenReader();
    const bool writer = OpenWriter();
    return reader && writer;
}

bool CMeasValueStore::Append() {
    if (!bound_) {
        return false;
    }
    std::lock_guard lock(writeMutex_);
    NoteMissingFilesLocked();
    if (!writer_.IsOpen()) {
        OpenBinaryWriterLocked();
    }
    if (writer_.IsOpen() && !ascii_.IsOpen()) {
        OpenAsciiLocked();
    }
    {
        std::lock_guard readLock(readMutex_);
        if (!reader_.IsOpen()) {
            OpenReaderLocked();
        }
    }

    // Both files hold the same records, so that the values listed and the ASCII file never disagree: a
    // record goes into neither when a file could not be opened (its reason is noted already), the ASCII
    // line only after the binary record was stored, and a record whose line could not be written is taken
    // out of the binary file again.
    if (!writer_.IsOpen() || !ascii_.IsOpen()) {
        DropCreatedFilesLocked();
        return false;
    }
    if (!writer_.WriteRecord(appendRecord_)) {
        NoteError(writer_);
        DropCreatedFilesLocked();
        return false;
    }
    if (writer_.GetHeaderStatus() != HeaderStatus::kNone) {
        NoteError(writer_); // the record is stored; only the header's extremes are behind
    }
    if (!ascii_.WriteRecord(appendRecord_)) {
        NoteError(ascii_);
        writer_.UndoLastRecord();
        DropCreatedFilesLocked();
        return false;
    }
    binaryCreated_ = false;
    asciiCreated_ = false;
    return true;
}

bool CMeasValueStore::ReadRecord(uint32_t index) {
    std::lock_guard lock(readMutex_);
    if (cachedIndex_ == static_cast<int64_t>(index)) {
        return true;
    }
    if (index < readAheadFirst_ || index - readAheadFirst_ >= readAheadCount_) {
        const bool forwards = readAheadCount_ != 0 && index == readAheadFirst_ + readAheadCount_;
        const bool backwards = readAheadCount_ != 0 && index + 1 == readAheadFirst_;
        const uint32_t want = forwards || backwards ? kReadAheadRecords : kJumpRecords;
        // Reading backwards (a list scrolled up) gets the block that ends at the record.
        uint32_t first = index;
        if (backwards) {
            first = index + 1 >= want ? index + 1 - want : 0;
        }
        readAheadCount_ = reader_.ReadRecordsAt(first, want, readAhead_);
        readAheadFirst_ = first;
        if (readAheadCount_ == 0 || index - first >= readAheadCount_) {
            // The read record keeps its values, so the cached index stays true to it.
            NoteError(reader_);
            return false;
        }
    }
    const size_t offset = static_cast<size_t>(index - readAheadFirst_) * recordSize_;
    readRecord_.Unpack(std::span<const uint8_t>(readAhead_).subspan(offset, recordSize_));
    cachedIndex_ = index;
    return true;
}

void CMeasValueStore::ForgetReadRecords() {
    cachedIndex_ = -1;
    readAheadCount_ = 0;
    readAhead_.clear();
}

uint32_t CMeasValueStore::RecordCount() {
    std::lock_guard lock(readMutex_);
    return reader_.GetRecordCount();
}

Extremes CMeasValueStore::GetExtremes(unsigned channel) {
    {
        std::lock_guard lock(writeMutex_);
        if (writer_.IsOpen()) {
            return writer_.GetExtremes(channel);
        }
    }
    std::lock_guard lock(readMutex_);
    return reader_.GetExtremes(channel);
}

bool CMeasValueStore::RemoveFile(const std::string& path) {
    int error = 0;
    if (!fs_.Remove(path, &error)) {
        NoteError(path, error);
        return false;
    }
    return true;
}

bool CMeasValueStore::Erase() {
    std::scoped_lock lock(writeMutex_, readMutex_);
    const bool readerWasOpen = reader_.Close();
    const bool writerWasOpen = writer_.Close();
    const bool asciiWasOpen = ascii_.Close();
    ForgetReadRecords();
    if (!bound_) {
        return true;
    }
    const bool binary = RemoveFile(BinaryPath());
    const bool text = RemoveFile(AsciiPath());
    // A file that is still there (another program holds it) stays in use as before.
    if (!binary && readerWasOpen) {
        reader_.Reopen();
    }
    if (!binary && writerWasOpen) {
        writer_.Reopen();
    }
    if (!text && asciiWasOpen && ascii_.Reopen() && !ascii_.SeekEnd()) {
        // Not at the end, lines would overwrite what is there: the next append opens it anew.
        NoteError(ascii_);
        ascii_.Close();
    }
    return binary && text;
}

bool CMeasValueStore::RecreateAscii() {
    std::scoped_lock lock(writeMutex_, readMutex_);
    const uint32_t count = reader_.GetRecordCount();
    if (count == 0) {
        return true;
    }
    const std::string path = AsciiPath();
    const std::string temp = path + ".tmp";
    const std::string title = appendRecord_.BuildTitleLine();

    ascii_.Close();
    int error = 0;
    std::unique_ptr<FileHandle> out = fs_.Open(temp, FileAccess::kReplace, &error);
    if (!out) {
        NoteError(temp, error);
        OpenAsciiLocked();
        return false;
    }

    bool recordFailed = false;
    bool writeFailed = false;
    std::string chunk = CAscMeasDataFile::TitleLineFor(serial_, moduleName_, channelMask_, title);
    std::vector<uint8_t> block;
    for (uint32_t first = 0; first < count && !writeFailed; first += kReadAheadRecords) {
        const uint32_t want = count - first < kReadAheadRecords ? count - first : kReadAheadRecords;
        const uint32_t got = reader_.ReadRecordsAt(first, want, block);
        if (got < want) {
            NoteError(reader_);
            recordFailed = true;
        }
        for (uint32_t k = 0; k < got; ++k) {
            readRecord_.Unpack(std::span<const uint8_t>(block).subspan(static_cast<size_t>(k) * recordSize_));
            readRecord_.AppendTextLine(chunk);
        }
        if (chunk.size() >= kRebuildChunk || first + want >= count) {
            writeFailed = !WriteWhole(*out, chunk.data(), chunk.size(), &error);
            chunk.clear();
        }
    }
    // The read record now holds whatever was converted last.
    ForgetReadRecords();
    // The old file is replaced only by a complete new one that has reached the disk.
    if (!writeFailed && !out->Sync()) {
        error = out->LastError();
        writeFailed = true;
    }
    out.reset();
    if (writeFailed || !fs_.Replace(temp, path, &error)) {
        NoteError(writeFailed ? temp : path, error);
        int ignored = 0;
        fs_.Remove(temp, &ignored);
        OpenAsciiLocked();
        return false;
    }
    if (!OpenAsciiLocked()) {
        return false;
    }
    return !recordFailed;
}

bool CMeasValueStore::Close() {
    std::lock_guard lock(writeMutex_);
    const bool binary = writer_.Close();
    const bool text = ascii_.Close();
    return binary && text;
}

std::string CMeasValueStore::BinaryPath() const {
    return CMeasDataFile::BuildFileName(directory_, serial_, ".BinMeasData");
}

std::string CMeasValueStore::AsciiPath() const {
    return CMeasDataFile::BuildFileName(directory_, serial_, ".ASC");
}

void CMeasValueStore::NoteError(const CMeasDataFile& file) {
    NoteError(file.Path(), file.LastError());
}

void CMeasValueStore::NoteError(const std::string& path, int error) {
    std::lock_guard lock(errorMutex_);
    lastError_ = error;
    lastErrorPath_ = path;
}

int CMeasValueStore::LastError() const {
    std::lock_guard lock(errorMutex_);
    return lastError_;
}

std::string CMeasValueStore::LastErrorText() const {
    std::lock_guard lock(errorMutex_);
    if (lastError_ == 0) {
        return {};
    }
    return lastErrorPath_.empty() ? MeasFileErrorText(lastError_)
                                  : lastErrorPath_ + ": " + MeasFileErrorText(lastError_);
}

} // namespace terrix

#pragma once
// The few file operations the measurement files need, behind an interface: the real one works on the
// machine's files (POSIX descriptors or Windows handles), and tests put one in its place that fails the way
// a full disk or a broken medium does. Error codes are errno values on every system.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace terrix {

class FileHandle {
public:
    virtual ~FileHandle() = default;

    // Each returns the byte count, or -1 with the errno value in LastError(). Read and Write work at the
    // current position and move it; ReadAt and WriteAt leave it alone.
    virtual int64_t Read(void* buffer, size_t count) = 0;
    virtual int64_t Write(const void* buffer, size_t count) = 0;
    virtual int64_t ReadAt(void* buffer, size_t count, uint64_t offset) = 0;
    virtual int64_t WriteAt(const void* buffer, size_t count, uint64_t offset) = 0;

    // The new position, or -1.
    virtual int64_t Seek(uint64_t offset) = 0;
    virtual int64_t SeekEnd() = 0;
    virtual int64_t Position() = 0;
    // The file's size, or -1.
    virtual int64_t Size() = 0;
    virtual bool Truncate(uint64_t size) = 0;
    // Flushes the file's data to the medium.
    virtual bool Sync() = 0;

    virtual int LastError() const = 0;
};

enum class FileAccess {
    kReadWrite, // created when missing; one writer at a time, others may read
    kReadOnly,  // created when missing; others may read and write
    kReplace,   // created empty (an existing file is cut to zero); one writer at a time
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // nullptr with the errno value in *error on failure. A second writer on a file that a writer (of this or
    // another process) holds open fails with EWOULDBLOCK.
    virtual std::unique_ptr<FileHandle> Open(const std::string& path, FileAccess access, int* error) = 0;
    // Removes the file; fails with EWOULDBLOCK while a writer holds it open. A missing file counts as
    // removed.
    virtual bool Remove(const std::string& path, int* error) = 0;
    // Puts `from` in the place of `to` in one step; fails with EWOULDBLOCK while a writer holds `to` open.
    virtual bool Replace(const std::string& from, const std::string& to, int* error) = 0;
    // Whether the file is there (of any kind; a symbolic link counts even when dangling). The default asks
    // the machine, which suits the file systems that pass on to it.
    virtual bool Exists(const std::string& path);
};

// The file system of the machine. Paths are UTF-8.
FileSystem& MachineFileSystem();

// What names one file on the machine however it is reached (device and inode, or volume and file index):
// a file that was erased and made anew under the same name gets another identity.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};
// False when the file is missing or cannot be asked.
bool IdentifyFile(const std::string& path, FileIdentity* identity);

// Writes all bytes at `offset` of a file that was `sizeBefore` bytes long. A write that fails part-way is
// taken back: when the write was to reach the old end of the file or beyond, the file is cut back to
// `offset`, so it never ends in a fragment. On failure the errno value (EIO when the medium accepted less
// without saying why) is in *error.
bool WriteWholeAt(FileHandle& file, const void* buffer, size_t count, uint64_t offset, uint64_t sizeBefore,
                  int* error);

// The same at the current position, which then stands after the bytes written (or where it was, on
// failure).
bool WriteWhole(FileHandle& file, const void* buffer, size_t count, int* error);

// Reads exactly `count` bytes at `offset`; false on an error or when the file ends first (*error then 0).
bool ReadWholeAt(FileHandle& file, void* buffer, size_t count, uint64_t offset, int* error);

} // namespace terrix

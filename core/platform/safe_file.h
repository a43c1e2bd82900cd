#pragma once
// Replacing a small file (settings, module and parameter files) so that a crash, a full disk or a pulled
// medium never leaves half a file, and locking such a file against other programs while it is changed.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace terrix {

// Puts `bytes` in the place of `file` in one step: written to a new temporary file beside it (which no
// planted link can redirect), flushed to the medium, then moved over the file. The file's permissions are
// kept. False with an errno value in *error; the old file is then unchanged. Temporary files of earlier
// saves whose process was killed are removed first. *opened (when given) tells whether the temporary file
// could be made, so that a caller can word a failure to open apart from one to write.
bool ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes, int* error,
                         bool* opened = nullptr);

// An exclusive lock, across processes, on "<file>.lock", held until destroyed. Where the lock file cannot
// be made (a folder without write access) there is no lock; the write then fails on its own anyway.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return handle_ != kNone; }

private:
    static constexpr intptr_t kNone = -1;
    intptr_t handle_ = kNone;
};

} // namespace terrix

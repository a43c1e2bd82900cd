#pragma once
// Helpers of the fuzz targets: a failed check that libFuzzer reports with its input, and a file system in
// memory for the measurement files, so that millions of runs neither wear the disk nor spend their time in
// system calls.

#include "core/platform/file_handle.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace terrix::fuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Files are byte vectors by path; a handle works on the vector while it is open. No locks: one writer at a
// time is the caller's business here.
class MemoryFileSystem final : public FileSystem {
public:
    std::vector<uint8_t>& operator[](const std::string& path) { return files_[path]; }

    std::unique_ptr<FileHandle> Open(const std::string& path, FileAccess access, int* error) override {
        *error = 0;
        std::vector<uint8_t>& bytes = files_[path];
        if (access == FileAccess::kReplace) {
            bytes.clear();
        }
        return std::make_unique<Handle>(bytes);
    }
    bool Remove(const std::string& path, int* error) override {
        *error = 0;
        files_.erase(path);
        return true;
    }
    bool Replace(const std::string& from, const std::string& to, int* error) override {
        *error = 0;
        files_[to] = std::move(files_[from]);
        files_.erase(from);
        return true;
    }
    bool Exists(const std::string& path) override { return files_.count(path) != 0; }

private:
    class Handle final : public FileHandle {
    public:
        explicit Handle(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        int64_t Read(void* buffer, size_t count) override { return Moved(ReadAt(buffer, count, position_)); }
        int64_t Write(const void* buffer, size_t count) override {
            return Moved(WriteAt(buffer, count, position_));
        }
        int64_t ReadAt(void* buffer, size_t count, uint64_t offset) override {
            const size_t n = offset < bytes_.size() ? std::min<size_t>(count, bytes_.size() - offset) : 0;
            if (n != 0) {
                std::memcpy(buffer, bytes_.data() + offset, n);
            }
            return static_cast<int64_t>(n);
        }
        int64_t WriteAt(const void* buffer, size_t count, uint64_t offset) override {
            if (count != 0) {
                bytes_.resize(std::max<size_t>(bytes_.size(), offset + count));
                std::memcpy(bytes_.data() + offset, buffer, count);
            }
            return static_cast<int64_t>(count);
        }
        int64_t Seek(uint64_t offset) override { return static_cast<int64_t>(position_ = offset); }
        int64_t SeekEnd() override { return Seek(bytes_.size()); }
        int64_t Position() override { return static_cast<int64_t>(position_); }
        int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }
        bool Truncate(uint64_t size) override {
            bytes_.resize(size);
            return true;
        }
        bool Sync() override { return true; }
        int LastError() const override { return 0; }

    private:
        int64_t Moved(int64_t n) {
            position_ += static_cast<uint64_t>(n);
            return n;
        }

        std::vector<uint8_t>& bytes_;
        uint64_t position_ = 0;
    };

    std::map<std::string, std::vector<uint8_t>> files_;
};

} // namespace terrix::fuzz

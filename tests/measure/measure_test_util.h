#pragma once
// Helpers of the measurement tests: module records of each kind, and a file system that runs out of space
// after a set number of bytes.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <string>

#include "core/inventory/module_record.h"
#include "core/platform/file_handle.h"
#include "support/temp_dir.h"

namespace terrix::test {

inline ModuleRecord MakeModule(uint16_t serial, const std::string& name, uint32_t channelMask,
                               bool tdc = false) {
    ModuleRecord m;
    m.enModuleState = msIdentified;
    m.stationInfo.wSerialNo = serial;
    m.stationInfo.SetModuleName(name);
    m.dwMeasChannels = channelMask;
    m.bHasTDCSupport = tdc ? 1 : 0;
    return m;
}

// The machine's file system with a space budget: once files have grown by `budget` bytes through it, a
// write takes what still fits and then fails with ENOSPC, as on a full disk.
class FullDiskFileSystem final : public FileSystem {
public:
    explicit FullDiskFileSystem(int64_t budget) : budget_(budget) {}
    void SetBudget(int64_t budget) { budget_ = budget; }
    // Writes at offset 0 of an existing file fail with EIO (a damaged first sector): the header cannot be
    // rewritten while records can still be appended.
    void FailHeaderRewrites(bool fail) { failHeader_ = fail; }

    std::unique_ptr<FileHandle> Open(const std::string& path, FileAccess access, int* error) override {
        auto inner = MachineFileSystem().Open(path, access, error);
        if (!inner) {
            return nullptr;
        }
        return std::make_unique<Handle>(std::move(inner), budget_, failHeader_);
    }
    bool Remove(const std::string& path, int* error) override {
        return MachineFileSystem().Remove(path, error);
    }
    bool Replace(const std::string& from, const std::string& to, int* error) override {
        return MachineFileSystem().Replace(from, to, error);
    }

private:
    class Handle final : public FileHandle {
    public:
        Handle(std::unique_ptr<FileHandle> inner, std::atomic<int64_t>& budget, std::atomic<bool>& failHeader)
            : inner_(std::move(inner)), budget_(budget), failHeader_(failHeader) {}
        int64_t Read(void* b, size_t n) override { return inner_->Read(b, n); }
        int64_t ReadAt(void* b, size_t n, uint64_t o) override { return inner_->ReadAt(b, n, o); }
        int64_t Write(const void* b, size_t n) override {
            const int64_t position = inner_->Position();
            const size_t allowed = position < 0 ? n : Take(n, static_cast<uint64_t>(position));
            return allowed == 0 ? -1 : inner_->Write(b, allowed);
        }
        int64_t WriteAt(const void* b, size_t n, uint64_t o) override {
            if (failHeader_ && o == 0 && inner_->Size() > 0) {
                failedInPlace_ = true;
                return -1;
            }
            const size_t allowed = Take(n, o);
            return allowed == 0 ? -1 : inner_->WriteAt(b, allowed, o);
        }
        int64_t Seek(uint64_t o) override { return inner_->Seek(o); }
        int64_t SeekEnd() override { return inner_->SeekEnd(); }
        int64_t Position() override { return inner_->Position(); }
        int64_t Size() override { return inner_->Size(); }
        bool Truncate(uint64_t s) override { return inner_->Truncate(s); }
        bool Sync() override { return inner_->Sync(); }
        int LastError() const override { return failedInPlace_ ? EIO : full_ ? ENOSPC : inner_->LastError(); }

    private:
        // Only bytes that make the file grow use up space; overwriting in place always works.
        size_t Take(size_t n, uint64_t offset) {
            const int64_t size = inner_->Size();
            const int64_t room = size + std::max<int64_t>(budget_.load(), 0) - static_cast<int64_t>(offset);
            const size_t allowed = static_cast<size_t>(std::clamp<int64_t>(room, 0, static_cast<int64_t>(n)));
            budget_ -= std::max<int64_t>(static_cast<int64_t>(offset + allowed) - size, 0);
            full_ = allowed == 0;
            return allowed;
        }
        std::unique_ptr<FileHandle> inner_;
        std::atomic<int64_t>& budget_;
        std::atomic<bool>& failHeader_;
        bool full_ = false;
        bool failedInPlace_ = false;
    };

    std::atomic<int64_t> budget_;
    std::atomic<bool> failHeader_{false};
};

} // namespace terrix::test

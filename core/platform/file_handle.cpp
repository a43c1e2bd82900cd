#include "core/platform/file_handle.h"

#include <cerrno>

namespace terrix {

bool WriteWholeAt(FileHandle& file, const void* buffer, size_t count, uint64_t offset, uint64_t sizeBefore,
                  int* error) {
    *error = 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const int64_t n = file.WriteAt(bytes + done, count - done, offset + done);
        if (n <= 0) {
            // A medium that takes nothing without an error code is as full as one that says so.
            *error = n < 0 ? file.LastError() : EIO;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (done == count) {
        return true;
    }
    // Bytes from `offset` on are a fragment of this write only: cut them off so the file ends where the
    // last whole write ended. Bytes overwritten in the middle of a file cannot be taken back. A fragment
    // that stays (the cut failed too) is no whole record or line, and the next write starts before it.
    if (offset + count >= sizeBefore && !file.Truncate(offset < sizeBefore ? offset : sizeBefore) &&
        *error == 0) {
        *error = file.LastError();
    }
    return false;
}

bool WriteWhole(FileHandle& file, const void* buffer, size_t count, int* error) {
    *error = 0;
    if (count == 0) {
        return true;
    }
    const int64_t start = file.Position();
    const int64_t size = file.Size();
    if (start < 0 || size < 0) {
        *error = file.LastError();
        return false;
    }
    const uint64_t offset = static_cast<uint64_t>(start);
    if (!WriteWholeAt(file, buffer, count, offset, static_cast<uint64_t>(size), error)) {
        return false;
    }
    // The next write goes where this one ended; a position that could not be set would put it elsewhere.
    if (file.Seek(offset + count) < 0) {
        *error = file.LastError();
        return false;
    }
    return true;
}

bool ReadWholeAt(FileHandle& file, void* buffer, size_t count, uint64_t offset, int* error) {
    *error = 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const int64_t n = file.ReadAt(bytes + done, count - done, offset + done);
        if (n < 0) {
            *error = file.LastError();
            return false;
        }
        if (n == 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace terrix

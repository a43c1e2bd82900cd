#pragma once
// Why a write of inventory data (settings file or module file) failed: the system's error code and the
// file concerned, so that a window or the command-line tool can name both.

#include <filesystem>
#include <string>

namespace terrix {

// A record without a serial number (a collision placeholder) has no module file.
inline constexpr int kNoSerialNumber = -1;

struct InventoryFileError {
    int code = 0; // errno value, or kNoSerialNumber
    std::filesystem::path file;

    bool Failed() const { return code != 0; }
    // "<file>: <system text>" in English, for logs and the command-line tool.
    std::string Message() const;
};

// Keeps the first failure: later writes of the same operation do not hide it.
inline void NoteFileError(InventoryFileError* error, int code, const std::filesystem::path& file) {
    if (error != nullptr && !error->Failed() && code != 0) {
        error->code = code;
        error->file = file;
    }
}

} // namespace terrix

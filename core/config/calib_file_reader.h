#pragma once
// The line tokenizer of the calibration files (LOC, CAL, TDC). It reads byte by byte and delivers comment
// lines (starting with ";", kept with it) and key=value entries; lines starting with a blank or control
// byte are skipped. A key runs up to the first "=", line feeds included, so a line without "=" joins the
// next one. Texts are cut to 255 bytes, as the fields that keep them.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <string>

namespace terrix {

class CCalibFileReader {
public:
    enum class Error {
        None,
        System, // the file cannot be opened (SystemError() holds errno)
        Format, // an entry without key or without value
    };

    struct Item {
        bool isComment = false;
        std::string text;  // the comment line with its ";", or the entry's key
        std::string value; // the entry's value (carriage returns dropped)
    };

    static constexpr size_t kMaxText = 255;

    explicit CCalibFileReader(const std::filesystem::path& path);
    // Reads from memory (file contents given whole).
    static CCalibFileReader FromText(std::string contents);
    // A file that could not be opened (errno value `systemError`).
    static CCalibFileReader Unreadable(int systemError);

    CCalibFileReader(CCalibFileReader&&) noexcept = default;
    CCalibFileReader& operator=(CCalibFileReader&&) noexcept = default;

    bool IsOpen() const { return error_ != Error::System; }
    // The next item; false at the end of the file or on an error.
    bool NextItem(Item& item);

    Error LastError() const { return error_; }
    int SystemError() const { return systemError_; }

private:
    CCalibFileReader() = default;
    int NextByte(); // -1 at the end

    std::unique_ptr<std::istream> stream_;
    Error error_ = Error::None;
    int systemError_ = 0;
    bool ended_ = false;
};

} // namespace terrix

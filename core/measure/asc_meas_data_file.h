#pragma once
// The ASCII measurement file "<serial>.ASC": a title line, then one tab-separated text line per record
// ("\r\n" at the end of each), for spreadsheets and other tools.

#include <string>

#include "core/measure/meas_data_file.h"

namespace terrix {

class CAscMeasDataFile final : public CMeasDataFile {
public:
    explicit CAscMeasDataFile(FileSystem& fs = MachineFileSystem()) : CMeasDataFile(fs) {}

    const char* GetExtension() const override { return ".ASC"; }

    // Keeps the title, opens the file (a new file gets the title line) and in mode 0 moves to its end.
    bool OpenWithTitle(uint32_t mode, uint16_t serial, const std::string& moduleName, uint32_t channelMask,
                       uint16_t recordSize, const std::string& directory, const std::string& title);

    // Appends the record's text line at the end of the file, whole or not at all.
    bool WriteRecord(CMeasRecord& record) override;

    // The line a new file starts with. For every module but the XV module (name compared without regard
    // to case): "Date/Time", then "\t<serial>_1" and "\t<serial>_2" for the channels in the mask, and a line
    // feed alone. For the XV module: `recordTitle`, the record's titles joined by tabs and ended with "\r\n".
    static std::string TitleLineFor(uint16_t serial, const std::string& moduleName, uint32_t channelMask,
                                    const std::string& recordTitle);
    std::string TitleLine() const;

protected:
    bool OnCreateEmpty() override;
    // Notes whether the last line lacks its end (a write cut short by a power loss), so that the next line
    // starts on a line of its own.
    bool OnOpenExisting() override;

private:
    std::string title_;
    bool lineOpen_ = false;
};

} // namespace terrix

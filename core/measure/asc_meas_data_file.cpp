#include "core/measure/asc_meas_data_file.h"

#include "core/measure/c_locale_format.h"
#include "core/measure/meas_layouts.h"
#include "core/platform/ini_document.h"

namespace terrix {

bool CAscMeasDataFile::OpenWithTitle(uint32_t mode, uint16_t serial, const std::string& moduleName,
                                     uint32_t channelMask, uint16_t recordSize, const std::string& directory,
                                     const std::string& title) {
    title_ = title;
    if (!OpenFor(mode, serial, moduleName, channelMask, recordSize, directory)) {
        return false;
    }
    return !IsWritable() || SeekEnd();
}

std::string CAscMeasDataFile::TitleLineFor(uint16_t serial, const std::string& moduleName,
                                           uint32_t channelMask, const std::string& recordTitle) {
    if (EqualsIgnoreCase(moduleName, kXvModuleName)) {
        return recordTitle;
    }
    std::string line = "Date/Time";
    for (unsigned channel = 1; channel <= 2; ++channel) {
        if ((channelMask & channel) != 0) {
            line += FormatC("\t%u_%u", static_cast<unsigned>(serial), channel);
        }
    }
    line += "\n";
    return line;
}

std::string CAscMeasDataFile::TitleLine() const {
    return TitleLineFor(Serial(), ModuleName(), ChannelMask(), title_);
}

bool CAscMeasDataFile::OnCreateEmpty() {
    lineOpen_ = false;
    const std::string line = TitleLine();
    return WriteBytes(line.data(), line.size());
}

bool CAscMeasDataFile::OnOpenExisting() {
    lineOpen_ = false;
    const int64_t size = Handle()->Size();
    if (size > 0 && IsWritable()) {
        char last = '\n';
        int error = 0;
        if (!ReadWholeAt(*Handle(), &last, 1, static_cast<uint64_t>(size - 1), &error)) {
            return Fail(error != 0 ? error : kMeasErrNoRecord);
        }
        lineOpen_ = last != '\n';
    }
    return true;
}

bool CAscMeasDataFile::WriteRecord(CMeasRecord& record) {
    if (!CheckWritable()) {
        return false;
    }
    std::string line = lineOpen_ ? "\r\n" : "";
    line += record.BuildTextLine();
    const int64_t size = Handle()->Size();
    if (size < 0) {
        return Fail(Handle()->LastError());
    }
    int error = 0;
    const uint64_t end = static_cast<uint64_t>(size);
    if (!WriteWholeAt(*Handle(), line.data(), line.size(), end, end, &error)) {
        return Fail(error);
    }
    lineOpen_ = false;
    return true;
}

} // namespace terrix

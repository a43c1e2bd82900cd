#include "core/measure/csv_export.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "core/measure/c_locale_format.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"

namespace terrix {

namespace {

// A cell as it stands in the file: quoted when it holds the separator, a quote or a line break.
void AppendCell(std::string& line, const std::string& cell, char separator) {
    const bool quote = cell.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string::npos;
    if (!quote) {
        line += cell;
        return;
    }
    line += '"';
    for (char c : cell) {
        line += c;
        if (c == '"') {
            line += '"';
        }
    }
    line += '"';
}

std::string IsoStamp(uint32_t stamp) {
    const StampParts p = UnpackTimeStamp(stamp);
    return FormatC("%04u-%02u-%02uT%02u:%02u:%02u", p.year, p.month, p.day, p.hour, p.minute, p.second);
}

std::string ValueCell(CMeasRecord& record, size_t i, const CsvOptions& options) {
    if (record.IsErrorMarker(i) && options.emptyErrorCells) {
        return {};
    }
    std::string text = record.Format(i);
    const CMeasField* field = record.Field(i);
    if (field != nullptr && field->Kind() == MeasFieldKind::kFloat && !record.IsErrorMarker(i)) {
        std::replace(text.begin(), text.end(), '.', options.decimalMark);
    }
    return text;
}

std::string HeaderLine(const CMeasRecord& record, const std::vector<std::string>& units, char separator) {
    std::string line;
    for (size_t i = 0; i < record.FieldCount(); ++i) {
        if (i > 0) {
            line += separator;
        }
        std::string title = record.GetTitle(i);
        if (i > 0 && i < units.size() && !units[i].empty()) {
            title += " [" + units[i] + "]";
        }
        AppendCell(line, title, separator);
    }
    return line + "\r\n";
}

// Writes header and records through `emit` a block of lines at a time; false when emit fails or a record
// cannot be read.
template <typename Emit>
bool WriteCsv(CMeasValueStore& store, const std::vector<std::string>& units, uint32_t begin, uint32_t end,
              const CsvOptions& options, std::string* error, Emit emit) {
    CMeasRecord& record = store.ReadRecordData();
    std::string block = options.byteOrderMark ? "\xEF\xBB\xBF" : "";
    block += HeaderLine(record, units, options.separator);
    end = std::min(end, store.RecordCount());
    for (uint32_t index = begin; index < end; ++index) {
        if (!store.ReadRecord(index)) {
            if (error != nullptr) {
                *error = "record " + std::to_string(index) + " could not be read: " + store.LastErrorText();
            }
            emit(block);
            return false;
        }
        const CMeasField* stamp = record.Field(0);
        AppendCell(block, stamp != nullptr ? IsoStamp(stamp->Bits()) : std::string{}, options.separator);
        for (size_t i = 1; i < record.FieldCount(); ++i) {
            block += options.separator;
            AppendCell(block, ValueCell(record, i, options), options.separator);
        }
        block += "\r\n";
        if (block.size() >= 64 * 1024) {
            if (!emit(block)) {
                return false;
            }
            block.clear();
        }
    }
    return emit(block);
}

} // namespace

bool WriteValuesCsv(CMeasValueStore& store, const std::vector<std::string>& units, uint32_t begin,
                    uint32_t end, const CsvOptions& options, std::ostream& out, std::string* error) {
    return WriteCsv(store, units, begin, end, options, error, [&](const std::string& block) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        if (!out && error != nullptr) {
            *error = "the output could not be written";
        }
        return static_cast<bool>(out);
    });
}

bool ExportValuesCsv(CMeasValueStore& store, const std::vector<std::string>& units, uint32_t begin,
                     uint32_t end, const CsvOptions& options, const std::string& path, std::string* error,
                     FileSystem& fs) {
    const std::string temporary = path + ".part";
    int errorCode = 0;
    std::unique_ptr<FileHandle> file;
    const auto fail = [&](const std::string& what) {
        file.reset(); // a file still open for writing cannot be removed
        if (error != nullptr && !what.empty()) {
            *error = what;
        }
        int ignored = 0;
        fs.Remove(temporary, &ignored);
        return false;
    };
    const auto osError = [&](const std::string& action) {
        return action + " " + path + ": " + std::strerror(errorCode != 0 ? errorCode : EIO);
    };
    file = fs.Open(temporary, FileAccess::kReplace, &errorCode);
    if (!file) {
        return fail(osError("cannot create"));
    }
    std::string readError;
    bool writeFailed = false;
    const bool written =
        WriteCsv(store, units, begin, end, options, &readError, [&](const std::string& block) {
            if (!block.empty() && !WriteWhole(*file, block.data(), block.size(), &errorCode)) {
                writeFailed = true;
                return false;
            }
            return true;
        });
    if (!written) {
        return fail(writeFailed ? osError("cannot write") : readError);
    }
    if (!file->Sync()) {
        errorCode = file->LastError();
        return fail(osError("cannot write"));
    }
    file.reset();
    if (!fs.Replace(temporary, path, &errorCode)) {
        return fail(osError("cannot replace"));
    }
    return true;
}

} // namespace terrix

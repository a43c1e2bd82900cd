#pragma once
// Stored measurements as CSV for spreadsheet programs: one line per record with the time stamp in ISO 8601
// and one column per value, the unit in the header. Separator and decimal mark are chosen by the caller,
// so that a German spreadsheet program, which expects ';' and a decimal comma, reads the numbers as
// numbers. The value window's export and `terrix-cli values --csv` both write through here.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/platform/file_handle.h"

namespace terrix {

class CMeasValueStore;

struct CsvOptions {
    char separator = ',';
    char decimalMark = '.';
    // A value that could not be measured: its marker as the ASCII file shows it ("NaN(9)", "NaN(?)"), so
    // the reason is kept, or an empty cell, which spreadsheet formulas skip.
    bool emptyErrorCells = false;
    // A UTF-8 byte order mark before the header, without which some spreadsheet programs take a unit such as
    // "°C" for Windows-1252.
    bool byteOrderMark = false;
};

// The header: "Date/Time", then each value field's title followed by " [unit]" where the field has a unit
// (units[i] belongs to field i; missing entries count as none). Cells holding the separator, a quote or a
// line break are quoted, with quotes doubled; lines end with "\r\n".
//
// A record: the stamp as "YYYY-MM-DDThh:mm:ss" (the measuring computer's local time, which the stamp
// keeps without its time zone), then each value in its field's format with the chosen decimal mark.
//
// Writes records [begin, end) (cut to the stored count). False when a record could not be read or the
// stream failed; `*error` then says which. Lines already written stay in the stream.
bool WriteValuesCsv(CMeasValueStore& store, const std::vector<std::string>& units, uint32_t begin,
                    uint32_t end, const CsvOptions& options, std::ostream& out, std::string* error);

// The same into a file. The file is written beside its place under a temporary name and put in place only
// when complete, so a full disk or a failed read leaves an existing file at `path` as it was.
bool ExportValuesCsv(CMeasValueStore& store, const std::vector<std::string>& units, uint32_t begin,
                     uint32_t end, const CsvOptions& options, const std::string& path, std::string* error,
                     FileSystem& fs = MachineFileSystem());

} // namespace terrix

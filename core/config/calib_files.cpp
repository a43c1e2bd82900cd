#include "core/config/calib_files.h"

#include "core/config/c_number_scan.h"
#include "core/config/calib_file_reader.h"
#include "core/platform/path_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace terrix {

namespace {

namespace fs = std::filesystem;

void Note(CalibFileError* error, CalibFileError::Kind kind, const fs::path& file, int systemError = 0) {
    if (error != nullptr && !error->Failed()) {
        error->kind = kind;
        error->file = file;
        error->systemError = systemError;
    }
}

// Notes why a reader failed; true when it did not.
bool CheckReader(const CCalibFileReader& reader, const fs::path& file, CalibFileError* error) {
    switch (reader.LastError()) {
    case CCalibFileReader::Error::None:
        return true;
    case CCalibFileReader::Error::System:
        Note(error, CalibFileError::Kind::CannotOpen, file, reader.SystemError());
        return false;
    case CCalibFileReader::Error::Format:
        Note(error, CalibFileError::Kind::Format, file);
        return false;
    }
    return false;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Index of a coefficient key: the letter (either case) followed by a number read with "%u".
bool CoeffIndex(std::string_view key, char letter, unsigned& index) {
    if (key.empty() || Lower(key.front()) != letter) {
        return false;
    }
    uint32_t n = 0;
    if (!ScanUnsigned(key.substr(1), n) || n >= 6) {
        return false;
    }
    index = n;
    return true;
}

// The position of a LOC entry: "[%u]" on the whole key.
bool BracketIndex(std::string_view key, uint32_t& index) {
    return !key.empty() && key.front() == '[' && ScanUnsigned(key.substr(1), index);
}

// Reads the items of one calibration file into the coefficients and comment of a calibration.
template <typename OnEntry>
bool ReadCoeffFile(CCalibFileReader& reader, CalibText& comment, bool& firstItem, OnEntry onEntry) {
    CCalibFileReader::Item item;
    while (reader.NextItem(item)) {
        if (firstItem) {
            SetCalibText(comment, item.text);
            firstItem = false;
        }
        if (!item.isComment) {
            onEntry(item);
        }
    }
    return reader.LastError() == CCalibFileReader::Error::None;
}

// The first comment line of a file (entries are skipped), or nothing.
bool FirstComment(CCalibFileReader& reader, std::string& comment) {
    CCalibFileReader::Item item;
    while (reader.NextItem(item)) {
        if (item.isComment) {
            comment = item.text;
            return true;
        }
    }
    return false;
}

// A TDC file into the record; `file` tells which file was looked for.
bool ReadTdc(const CalibFileOpener& files, uint16_t calibId, TempCalib& calib, CalibFileError* error,
             fs::path& file) {
    calib = TempCalib{};
    calib.wCalibId = calibId;
    CCalibFileReader reader = files(CalibFileName(calibId, "TDC"), file);
    if (!reader.IsOpen()) {
        return true; // no temperature calibration for this ID
    }
    bool firstItem = true;
    ReadCoeffFile(reader, calib.szCalibComment, firstItem, [&calib](const CCalibFileReader::Item& item) {
        unsigned index = 0;
        if (CoeffIndex(item.text, 't', index)) {
            calib.adCoeff[index] = AtofLike(item.value);
        }
    });
    if (!CheckReader(reader, file, error)) {
        calib.bValid = 0;
        return false;
    }
    calib.bValid = 1;
    return true;
}

} // namespace

std::string CalibFileError::Message() const {
    const std::string name = PathText(file);
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::CannotOpen:
        return name + ": " + std::generic_category().message(systemError);
    case Kind::Format:
        return name + ": an entry has no key or no value";
    case Kind::BadId:
        return name + ": a calibration ID lies outside 0..65535";
    }
    return {};
}

void SetCalibText(CalibText& field, std::string_view text) {
    field.fill('\0');
    const size_t n = std::min(text.size(), field.size() - 1);
    std::memcpy(field.data(), text.data(), n);
}

std::string CalibTextOf(const CalibText& field) {
    return std::string(field.data(), strnlen(field.data(), field.size()));
}

std::string CalibFileName(uint16_t calibId, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "XV%05u.%s", static_cast<unsigned>(calibId), extension);
    return name;
}

fs::path FindCalibFile(const fs::path& directory, const std::string& name) {
    const fs::path exact = directory.empty() ? fs::path(name) : directory / name;
    std::error_code ec;
    if (fs::exists(exact, ec)) {
        return exact;
    }
    const fs::path where = directory.empty() ? fs::path(".") : directory;
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path candidate = it->path().filename();
        if (EqualNoCase(PathText(candidate), name)) {
            return directory.empty() ? candidate : directory / candidate;
        }
    }
    return exact;
}

CalibFileOpener CalibFilesIn(const fs::path& directory) {
    return [directory](const std::string& name, fs::path& file) {
        file = FindCalibFile(directory, name);
        return CCalibFileReader(file);
    };
}

bool ReadCalFile(const fs::path& directory, uint16_t calibId, MatCalib& calib, CalibFileError* error) {
    return ReadCalFrom(CalibFilesIn(directory), calibId, calib, error);
}

bool ReadCalFrom(const CalibFileOpener& files, uint16_t calibId, MatCalib& calib, CalibFileError* error) {
    calib = MatCalib{};
    calib.wCalibId = calibId;
    fs::path file;
    CCalibFileReader reader = files(CalibFileName(calibId, "CAL"), file);
    bool firstItem = true;
    ReadCoeffFile(reader, calib.szCalibComment, firstItem, [&calib](const CCalibFileReader::Item& item) {
        unsigned index = 0;
        if (EqualNoCase(TrimRight(item.text), "CRHO")) {
            calib.dCRho = AtofLike(item.value);
        } else if (CoeffIndex(item.text, 'c', index)) {
            calib.adCoeff[index] = AtofLike(item.value);
        }
    });
    return CheckReader(reader, file, error);
}

bool ReadTdcFile(const fs::path& directory, uint16_t calibId, TempCalib& calib, CalibFileError* error) {
    return ReadTdcFrom(CalibFilesIn(directory), calibId, calib, error);
}

bool ReadTdcFrom(const CalibFileOpener& files, uint16_t calibId, TempCalib& calib, CalibFileError* error) {
    fs::path file;
    return ReadTdc(files, calibId, calib, error, file);
}

bool ReadLocFile(const fs::path& locFile, CalibSet& set, CalibFileError* error, bool* locRead) {
    return ReadLocFrom(CCalibFileReader(locFile), locFile, CalibFilesIn(locFile.parent_path()), set, error,
                       locRead);
}

bool ReadLocFrom(CCalibFileReader reader, const fs::path& locFile, const CalibFileOpener& files,
                 CalibSet& set, CalibFileError* error, bool* locRead) {
    set = CalibSet{};
    bool ok = true;
    unsigned brackets = 0;
    CCalibFileReader::Item item;
    while (reader.NextItem(item)) {
        if (set.szDescription[0] == '\0') {
            SetCalibText(set.szDescription, item.text);
        }
        if (item.isComment || item.text.empty() || item.text.front() != '[') {
            continue;
        }
        // Every bracketed entry counts toward the 16 material entries, valid index or not.
        ++brackets;
        uint32_t position = 0;
        if (!BracketIndex(item.text, position) || position >= kCalibPositions) {
            continue;
        }
        const int64_t id = AtoiLike(item.value);
        if (id < 0 || id > 65535) {
            // Cut to 16 bits it would name some other calibration.
            Note(error, CalibFileError::Kind::BadId, locFile);
            ok = false;
            continue;
        }
        const auto calibId = static_cast<uint16_t>(id);
        fs::path tdcFile;
        if (brackets <= kCalibPositions) {
            // A CAL file that cannot be read would leave zero coefficients that must not reach a module.
            ok &= ReadCalFrom(files, calibId, set.aMatCalib[position], error);
        } else if (!ReadTdc(files, calibId, set.aTempCalib[position], error, tdcFile)) {
            ok = false;
        } else if (set.aTempCalib[position].bValid != 0) {
            set.bHasTempCalib = 1;
        } else {
            // Named by the LOC file but not there: zero coefficients that must not reach a module.
            Note(error, CalibFileError::Kind::CannotOpen, tdcFile, ENOENT);
            ok = false;
        }
    }
    const bool read = CheckReader(reader, locFile, error);
    if (locRead != nullptr) {
        *locRead = read;
    }
    return read && ok;
}

bool ReadCalibComments(CalibSet& moduleSet, const fs::path& directory, CalibFileError* error) {
    for (MatCalib& calib : moduleSet.aMatCalib) {
        const fs::path file = FindCalibFile(directory, CalibFileName(calib.wCalibId, "CAL"));
        CCalibFileReader reader(file);
        if (!reader.IsOpen()) {
            CheckReader(reader, file, error);
            return false;
        }
        std::string comment;
        if (FirstComment(reader, comment) && calib.szCalibComment[0] == '\0') {
            SetCalibText(calib.szCalibComment, comment);
        }
    }
    for (TempCalib& calib : moduleSet.aTempCalib) {
        if (calib.bValid == 0) {
            continue;
        }
        CCalibFileReader reader(FindCalibFile(directory, CalibFileName(calib.wCalibId, "TDC")));
        std::string comment;
        if (reader.IsOpen() && FirstComment(reader, comment) && calib.szCalibComment[0] == '\0') {
            SetCalibText(calib.szCalibComment, comment);
        }
    }
    return true;
}

bool ReadCalibFilesForModule(CalibSet& moduleSet, CalibSet& fileSet, const fs::path& directory,
                             CalibFileError* error) {
    if (!ReadCalibComments(moduleSet, directory, error)) {
        return false;
    }
    bool ok = true;
    for (size_t i = 0; i < kCalibPositions; ++i) {
        ok &= ReadCalFile(directory, moduleSet.aMatCalib[i].wCalibId, fileSet.aMatCalib[i], error);
    }
    // The flag follows what was read here: left as it was, a later programming would replace the
    // temperature calibrations just loaded by zeroed ones.
    fileSet.bHasTempCalib = 0;
    for (size_t i = 0; i < kCalibPositions; ++i) {
        if (!ReadTdcFile(directory, moduleSet.aTempCalib[i].wCalibId, fileSet.aTempCalib[i], error)) {
            ok = false;
        } else if (fileSet.aTempCalib[i].bValid != 0) {
            fileSet.bHasTempCalib = 1; // only data makes a temperature calibration to program
        }
    }
    return ok;
}

} // namespace terrix

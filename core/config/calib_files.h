#pragma once
// The calibration files of the LOC directory: a CAL file (material) or TDC file (temperature) per
// calibration ID, named "XV%05u.CAL" / "XV%05u.TDC", and LOC files that name, per switch position, the
// material and temperature calibrations a module is to carry. These files are only read, never written.

#include "core/config/calib_file_reader.h"
#include "core/config/calib_set.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace terrix {

// Why a calibration file read failed: the first problem met, with the file concerned.
struct CalibFileError {
    enum class Kind {
        None,
        CannotOpen, // systemError holds errno
        Format,     // an entry without key or value
        BadId,      // a LOC entry whose calibration ID does not fit 0..65535
    };
    Kind kind = Kind::None;
    std::filesystem::path file;
    int systemError = 0;

    bool Failed() const { return kind != Kind::None; }
    std::string Message() const;
};

// "XV%05u.CAL" or "XV%05u.TDC".
std::string CalibFileName(uint16_t calibId, const char* extension);
// The file `name` in `directory`. Files copied from other systems may differ in letter case ("xv00120.cal"):
// when the exact name does not exist, a file whose name differs only in case is taken.
std::filesystem::path FindCalibFile(const std::filesystem::path& directory, const std::string& name);

// Where the calibration files come from: the reader of the file `name` ("XV00120.CAL") and, in `file`, the
// path that errors name. CalibFilesIn opens them in a directory (FindCalibFile); the readers below that take
// a directory use it.
using CalibFileOpener = std::function<CCalibFileReader(const std::string& name, std::filesystem::path& file)>;
CalibFileOpener CalibFilesIn(const std::filesystem::path& directory);

// Zeroes the record, sets wCalibId and fills it from the CAL file: "CRHO" (any case) -> dCRho, "c0".."c5"
// (either case) -> coefficients, the first item's text -> szCalibComment. True when the file was read
// without error.
bool ReadCalFile(const std::filesystem::path& directory, uint16_t calibId, MatCalib& calib,
                 CalibFileError* error = nullptr);
bool ReadCalFrom(const CalibFileOpener& files, uint16_t calibId, MatCalib& calib,
                 CalibFileError* error = nullptr);
// The same for a TDC file ("t0".."t5"). A missing file is no error: true with bValid = 0. A broken file
// gives false with bValid = 0; otherwise bValid = 1.
bool ReadTdcFile(const std::filesystem::path& directory, uint16_t calibId, TempCalib& calib,
                 CalibFileError* error = nullptr);
bool ReadTdcFrom(const CalibFileOpener& files, uint16_t calibId, TempCalib& calib,
                 CalibFileError* error = nullptr);

// Zeroes the set and fills it from the LOC file and the calibration files it names (in the LOC file's
// directory): the first 16 entries "[n]=ID" are material calibrations, later ones temperature
// calibrations. The first item's text becomes szDescription; bHasTempCalib is set only when a TDC file
// gave data. False when the LOC file, or a CAL or TDC file it names, is missing or cannot be read; what was
// read stays in the set, and `locRead` (when given) tells whether the LOC file itself was read.
bool ReadLocFile(const std::filesystem::path& locFile, CalibSet& set, CalibFileError* error = nullptr,
                 bool* locRead = nullptr);
// The same from the LOC file's reader (`locFile` is the path that errors name) and the calibration files
// of `files`.
bool ReadLocFrom(CCalibFileReader loc, const std::filesystem::path& locFile, const CalibFileOpener& files,
                 CalibSet& set, CalibFileError* error = nullptr, bool* locRead = nullptr);

// Fills the empty comments of the module's calibrations from the first comment line of their CAL and TDC
// files. False as soon as a CAL file cannot be opened; missing TDC files are skipped.
bool ReadCalibComments(CalibSet& moduleSet, const std::filesystem::path& directory,
                       CalibFileError* error = nullptr);

// Loads the CAL and TDC files named by the module's calibration IDs into the file set (after
// ReadCalibComments). bHasTempCalib of the file set tells whether a TDC file gave data. True when
// every file was read (missing TDC files included, as for ReadTdcFile).
bool ReadCalibFilesForModule(CalibSet& moduleSet, CalibSet& fileSet, const std::filesystem::path& directory,
                             CalibFileError* error = nullptr);

// Copies text into a calibration text field, cut to 255 characters.
void SetCalibText(CalibText& field, std::string_view text);
std::string CalibTextOf(const CalibText& field);

} // namespace terrix

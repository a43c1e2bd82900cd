#pragma once
// Application parameter files ("*.par"): a dated text file with one line per parameter, written from a
// parameter block and read back into one. Reading counts the lines that begin with the five parameter
// names; exactly five must be found.

#include "core/config/app_params.h"
#include "core/config/config_message.h"

#include <ctime>
#include <filesystem>
#include <istream>
#include <string>

namespace terrix {

// The file's text for a block, dated `date` (weekday and month names follow the process's LC_TIME locale;
// numbers never depend on the locale).
std::string ParFileText(const AppParams& params, const std::tm& date);

// Writes the file for the block, dated now. The file is replaced whole or not at all: a failed write
// leaves an existing file as it was. On failure `messages` holds what the dialog shows.
bool SaveParFile(const std::filesystem::path& file, const AppParams& params, ConfigMessages& messages);

// Reads a parameter file into a zeroed block. On failure `params` is left unchanged and `messages` holds
// what the dialog shows (the last one being "Can't read file !").
bool LoadParFile(const std::filesystem::path& file, AppParams& params, ConfigMessages& messages);

// The reading rules on a stream: `count` is the number of lines that begin with a parameter name. False
// when a value does not fit its block field (`error` says which).
bool ParseParText(std::istream& in, AppParams& params, int& count, std::string& error);

inline constexpr const char* kMsgSaveNoFileName = "Don't get file name!"; // save dialog cancelled
inline constexpr const char* kMsgLoadNoFileName = "don't get file name!"; // open dialog cancelled
inline constexpr const char* kMsgCantReadFileFinal = "Can't read file !";
inline constexpr const char* kParSaveFilter = "ParasFiles(*.par)|*.par|AllFiles(*.*)|*.*||";
inline constexpr const char* kParOpenFilter = "(*.par)|*.par|All(*.*)|*.*||";

} // namespace terrix

#pragma once
// "User Data for Module": the user's place and comment texts of a module record, kept in the "UserInfo"
// section of its module file. The record holds them as the module files do (Windows-1252, a comment's line
// breaks as backslash and n); the dialog and the command line see UTF-8 with real line breaks.

#include "core/inventory/file_error.h"
#include "core/inventory/module_record.h"

#include <string>
#include <string_view>

namespace terrix {

inline constexpr size_t kMaxPlaceChars = 78;
inline constexpr size_t kMaxCommentChars = 510;
inline constexpr size_t kMaxCommentLineChars = 512;

// "%u (%s)": serial number and module name.
std::string UserInfoTitle(const ModuleRecord& record);
std::string UserPlaceText(const ModuleRecord& record);
// The comment with every stored backslash-n turned into a line feed.
std::string UserCommentText(const ModuleRecord& record);

// Takes the texts into the record (place cut to 78 characters; comment lines cut to 512 and joined with
// backslash-n, the whole cut to 510 without splitting a line break) and writes the "UserInfo" section.
// A record without a serial number (a collision placeholder) is refused and left unchanged. False when the
// module file could not be written; the record then holds the new texts all the same.
bool ApplyUserInfo(ModuleRecord& record, std::string_view place, std::string_view comment,
                   InventoryFileError* error = nullptr);

} // namespace terrix

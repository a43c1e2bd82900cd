#include "core/config/user_info.h"

#include "core/inventory/module_file.h"
#include "core/inventory/stored_text.h"

namespace terrix {

namespace {

// The comment's lines, each cut to its limit, joined with the stored line break.
std::string JoinCommentLines(std::string_view text) {
    std::string joined;
    size_t start = 0;
    for (;;) {
        size_t end = text.find_first_of("\r\n", start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        joined += line.substr(0, kMaxCommentLineChars);
        if (end == std::string_view::npos) {
            break;
        }
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
            ++end;
        }
        joined += "\\n";
        start = end + 1;
    }
    if (joined.size() > kMaxCommentChars) {
        joined.resize(kMaxCommentChars);
        // A lone backslash left at the end would be half a line break.
        size_t backslashes = 0;
        while (backslashes < joined.size() && joined[joined.size() - 1 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 1) {
            joined.pop_back();
        }
    }
    return joined;
}

} // namespace

std::string UserInfoTitle(const ModuleRecord& record) {
    return std::to_string(record.SerialNo()) + " (" + Cp1252ToUtf8(record.ModuleName()) + ")";
}

std::string UserPlaceText(const ModuleRecord& record) {
    return Cp1252ToUtf8(FieldText(record.szLocation));
}

std::string UserCommentText(const ModuleRecord& record) {
    return Cp1252ToUtf8(DecodeLineBreaks(FieldText(record.szComment)));
}

bool ApplyUserInfo(ModuleRecord& record, std::string_view place, std::string_view comment,
                   InventoryFileError* error) {
    if (record.SerialNo() > kMaxValidSerial) {
        return WriteUserData(record, error); // refuses, naming the reason
    }
    std::string storedPlace = Utf8ToCp1252(place);
    for (char& c : storedPlace) {
        if (c == '\r' || c == '\n') {
            c = ' '; // the place is one line
        }
    }
    CopyToField(record.szLocation, storedPlace, kMaxPlaceChars);
    CopyToField(record.szComment, JoinCommentLines(Utf8ToCp1252(comment)), kMaxCommentChars);
    return WriteUserData(record, error);
}

} // namespace terrix

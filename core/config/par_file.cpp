#include "core/config/par_file.h"

#include "core/config/c_number_scan.h"
#include "core/platform/ini_section.h"
#include "core/platform/local_time.h"
#include "core/platform/safe_file.h"
#include "core/platform/path_text.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

namespace terrix {

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxLine = 4096; // longer lines are cut: no parameter line comes near it

enum Field { kOffset, kAveraging, kError66, kQueueFull, kQueueEmpty, kFieldCount };

struct FieldInfo {
    std::string_view prefix;
    int64_t max;
};

constexpr FieldInfo kFields[kFieldCount] = {
    {"Offset Value", 0},      {"Averaging Time", 65535}, {"Error66 Delay", 65535},
    {"Queue-Full Time", 255}, {"Queue-Empty Time", 255},
};

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsCSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsCSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One line without its line feed; false at the end of the stream.
bool NextLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (;;) {
        const auto c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            return any;
        }
        any = true;
        if (c == '\n') {
            return true;
        }
        if (line.size() < kMaxLine) {
            line.push_back(static_cast<char>(c));
        }
    }
}

ConfigMessages ReadFailure(ConfigMessage first) {
    return {std::move(first),
            {"Can't read the file!", kErrorCaption, ConfigMessageIcon::None},
            {kMsgCantReadFileFinal, kErrorCaption, ConfigMessageIcon::None}};
}

} // namespace

std::string ParFileText(const AppParams& params, const std::tm& date) {
    char dateLine[256];
    if (std::strftime(dateLine, sizeof dateLine, "\n; Date: %A,%B %d,%Y\n", &date) == 0) {
        dateLine[0] = '\0';
    }
    std::string text = dateLine;
    text += "; Note1: Don't change the sequence and the names of following parameters\n";
    text += "; Note2:                         \n";
    text += " \n";
    text += "; Application Parameters:\n";
    text += " \n";
    text += "Offset Value in Percentage = " + FormatFixed6(params.fOffset) + "\n";
    text += "Averaging Time in No of Measurements = " + std::to_string(params.wAveraging) + "\n";
    text += "Error66 Delay in units of 10 Measurements = " + std::to_string(params.wError66Units) + "\n";
    text += "Queue-Full Time in No of Measurements = " + std::to_string(params.yQueueFull) + "\n";
    text += "Queue-Empty Time in No of Measurements = " + std::to_string(params.yQueueEmpty) + "\n";
    return text;
}

bool SaveParFile(const fs::path& file, const AppParams& params, ConfigMessages& messages) {
    const std::time_t now = std::time(nullptr);
    std::tm date{};
    LocalTime(now, &date);
    const std::string text = ParFileText(params, date);

    // Written beside the target and moved over it, so a full disk never leaves half a file.
    int error = 0;
    bool opened = false;
    if (ReplaceFileContents(file, text, &error, &opened)) {
        return true;
    }
    if (!opened) {
        messages = {{"Open " + PathText(file) + " failed!", "", ConfigMessageIcon::None},
                    {"Can't open the file!", kErrorCaption, ConfigMessageIcon::None}};
    } else {
        messages = {{"Can't write the file!", kErrorCaption, ConfigMessageIcon::None}};
    }
    return false;
}

bool ParseParText(std::istream& in, AppParams& params, int& count, std::string& error) {
    params = AppParams{};
    count = 0;
    error.clear();
    std::string line;
    // Each parameter exactly once, each with a number: a second line or one without a value would otherwise
    // leave a parameter at zero or at whichever line came last, and the module would get that.
    bool seen[kFieldCount] = {};
    while (NextLine(in, line)) {
        const std::string_view text = Trim(line);
        int field = 0;
        while (field < kFieldCount && text.substr(0, kFields[field].prefix.size()) != kFields[field].prefix) {
            ++field;
        }
        if (field == kFieldCount) {
            continue;
        }
        ++count;
        const std::string name(kFields[field].prefix);
        if (seen[field]) {
            error = name + " is given more than once.";
            return false;
        }
        seen[field] = true;
        const size_t equals = text.find('=');
        const std::string_view value = equals == std::string_view::npos ? text : text.substr(equals + 1);
        if (field == kOffset) {
            double offset = 0;
            if (!ScanReal(value, offset) || !std::isfinite(offset) ||
                std::fabs(offset) > std::numeric_limits<float>::max()) {
                error = name + ": \"" + std::string(Trim(value)) + "\" is no usable number.";
                return false;
            }
            params.fOffset = static_cast<float>(offset);
            continue;
        }
        int64_t number = 0;
        if (!ScanInteger(value, number)) {
            error = name + ": \"" + std::string(Trim(value)) + "\" is no number.";
            return false;
        }
        if (number < 0 || number > kFields[field].max) {
            // Cut to the field's width the value would silently become another one.
            error = std::string(kFields[field].prefix) + ": the value " + std::to_string(number) +
                    " does not fit (0.." + std::to_string(kFields[field].max) + ").";
            return false;
        }
        switch (field) {
        case kAveraging:
            params.wAveraging = static_cast<uint16_t>(number);
            break;
        case kError66:
            params.wError66Units = static_cast<uint16_t>(number);
            break;
        case kQueueFull:
            params.yQueueFull = static_cast<uint8_t>(number);
            break;
        default:
            params.yQueueEmpty = static_cast<uint8_t>(number);
            break;
        }
    }
    return true;
}

bool LoadParFile(const fs::path& file, AppParams& params, ConfigMessages& messages) {
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in.is_open() || fs::is_directory(file, ec)) {
        messages = {{"Open " + PathText(file) + " failed!", "", ConfigMessageIcon::None},
                    {"Can't open the file!", kErrorCaption, ConfigMessageIcon::None},
                    {kMsgCantReadFileFinal, kErrorCaption, ConfigMessageIcon::None}};
        return false;
    }
    AppParams read;
    int count = 0;
    std::string error;
    if (!ParseParText(in, read, count, error)) {
        messages = ReadFailure({error, kErrorCaption, ConfigMessageIcon::Stop});
        return false;
    }
    if (count != 5) {
        messages = ReadFailure({"Number of parameters isn't 5,\nCheck it and try again please!",
                                kErrorCaption, ConfigMessageIcon::Stop});
        return false;
    }
    params = read;
    return true;
}

} // namespace terrix

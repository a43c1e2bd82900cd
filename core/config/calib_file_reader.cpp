#include "core/config/calib_file_reader.h"

#include <cerrno>
#include <fstream>
#include <sstream>

namespace terrix {

namespace {

enum class State { Start, Skip, Comment, Key, Value };

constexpr int kEnd = -1;

void Collect(std::string& text, int byte) {
    if (text.size() < CCalibFileReader::kMaxText) {
        text.push_back(static_cast<char>(byte));
    }
}

} // namespace

CCalibFileReader::CCalibFileReader(const std::filesystem::path& path) {
    errno = 0;
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!file->is_open() || std::filesystem::is_directory(path)) {
        error_ = Error::System;
        systemError_ = errno != 0 ? errno : ENOENT;
        return;
    }
    stream_ = std::move(file);
}

CCalibFileReader CCalibFileReader::FromText(std::string contents) {
    CCalibFileReader reader;
    reader.stream_ = std::make_unique<std::istringstream>(std::move(contents), std::ios::binary);
    return reader;
}

CCalibFileReader CCalibFileReader::Unreadable(int systemError) {
    CCalibFileReader reader;
    reader.error_ = Error::System;
    reader.systemError_ = systemError;
    return reader;
}

int CCalibFileReader::NextByte() {
    const std::istream::int_type c = stream_->rdbuf()->sbumpc();
    return c == std::istream::traits_type::eof() ? kEnd : static_cast<int>(static_cast<unsigned char>(c));
}

bool CCalibFileReader::NextItem(Item& item) {
    if (error_ != Error::None || ended_ || !stream_) {
        return false;
    }
    item = Item{};
    State state = State::Start;
    for (;;) {
        const int c = NextByte();
        if (c == kEnd) {
            ended_ = true;
            if (state == State::Comment) {
                item.isComment = true;
                return true;
            }
            if (state != State::Value) {
                // In START or SKIP nothing is pending; a key without "=" at the end has no value and is
                // dropped quietly.
                return false;
            }
        }
        switch (state) {
        case State::Start:
            if (c == '\n') {
                break;
            }
            if (c < 33) {
                state = State::Skip;
            } else if (c == ';') {
                Collect(item.text, c);
                state = State::Comment;
            } else if (c == '=') {
                state = State::Value; // an empty key: reported when the value ends
            } else {
                Collect(item.text, c);
                state = State::Key;
            }
            break;
        case State::Skip:
            if (c == '\n') {
                state = State::Start;
            }
            break;
        case State::Comment:
            if (c == '\n') {
                item.isComment = true;
                return true;
            }
            if (c != '\r') {
                Collect(item.text, c);
            }
            break;
        case State::Key:
            if (c == '=') {
                state = State::Value;
            } else {
                Collect(item.text, c);
            }
            break;
        case State::Value:
            if (c == '\n' || c == kEnd) {
                if (item.text.empty() || item.value.empty()) {
                    error_ = Error::Format;
                    return false;
                }
                return true;
            }
            if (c != '\r') {
                Collect(item.value, c);
            }
            break;
        }
    }
}

} // namespace terrix

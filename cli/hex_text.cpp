#include "cli/hex_text.h"

#include <cstdio>

namespace terrix::cli {

std::string ToHex(std::span<const uint8_t> bytes) {
    std::string out;
    char cell[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
        if (i > 0) {
            out += ' ';
        }
        out += cell;
    }
    return out;
}

std::optional<std::vector<uint8_t>> ParseHex(const std::string& text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    };
    std::vector<uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == ':' || c == '\t') {
            if (high >= 0) {
                return std::nullopt; // a lone digit
            }
            continue;
        }
        const int d = digit(c);
        if (d < 0) {
            return std::nullopt;
        }
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + d));
            high = -1;
        }
    }
    if (high >= 0) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace terrix::cli

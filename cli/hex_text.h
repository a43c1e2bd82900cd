#pragma once
// Hexadecimal byte strings for command lines and output: "05 FD 00" out, "05fd00" or "05 FD 00" in.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace terrix::cli {

std::string ToHex(std::span<const uint8_t> bytes);
// Accepts pairs of hex digits, optionally separated by blanks, commas or colons; nullopt on anything else.
std::optional<std::vector<uint8_t>> ParseHex(const std::string& text);

} // namespace terrix::cli

#pragma once
// The 56-byte header at the start of a binary measurement file: magic "ORVAmdfh", version "1.01", header
// size, the module's serial, name and channel mask, and the smallest and largest value of each channel.
// Little-endian, no padding but the two zero bytes after the name.

#include <array>
#include <cstdint>
#include <string>

namespace terrix {

inline constexpr uint32_t kMeasFileHeaderSize = 56;

// Kept with the header of an open file; not shown to the user.
enum class HeaderStatus : uint32_t {
    kNone = 0,
    kShort = 1, // the file is shorter than the header
    kWrongMagic = 2,
    kReadFailed = 3, // OS error kept
    kWrongVersion = 4,
    kWriteFailed = 5, // OS error kept
    kIncomplete = 6,  // written only in part
};

struct MeasFileHeader {
    static constexpr std::array<char, 8> kMagic{'O', 'R', 'V', 'A', 'm', 'd', 'f', 'h'};
    static constexpr std::array<char, 4> kVersion{'1', '.', '0', '1'};
    // "No value yet": the largest float as minimum, the smallest normal float as maximum.
    static constexpr uint32_t kNoMinimumBits = 0x7F7FFFFFu;
    static constexpr uint32_t kNoMaximumBits = 0x00800000u;

    std::array<char, 8> magic = kMagic;
    std::array<char, 4> version = kVersion;
    uint32_t headerSize = kMeasFileHeaderSize;
    uint16_t serial = 0;
    std::array<char, 16> moduleName{}; // NUL-terminated, at most 15 characters
    uint32_t channelMask = 0;
    std::array<float, 2> minimum{}; // per channel
    std::array<float, 2> maximum{};

    // A fresh header for a new file, the extremes at their "none" values.
    static MeasFileHeader ForModule(uint16_t serial, const std::string& moduleName, uint32_t channelMask);

    std::array<uint8_t, kMeasFileHeaderSize> Encode() const;
    static MeasFileHeader Decode(const std::array<uint8_t, kMeasFileHeaderSize>& bytes);

    bool HasMagic() const { return magic == kMagic; }
    bool HasVersion() const { return version == kVersion; }
    std::string ModuleName() const;
};

} // namespace terrix

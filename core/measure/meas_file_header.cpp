#include "core/measure/meas_file_header.h"

#include <bit>
#include <cstring>

#include "core/measure/little_endian.h"

namespace terrix {

namespace {

// Byte offsets in the file.
constexpr size_t kOffMagic = 0;
constexpr size_t kOffVersion = 8;
constexpr size_t kOffHeaderSize = 12;
constexpr size_t kOffSerial = 16;
constexpr size_t kOffName = 18;
constexpr size_t kOffChannelMask = 36; // after two bytes of padding
constexpr size_t kOffMinimum = 40;
constexpr size_t kOffMaximum = 48;

} // namespace

MeasFileHeader MeasFileHeader::ForModule(uint16_t serial, const std::string& moduleName,
                                         uint32_t channelMask) {
    MeasFileHeader h;
    h.serial = serial;
    const size_t n = moduleName.size() < 15 ? moduleName.size() : 15;
    std::memcpy(h.moduleName.data(), moduleName.data(), n);
    h.channelMask = channelMask;
    h.minimum = {std::bit_cast<float>(kNoMinimumBits), std::bit_cast<float>(kNoMinimumBits)};
    h.maximum = {std::bit_cast<float>(kNoMaximumBits), std::bit_cast<float>(kNoMaximumBits)};
    return h;
}

std::array<uint8_t, kMeasFileHeaderSize> MeasFileHeader::Encode() const {
    std::array<uint8_t, kMeasFileHeaderSize> b{};
    std::memcpy(b.data() + kOffMagic, magic.data(), magic.size());
    std::memcpy(b.data() + kOffVersion, version.data(), version.size());
    StoreLe32(b.data() + kOffHeaderSize, headerSize);
    StoreLe16(b.data() + kOffSerial, serial);
    std::memcpy(b.data() + kOffName, moduleName.data(), moduleName.size());
    b[kOffName + 15] = 0; // always terminated
    StoreLe32(b.data() + kOffChannelMask, channelMask);
    for (size_t c = 0; c < 2; ++c) {
        StoreLeFloat(b.data() + kOffMinimum + 4 * c, minimum[c]);
        StoreLeFloat(b.data() + kOffMaximum + 4 * c, maximum[c]);
    }
    return b;
}

MeasFileHeader MeasFileHeader::Decode(const std::array<uint8_t, kMeasFileHeaderSize>& b) {
    MeasFileHeader h;
    std::memcpy(h.magic.data(), b.data() + kOffMagic, h.magic.size());
    std::memcpy(h.version.data(), b.data() + kOffVersion, h.version.size());
    h.headerSize = LoadLe32(b.data() + kOffHeaderSize);
    h.serial = LoadLe16(b.data() + kOffSerial);
    std::memcpy(h.moduleName.data(), b.data() + kOffName, h.moduleName.size());
    h.channelMask = LoadLe32(b.data() + kOffChannelMask);
    for (size_t c = 0; c < 2; ++c) {
        h.minimum[c] = LoadLeFloat(b.data() + kOffMinimum + 4 * c);
        h.maximum[c] = LoadLeFloat(b.data() + kOffMaximum + 4 * c);
    }
    return h;
}

std::string MeasFileHeader::ModuleName() const {
    size_t n = 0;
    while (n < moduleName.size() && moduleName[n] != '\0') {
        ++n;
    }
    return std::string(moduleName.data(), n);
}

} // namespace terrix

#include "sim/wire_format.h"

#include <cmath>
#include <cstring>

namespace terrix::sim {

void PutU16(std::span<uint8_t> dst, size_t offset, uint16_t value) {
    dst[offset] = static_cast<uint8_t>(value & 0xFF);
    dst[offset + 1] = static_cast<uint8_t>(value >> 8);
}

uint16_t GetU16(std::span<const uint8_t> src, size_t offset) {
    return static_cast<uint16_t>(src[offset] | (src[offset + 1] << 8));
}

void PutF32(std::span<uint8_t> dst, size_t offset, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (size_t i = 0; i < 4; ++i) {
        dst[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

float GetF32(std::span<const uint8_t> src, size_t offset) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(src[offset + i]) << (8 * i);
    }
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Digit i sits in byte (i + 1) / 2: the units digit shares byte 0 with the flag nibble (high half), then
// every byte carries two digits, the lower one in its low nibble.
namespace {
size_t DigitByte(unsigned i) {
    return (i + 1) / 2;
}
bool DigitInHighNibble(unsigned i) {
    return i % 2 == 0;
}
} // namespace

void WritePacked(std::span<uint8_t> dst, int64_t value, unsigned digits, uint8_t flags) {
    const size_t bytes = (digits + 1) / 2;
    for (size_t i = 0; i < bytes; ++i) {
        dst[i] = 0;
    }
    uint64_t magnitude = value < 0 ? static_cast<uint64_t>(-value) : static_cast<uint64_t>(value);
    dst[0] = static_cast<uint8_t>((flags & 0x07) | (value < 0 ? 0x08 : 0x00));
    for (unsigned i = 0; i < digits; ++i) {
        const auto digit = static_cast<uint8_t>(magnitude % 10);
        magnitude /= 10;
        uint8_t& b = dst[DigitByte(i)];
        b = static_cast<uint8_t>(DigitInHighNibble(i) ? (b | (digit << 4)) : (b | digit));
    }
}

int64_t ReadPacked(std::span<const uint8_t> src, unsigned digits) {
    int64_t value = 0;
    for (unsigned i = digits; i-- > 0;) {
        const uint8_t b = src[DigitByte(i)];
        const int digit = DigitInHighNibble(i) ? (b >> 4) : (b & 0x0F);
        value = value * 10 + digit;
    }
    return (src[0] & 0x08) != 0 ? -value : value;
}

bool ToScaledDecimal(double value, ScaledDecimal& out) {
    const double a = std::fabs(value);
    if (!std::isfinite(a) || a >= 1000.0) {
        return false;
    }
    if (a < 1e-21) {
        out = {15, 0};
        return true;
    }
    int k = static_cast<int>(std::log10(a));
    if (a < 1.0) {
        --k;
    }
    int scale = 2 - k;
    double exact = 0;
    if (k < -13) {
        scale = 15;
        exact = a * 1e21;
    } else {
        exact = a * std::pow(10.0, 8 - k);
    }
    // The module rounds to its nine digits (0.3 stays 0.3); only where rounding would carry into a tenth
    // digit does it cut instead.
    auto mantissa = static_cast<int64_t>(std::llround(exact));
    if (mantissa > 999999999) {
        mantissa = static_cast<int64_t>(exact);
    }
    if (mantissa == 0) {
        scale = 0;
    }
    out.scale = static_cast<uint8_t>(scale);
    out.mantissa = static_cast<int32_t>(value < 0 ? -mantissa : mantissa);
    return true;
}

MantissaExponent ToMantissaExponent(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return {};
    }
    for (int e = -30; e <= 40; ++e) {
        const double m = std::round(value / std::pow(10.0, e));
        if (std::fabs(m) <= 32767.0) {
            auto mantissa = static_cast<int32_t>(m);
            int exponent = e;
            // Trailing zeros go into the exponent: 0.01 is sent as 1 x 10^-2, not 10000 x 10^-6.
            while (mantissa != 0 && mantissa % 10 == 0 && exponent < 127) {
                mantissa /= 10;
                ++exponent;
            }
            return {static_cast<int16_t>(mantissa), static_cast<int8_t>(exponent)};
        }
    }
    return {value < 0 ? int16_t{-32767} : int16_t{32767}, 40};
}

uint8_t HeaderChecksum(std::span<const uint8_t> firstFive) {
    unsigned sum = 0;
    for (size_t i = 0; i < 5; ++i) {
        sum += firstFive[i];
    }
    return static_cast<uint8_t>(sum & 0x7F);
}

uint8_t DataChecksum(std::span<const uint8_t> data) {
    unsigned sum = 0;
    for (const uint8_t b : data) {
        sum += b;
    }
    return static_cast<uint8_t>(sum & 0xFF);
}

} // namespace terrix::sim

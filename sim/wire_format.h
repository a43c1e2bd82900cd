#pragma once
// Number formats of the module side of the bus: little-endian fields, packed decimal digits with their flag
// nibble, the scaled decimal of the offset commands and the mantissa/exponent pairs of the sensor data.
// Written here on purpose rather than taken from the PC side, so that a mistake shared by both shows up.

#include <cstddef>
#include <cstdint>
#include <span>

namespace terrix::sim {

void PutU16(std::span<uint8_t> dst, size_t offset, uint16_t value);
uint16_t GetU16(std::span<const uint8_t> src, size_t offset);
void PutF32(std::span<uint8_t> dst, size_t offset, float value);
float GetF32(std::span<const uint8_t> src, size_t offset);

// Packed decimal of `digits` digits in (digits + 1) / 2 bytes: the low nibble of byte 0 holds the flags
// (bit 3 = negative, bits 0..2 free for the command), its high nibble the units digit, every further byte
// two more digits, low nibble first. `flags` supplies bits 0..2; the sign bit comes from the value. Digits
// beyond `digits` are not written.
void WritePacked(std::span<uint8_t> dst, int64_t value, unsigned digits, uint8_t flags = 0);
// The signed value of a packed decimal; a nibble above 9 still counts with its face value.
int64_t ReadPacked(std::span<const uint8_t> src, unsigned digits);

// Scaled decimal of the offset commands: value = mantissa x 10^-(scale + 6), mantissa nine digits with sign.
struct ScaledDecimal {
    uint8_t scale = 0;
    int32_t mantissa = 0;
};
// Nine significant digits, scale chosen from the magnitude; false for a magnitude of 1000 or more.
bool ToScaledDecimal(double value, ScaledDecimal& out);

// The sensor data's number: value = mantissa (i16) x 10^exponent (i8). The smallest exponent whose
// mantissa still fits is chosen, so the value keeps as many digits as 16 bits allow.
struct MantissaExponent {
    int16_t mantissa = 0;
    int8_t exponent = 0;
};
MantissaExponent ToMantissaExponent(double value);

// Header checksum: sum of the five bytes before it, low 7 bits. Data checksum: sum of the data bytes, mod
// 256.
uint8_t HeaderChecksum(std::span<const uint8_t> firstFive);
uint8_t DataChecksum(std::span<const uint8_t> data);

} // namespace terrix::sim

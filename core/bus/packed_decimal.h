#pragma once
// The number formats of the command data blocks: packed decimal numbers (BCD5 in 3 bytes, BCD9 in 5 bytes)
// with a flag nibble whose bit 3 is the sign, and the scaled decimal number (scale nibble s and a BCD9
// mantissa M, value = M x 10^-(s+6)) of the offset commands.

#include <cstdint>
#include <span>

namespace terrix {

// Decodes n digits. n = 0 or 255 gives 0. The flag byte receives byte 0 unchanged (callers read the status
// bits it carries). Bytes missing from `src` count as zero digits. Always true.
bool DecodeBcd(std::span<const uint8_t> src, unsigned digits, int32_t* value, uint8_t* flagByte);

// Clears (n + 1) / 2 bytes of dst, then, unless n is 0 or above 254, writes the sign and the lowest n digits
// of value (higher digits are dropped: callers range-check first). Always true.
bool EncodeBcd(int32_t value, unsigned digits, std::span<uint8_t> dst);

// Splits a value into scale nibble and nine-digit mantissa. False when |value| >= 1000.
bool EncodeScaled(double value, uint8_t& scale, int32_t& mantissa);

// M x 10^-(s+6) from the five BCD9 bytes.
double DecodeScaled(std::span<const uint8_t> mantissaBytes, uint8_t scale);

} // namespace terrix

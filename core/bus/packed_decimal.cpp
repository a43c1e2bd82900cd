#include "core/bus/packed_decimal.h"

#include <cmath>
#include <cstdlib>

namespace terrix {

namespace {

// Digit i sits in the high nibble of byte 0 for i = 0, then low and high nibbles of the following bytes.
uint8_t DigitAt(std::span<const uint8_t> src, unsigned i) {
    const size_t byte = (i + 1) / 2;
    if (byte >= src.size()) {
        return 0;
    }
    return (i % 2 == 0) ? static_cast<uint8_t>(src[byte] >> 4) : static_cast<uint8_t>(src[byte] & 0x0F);
}

} // namespace

bool DecodeBcd(std::span<const uint8_t> src, unsigned digits, int32_t* value, uint8_t* flagByte) {
    const uint8_t first = src.empty() ? 0 : src[0];
    if (flagByte != nullptr) {
        *flagByte = first;
    }
    if (value == nullptr) {
        return true;
    }
    if (digits == 0 || digits == 255) {
        *value = 0;
        return true;
    }
    int64_t sum = 0;
    int64_t weight = 1;
    for (unsigned i = 0; i < digits && i < 10; ++i) {
        sum += weight * DigitAt(src, i);
        weight *= 10;
    }
    if ((first & 0x08) != 0) {
        sum = -sum;
    }
    *value = static_cast<int32_t>(sum);
    return true;
}

bool EncodeBcd(int32_t value, unsigned digits, std::span<uint8_t> dst) {
    const size_t bytes = (static_cast<size_t>(digits) + 1) / 2;
    for (size_t i = 0; i < bytes && i < dst.size(); ++i) {
        dst[i] = 0;
    }
    if (digits == 0 || digits > 254 || dst.empty()) {
        return true;
    }
    int64_t magnitude = value;
    if (magnitude < 0) {
        dst[0] = 0x08;
        magnitude = -magnitude;
    }
    for (unsigned i = 0; i < digits && magnitude > 0; ++i) {
        const uint8_t digit = static_cast<uint8_t>(magnitude % 10);
        magnitude /= 10;
        const size_t byte = (i + 1) / 2;
        if (byte >= dst.size()) {
            break;
        }
        dst[byte] |= (i % 2 == 0) ? static_cast<uint8_t>(digit << 4) : digit;
    }
    return true;
}

bool EncodeScaled(double value, uint8_t& scale, int32_t& mantissa) {
    const double a = std::fabs(value);
    if (a < 1e-21) {
        scale = 15;
        mantissa = 0;
        return true;
    }
    if (!(a < 1000.0)) {
        return false; // also NaN
    }
    // The decimal exponent of the leading digit. floor() also for exact powers of ten below 1, so that
    // 0.1 and 0.01 keep nine significant digits instead of overflowing to ten.
    const int k = static_cast<int>(std::floor(std::log10(a)));
    double scaled = 0;
    if (k < -13) {
        scaled = a * 1e21;
        scale = 15;
    } else {
        scaled = a * std::pow(10.0, 8 - k);
        scale = static_cast<uint8_t>(2 - k);
    }
    mantissa = static_cast<int32_t>(std::trunc(scaled));
    if (mantissa == 0) {
        scale = 0;
    }
    if (value < 0) {
        mantissa = -mantissa;
    }
    return true;
}

double DecodeScaled(std::span<const uint8_t> mantissaBytes, uint8_t scale) {
    int32_t mantissa = 0;
    DecodeBcd(mantissaBytes, 9, &mantissa, nullptr);
    return static_cast<double>(mantissa) / std::pow(10.0, static_cast<int>(scale) + 6);
}

} // namespace terrix

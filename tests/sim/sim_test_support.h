#pragma once
// Request frames written out by the tests themselves, independent of the simulator's frame code, and a
// short way to put one on a virtual bus.

#include "sim/frame.h"
#include "sim/virtual_bus.h"

#include <cstdint>
#include <vector>

namespace terrix::sim::test {

// station, 253, length, flag, command, header checksum, 0xFE [, data..., data checksum]
inline std::vector<uint8_t> RequestBytes(uint8_t station, uint8_t command, std::vector<uint8_t> data = {}) {
    const uint8_t flag = (command <= 20 || (command >= 250 && command <= 252)) ? 0 : 8;
    const uint8_t length = data.empty() ? 0 : static_cast<uint8_t>(data.size() + 1);
    std::vector<uint8_t> f = {station, 253, length, flag, command};
    f.push_back(static_cast<uint8_t>((station + 253 + length + flag + command) & 0x7F));
    f.push_back(0xFE);
    if (!data.empty()) {
        unsigned sum = 0;
        for (uint8_t b : data) {
            f.push_back(b);
            sum += b;
        }
        f.push_back(static_cast<uint8_t>(sum & 0xFF));
    }
    return f;
}

inline bool HeaderChecksumOk(const std::vector<uint8_t>& reply) {
    return reply.size() >= 7 && reply[5] == ((reply[0] + reply[1] + reply[2] + reply[3] + reply[4]) & 0x7F);
}

// What the PC hears back for one request frame: the line's bytes, empty for silence.
inline std::vector<uint8_t> Ask(VirtualBus& bus, const std::vector<uint8_t>& frame, uint32_t baud = 9600) {
    const auto request = ParseRequest(frame);
    if (!request) {
        return {};
    }
    const auto reply = bus.Deliver(*request, baud, 0);
    return reply ? reply->bytes : std::vector<uint8_t>{};
}

// The broadcasts that move a module to another station and the whole bus to another baud rate.
inline std::vector<uint8_t> SetStationFrame(uint16_t serial, uint8_t station) {
    return RequestBytes(255, 1,
                        {static_cast<uint8_t>(serial & 0xFF), static_cast<uint8_t>(serial >> 8), station});
}
inline std::vector<uint8_t> SetBaudFrame(uint32_t baud) {
    const auto v = static_cast<uint16_t>(baud / 100);
    return RequestBytes(255, 16, {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)});
}

// The data block of a reply (between header and data checksum).
inline std::vector<uint8_t> DataOf(const std::vector<uint8_t>& reply) {
    if (reply.size() < 9 || reply[2] < 2) {
        return {};
    }
    return {reply.begin() + 7, reply.begin() + 7 + (reply[2] - 1)};
}

} // namespace terrix::sim::test

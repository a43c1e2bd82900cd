#pragma once
// Request frames written out by the tests themselves, independent of the simulator's frame code, and a
// short way to put one on a virtual bus.

#include "sim/frame.h"
#include "sim/virtual_bus.h"
#include "support/scripted_transport.h"

#include <cstdint>
#include <vector>

namespace terrix::sim::test {

// A request has the layout of a module's reply, with the flag where the reply has its status.
inline std::vector<uint8_t> RequestBytes(uint8_t station, uint8_t command, std::vector<uint8_t> data = {}) {
    const uint8_t flag = (command <= 20 || (command >= 250 && command <= 252)) ? 0 : 8;
    return terrix::test::ModuleReply(station, command, flag, data);
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

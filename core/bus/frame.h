#pragma once
// One bus transaction: a request frame from the PC and, for addressed requests, one reply frame.
//
// Request: station, 253, length (N + 1, or 0 without data), flag (0 for commands 0..20 and 250..252, else 8),
// command, header checksum ((sum of bytes 0..4) & 0x7F), 0xFE, then N data bytes and their checksum
// (sum mod 256). Reply: two address bytes, length L (data bytes + checksum byte), status (bits 0..2 module
// error, bit 6 busy), command, header checksum, end byte, then L bytes.

#include "core/platform/com_port.h"

#include <cstdint>
#include <span>
#include <vector>

namespace terrix {

inline constexpr uint8_t kBroadcastStation = 255;
inline constexpr uint8_t kSecondAddressByte = 253;
inline constexpr uint8_t kEndOfHeader = 0xFE;
inline constexpr size_t kHeaderSize = 7;
inline constexpr size_t kMaxRequestData = 254;
inline constexpr size_t kReceiveBufferSize = 512;

// Flag byte of a request: 0 for commands 0..20 and 250..252, 8 for all others.
uint8_t RequestFlag(uint8_t command);
uint8_t HeaderChecksum(std::span<const uint8_t> firstFiveBytes);
// The request exactly as it goes on the wire; empty when N > 254.
std::vector<uint8_t> BuildRequest(uint8_t station, uint8_t secondAddress, uint8_t command,
                                  std::span<const uint8_t> data);

// Sends one request and then waits 12 ms for every byte sent. Never changes LastBusError. False when the
// data is missing or too long (nothing sent), or when the write fails or is short.
bool SendFrame(PortHandle port, uint8_t station, uint8_t secondAddress, uint8_t command, uint8_t dataLength,
               const uint8_t* data);

// Reads and checks one reply; sets LastBusError. When `expected` > 0 and a buffer is given, the first
// `expected` bytes of the buffer are zeroed and min(expected, L) bytes of the data block are copied into it
// — before the status is checked, so a reply carrying a module error still delivers its data.
bool ReceiveFrame(PortHandle port, uint16_t expected, std::span<uint8_t> buffer);

// The request followed, unless broadcast, by the reply check, under the port's lock.
bool Transact(PortHandle port, uint8_t station, uint8_t command, std::span<const uint8_t> request,
              uint16_t expected, std::span<uint8_t> reply);

} // namespace terrix

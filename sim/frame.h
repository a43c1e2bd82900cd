#pragma once
// The frames as a module sees them: requests picked out of the byte stream that the PC sends, and the
// reply frames a module puts on the line.
//
// Request: station, 253, length (data bytes + 1, or 0), flag, command, header checksum, 0xFE, data, data
// checksum. Reply: station, 253, length, status, command, header checksum, 0xFE, data, data checksum.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace terrix::sim {

inline constexpr uint8_t kBroadcastStation = 255;
inline constexpr uint8_t kPcAddress = 253;
inline constexpr uint8_t kEndOfHeader = 0xFE;
inline constexpr size_t kHeaderSize = 7;
inline constexpr size_t kMaxDataBytes = 254; // the length byte holds data + 1

// Status byte of a reply: error code in bits 0..2, busy in bit 6.
inline constexpr uint8_t kStatusBusy = 0x40;
enum ModuleError : uint8_t {
    kErrNone = 0,
    kErrDataTimeout = 1,
    kErrFatal = 2,
    kErrDataChecksum = 3,
    kErrLine = 4,
    kErrMeasuring = 5,
    kErrNotImplemented = 6,
    kErrInvalidParameter = 7,
};

struct Request {
    uint8_t station = 0;
    uint8_t secondAddress = 0;
    uint8_t flag = 0;
    uint8_t command = 0;
    std::vector<uint8_t> data;
    bool dataChecksumOk = true;
    std::vector<uint8_t> raw; // the frame as received
};

// A whole frame in `bytes` (nothing before or after it), or nothing when it is not a well-formed request.
std::optional<Request> ParseRequest(std::span<const uint8_t> bytes);

// Builds a reply frame. `data` of more than 254 bytes is cut: the length byte cannot say more.
std::vector<uint8_t> BuildReply(uint8_t station, uint8_t command, uint8_t status,
                                std::span<const uint8_t> data);

// Finds request frames in a byte stream that may hold garbage and partial frames. A frame starts where
// seven bytes form a plausible header (end-of-header byte, matching checksum, possible length); anything
// else is dropped a byte at a time until such a header lines up. A frame whose data block is still
// incomplete when the line has been quiet for the stale time is given up, so a cut frame cannot swallow
// the next request as its data.
class FrameAssembler {
public:
    explicit FrameAssembler(uint64_t staleUs = 50000) : staleUs_(staleUs) {}

    // Adds bytes received at `nowUs`; returns the requests completed by them, in order.
    std::vector<Request> Feed(std::span<const uint8_t> bytes, uint64_t nowUs);
    // Bytes dropped while searching for a header since the last call (for traces).
    std::vector<uint8_t> TakeDropped();
    size_t Pending() const { return buffer_.size(); }
    void Reset();

private:
    void DropFront(size_t n);

    uint64_t staleUs_;
    uint64_t lastByteUs_ = 0;
    std::vector<uint8_t> buffer_;
    std::vector<uint8_t> dropped_;
};

} // namespace terrix::sim

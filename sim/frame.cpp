#include "sim/frame.h"

#include "sim/wire_format.h"

#include <algorithm>

namespace terrix::sim {

namespace {

// Length byte 1 would announce a checksum without data; the PC never sends that, so it marks garbage.
bool PlausibleHeader(std::span<const uint8_t> h) {
    return h[6] == kEndOfHeader && h[5] == HeaderChecksum(h.first(5)) && h[2] != 1;
}

size_t FrameSize(uint8_t lengthByte) {
    return lengthByte == 0 ? kHeaderSize : kHeaderSize + lengthByte;
}

} // namespace

std::optional<Request> ParseRequest(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || !PlausibleHeader(bytes.first(kHeaderSize))) {
        return std::nullopt;
    }
    if (bytes.size() != FrameSize(bytes[2])) {
        return std::nullopt;
    }
    Request r;
    r.station = bytes[0];
    r.secondAddress = bytes[1];
    r.flag = bytes[3];
    r.command = bytes[4];
    if (bytes[2] != 0) {
        const size_t n = bytes[2] - 1u;
        r.data.assign(bytes.begin() + kHeaderSize, bytes.begin() + kHeaderSize + n);
        r.dataChecksumOk = DataChecksum(r.data) == bytes[kHeaderSize + n];
    }
    r.raw.assign(bytes.begin(), bytes.end());
    return r;
}

std::vector<uint8_t> BuildReply(uint8_t station, uint8_t command, uint8_t status,
                                std::span<const uint8_t> data) {
    if (data.size() > kMaxDataBytes) {
        data = data.first(kMaxDataBytes);
    }
    // The frame is made at its final size: growing it by an insert made GCC 12 at -O3 report a false
    // out-of-bounds copy (-Warray-bounds) once this function was compiled together with its callers.
    std::vector<uint8_t> frame(kHeaderSize + (data.empty() ? 0 : data.size() + 1));
    frame[0] = station;
    frame[1] = kPcAddress;
    frame[2] = data.empty() ? 0 : static_cast<uint8_t>(data.size() + 1);
    frame[3] = status;
    frame[4] = command;
    frame[5] = HeaderChecksum(std::span<const uint8_t>(frame).first(5));
    frame[6] = kEndOfHeader;
    if (!data.empty()) {
        std::copy(data.begin(), data.end(), frame.begin() + kHeaderSize);
        frame.back() = DataChecksum(data);
    }
    return frame;
}

std::vector<Request> FrameAssembler::Feed(std::span<const uint8_t> bytes, uint64_t nowUs) {
    if (!buffer_.empty() && nowUs > lastByteUs_ + staleUs_) {
        DropFront(buffer_.size());
    }
    if (!bytes.empty()) {
        lastByteUs_ = nowUs;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    std::vector<Request> requests;
    while (buffer_.size() >= kHeaderSize) {
        const std::span<const uint8_t> view(buffer_);
        if (!PlausibleHeader(view.first(kHeaderSize))) {
            DropFront(1);
            continue;
        }
        const size_t size = FrameSize(buffer_[2]);
        if (buffer_.size() < size) {
            break; // the rest of the data block is still on its way
        }
        if (auto r = ParseRequest(view.first(size))) {
            requests.push_back(std::move(*r));
        }
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(size));
    }
    return requests;
}

std::vector<uint8_t> FrameAssembler::TakeDropped() {
    std::vector<uint8_t> out;
    out.swap(dropped_);
    return out;
}

void FrameAssembler::Reset() {
    buffer_.clear();
    dropped_.clear();
}

void FrameAssembler::DropFront(size_t n) {
    dropped_.insert(dropped_.end(), buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(n));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(n));
}

} // namespace terrix::sim

#include "support/scripted_transport.h"

#include <algorithm>
#include <numeric>

namespace terrix::test {

bool ScriptedTransport::Write(std::span<const uint8_t> bytes, size_t& written) {
    if (failWrites) {
        written = 0;
        return false;
    }
    writes.emplace_back(bytes.begin(), bytes.end());
    written = bytes.size();
    if (onWrite) {
        onWrite(writes.back());
    }
    return true;
}

bool ScriptedTransport::Read(std::span<uint8_t> buffer, size_t& got) {
    readTimesUs.push_back(clock_.NowUs());
    got = std::min(buffer.size(), pending_.size());
    std::copy_n(pending_.begin(), got, buffer.begin());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(got));
    if (got < buffer.size()) {
        // Nothing more comes: the read ends by its time-out (1 ms gap after a byte, else the total).
        clock_.AdvanceUs(got > 0 ? 1000 : (10 + 2 * buffer.size()) * 1000);
    }
    return true;
}

std::vector<uint8_t> ModuleReply(uint8_t station, uint8_t command, uint8_t status,
                                 const std::vector<uint8_t>& data) {
    std::vector<uint8_t> frame = {station, 253, static_cast<uint8_t>(data.empty() ? 0 : data.size() + 1),
                                  status, command};
    frame.push_back(static_cast<uint8_t>(std::accumulate(frame.begin(), frame.end(), 0u) & 0x7F));
    frame.push_back(0xFE);
    if (!data.empty()) {
        frame.insert(frame.end(), data.begin(), data.end());
        frame.push_back(static_cast<uint8_t>(std::accumulate(data.begin(), data.end(), 0u) & 0xFF));
    }
    return frame;
}

} // namespace terrix::test

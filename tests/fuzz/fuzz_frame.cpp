// A reply frame through ReceiveFrame, its bytes arriving in random pieces with pauses between them, and
// several transactions in a row on one port (what a garbled or chattering bus delivers).

#include "core/bus/bus_error.h"
#include "core/bus/frame.h"
#include "core/platform/com_port.h"
#include "tests/fuzz/fuzz_util.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace {

using namespace terrix;

// Delivers queued pieces: one Read never crosses a piece, as if the line paused between them. An empty
// piece is a pause in which nothing arrives.
class PieceTransport final : public Transport {
public:
    explicit PieceTransport(VirtualClock& clock) : clock_(clock) {}
    std::deque<std::vector<uint8_t>> pieces;

    bool Write(std::span<const uint8_t> bytes, size_t& written) override {
        written = bytes.size();
        return true;
    }
    bool Read(std::span<uint8_t> buffer, size_t& got) override {
        clock_.AdvanceUs(1000);
        got = 0;
        if (!pieces.empty()) {
            std::vector<uint8_t>& piece = pieces.front();
            got = std::min(piece.size(), buffer.size());
            std::copy_n(piece.begin(), got, buffer.begin());
            piece.erase(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
            if (piece.empty()) {
                pieces.pop_front();
            }
        }
        return true;
    }
    bool Purge() override {
        pieces.clear();
        return true;
    }
    bool SetBaud(uint32_t) override { return true; }
    uint32_t Baud() const override { return kBusBaud; }
    bool SetRts(bool) override { return true; }
    bool SetDtr(bool) override { return true; }
    bool GetModemStatus(bool& cts, bool& dsr) override {
        cts = dsr = true;
        return true;
    }
    Clock& GetClock() override { return clock_; }
    uint32_t LastError() const override { return 0; }
    std::string Describe() const override { return "fuzz"; }

private:
    VirtualClock& clock_;
};

constexpr uint8_t kSentinel = 0xA5;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    static VirtualClock clock;
    auto owned = std::make_unique<PieceTransport>(clock);
    PieceTransport& transport = *owned;
    const PortHandle port = ComAdopt(std::move(owned));
    fuzz::Check(port != kInvalidPort);
    const int transactions = in.ConsumeIntegralInRange<int>(1, 4);
    std::vector<std::pair<uint16_t, size_t>> calls;
    for (int i = 0; i < transactions; ++i) {
        const uint16_t expected = in.ConsumeIntegralInRange<uint16_t>(0, 300);
        const size_t bufferSize = in.ConsumeIntegralInRange<size_t>(0, 300);
        calls.emplace_back(expected, bufferSize);
    }
    while (in.remaining_bytes() > 0) {
        const size_t length = in.ConsumeIntegralInRange<size_t>(0, 40);
        transport.pieces.push_back(in.ConsumeBytes<uint8_t>(length));
    }
    for (const auto& [expected, bufferSize] : calls) {
        std::vector<uint8_t> buffer(bufferSize + 8, kSentinel);
        const bool ok = ReceiveFrame(port, expected, std::span<uint8_t>(buffer.data(), bufferSize));
        // A reply is never written past the caller's buffer, nor past what the caller expects.
        const size_t limit = std::min<size_t>(expected, bufferSize);
        fuzz::Check(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(limit), buffer.end(),
                                [](uint8_t b) { return b == kSentinel; }));
        // Success and a bus error are never reported together.
        fuzz::Check(ok == (LastBusError() == kBusOk));
    }
    ComClose(port);
    return 0;
}

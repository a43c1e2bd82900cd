#pragma once
// A transport for unit tests: records what the bus layer writes and hands out scripted reply bytes, on a
// virtual clock, so frame and command tests need neither a device nor real time.

#include "core/platform/transport.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace terrix::test {

class ScriptedTransport final : public Transport {
public:
    explicit ScriptedTransport(VirtualClock& clock) : clock_(clock) {}

    // Bytes that a Read will deliver, in order.
    void QueueReply(const std::vector<uint8_t>& bytes) {
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    }
    // Called after every write with the frame written; may queue a reply.
    std::function<void(const std::vector<uint8_t>&)> onWrite;

    bool Write(std::span<const uint8_t> bytes, size_t& written) override;
    bool Read(std::span<uint8_t> buffer, size_t& got) override;
    bool Purge() override {
        ++purges;
        return PurgeInput();
    }
    bool PurgeInput() override {
        pending_.clear();
        return true;
    }
    bool SetBaud(uint32_t baud) override {
        baud_ = baud;
        baudChanges.push_back(baud);
        return true;
    }
    uint32_t Baud() const override { return baud_; }
    bool SetRts(bool on) override {
        rts = on;
        return true;
    }
    bool SetDtr(bool on) override {
        dtr = on;
        return true;
    }
    bool GetModemStatus(bool& cts, bool& dsr) override {
        ++modemStatusReads;
        cts = loopRtsToCts && rts;
        dsr = loopDtrToDsr && dtr;
        return true;
    }
    Clock& GetClock() override { return clock_; }
    uint32_t LastError() const override { return 0; }
    std::string Describe() const override { return "scripted"; }

    std::vector<std::vector<uint8_t>> writes;
    std::vector<uint32_t> baudChanges;
    std::vector<uint64_t> readTimesUs; // clock time at the start of every read
    int purges = 0;
    // The modem lines as set last; a tty raises both when it is opened.
    bool rts = false;
    bool dtr = false;
    int modemStatusReads = 0;
    bool loopRtsToCts = true;
    bool loopDtrToDsr = true;
    bool failWrites = false;

private:
    VirtualClock& clock_;
    std::deque<uint8_t> pending_;
    uint32_t baud_ = 9600;
};

// A reply frame as a module builds it: address bytes, length, status, command, checksum, end, data, data sum.
std::vector<uint8_t> ModuleReply(uint8_t station, uint8_t command, uint8_t status,
                                 const std::vector<uint8_t>& data);

} // namespace terrix::test

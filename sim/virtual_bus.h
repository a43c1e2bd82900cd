#pragma once
// The simulated bus: the modules on one line and what the PC hears back. Every module at the addressed
// station answers; two or more answers at once garble each other, nobody means silence, and a broadcast
// is never answered. Safe to use from several threads (the pty server answers on its own thread while a
// test inspects the modules).

#include "sim/frame.h"
#include "sim/module_state.h"
#include "sim/virtual_module.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace terrix::sim {

// One request as the bus heard it.
struct LoggedRequest {
    uint64_t timeUs = 0; // on the clock of whoever delivered it
    uint32_t baud = 0;
    uint8_t station = 0;
    uint8_t command = 0;
    std::vector<uint8_t> data;
    bool dataChecksumOk = true;
    uint32_t answers = 0; // modules that replied (2 or more: a collision)
};

// What comes back on the line for one request.
struct LineReply {
    std::vector<uint8_t> bytes;
    uint32_t delayMs = 0;
    uint32_t senders = 0;
};

class VirtualBus {
public:
    explicit VirtualBus(uint64_t seed = 1) : seed_(seed) {}
    VirtualBus(const VirtualBus&) = delete;
    VirtualBus& operator=(const VirtualBus&) = delete;

    // Adds a module; returns its index (indices stay valid for the bus's life).
    size_t AddModule(const ModuleState& state);
    size_t ModuleCount() const;

    // Copies of a module's state, by index or by serial number (the first module with it).
    std::optional<ModuleState> Module(size_t index) const;
    std::optional<ModuleState> ModuleBySerial(uint16_t serial) const;
    // Changes a module in place (faults, settings); false when there is no such module.
    bool Modify(size_t index, const std::function<void(ModuleState&)>& change);
    bool ModifyBySerial(uint16_t serial, const std::function<void(ModuleState&)>& change);
    bool SetFaults(uint16_t serial, const ModuleFaults& faults);
    bool PowerCycle(uint16_t serial);
    std::vector<ModuleState> Modules() const;

    // A request frame heard at `baud`; the reply the PC receives, if anybody answers.
    std::optional<LineReply> Deliver(const Request& request, uint32_t baud, uint64_t timeUs);

    std::vector<LoggedRequest> RequestLog() const;
    void ClearRequestLog();

    // Whether the interface cable is plugged in (its RTS/CTS and DTR/DSR loops answer).
    bool CablePresent() const;
    void SetCablePresent(bool present);
    // Whether the serial adapter is pulled out: every transport open on the bus then fails as a vanished
    // device does, for good, and no new one opens until it is plugged in again.
    bool Unplugged() const;
    void SetUnplugged(bool unplugged);
    uint64_t Seed() const { return seed_; }

private:
    mutable std::mutex mutex_;
    uint64_t seed_;
    bool cable_ = true;
    bool unplugged_ = false;
    std::vector<std::unique_ptr<VirtualModule>> modules_;
    std::vector<LoggedRequest> log_;
};

// What the PC receives when several modules send at once. The line is wired-AND (a 0 bit of any sender
// wins), so the bytes are combined that way; senders are never bit-aligned either, so the header's
// checksum byte is always damaged as well.
std::vector<uint8_t> CombineReplies(const std::vector<std::vector<uint8_t>>& replies);

} // namespace terrix::sim

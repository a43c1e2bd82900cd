#pragma once
// One simulated module: hears every request on the line, answers those addressed to its station at its
// baud rate, and keeps what the PC writes.

#include "sim/frame.h"
#include "sim/module_state.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace terrix::sim {

struct ModuleReply {
    std::vector<uint8_t> bytes;
    uint32_t delayMs = 0;
};

class VirtualModule {
public:
    VirtualModule(ModuleState state, uint64_t seed) : state_(std::move(state)), seed_(seed) {}

    // The module's reaction to a request sent on the line at `lineBaud`: a reply, or nothing (not for
    // this module, not understood at this rate, a broadcast, or the module is mute).
    std::optional<ModuleReply> Hear(const Request& request, uint32_t lineBaud);

    // Switching the module off and on: it listens at its start-up baud rate again and forgets the halt
    // command.
    void PowerCycle();

    ModuleState& State() { return state_; }
    const ModuleState& State() const { return state_; }

private:
    struct Outcome {
        uint8_t status = kErrNone;
        std::vector<uint8_t> data;
    };

    void HearBroadcast(const Request& request);
    // Runs a command. With `apply` false nothing changes (a busy module): reads still deliver their data.
    Outcome Execute(const Request& request, bool apply);
    bool NotImplemented(uint8_t command) const;
    bool Unlocked() const;

    Outcome StationInformation() const;
    Outcome Calibration(const Request& r, bool temperature, bool write, bool apply);
    Outcome ChannelBlock(const Request& r, bool apply);
    Outcome Offset(const Request& r, bool write, bool apply);
    Outcome SensorPart(const Request& r) const;
    Outcome MeasuredValues(bool apply);
    Outcome XvBlockA() const;
    Outcome XvBlockB() const;

    double Sample(const SignalModel& model, uint32_t stream) const;

    ModuleState state_;
    uint64_t seed_;
};

// Baud rates a module can be switched to with command 16.
bool IsModuleBaud(uint32_t baud);

} // namespace terrix::sim

#pragma once
// Modules for the configuration tests: each answers the calibration, parameter, offset, analog
// configuration and halt-state commands from its own memory, on a scripted transport in virtual time.
// Faults are injected per command.

#include "core/platform/com_port.h"
#include "support/scripted_transport.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace terrix::test {

using Bytes = std::vector<uint8_t>;

struct FakeModule {
    static constexpr uint8_t kSilent = 0xFF; // a fault that leaves the request unanswered

    std::array<Bytes, 16> matCalib; // the 27-byte blocks as stored
    std::array<Bytes, 16> tempCalib;
    bool hasTempCalib = true;
    uint8_t active = 0;
    Bytes appParams = Bytes(10, 0);
    Bytes analogCfg0 = {0, 0, 0x40, 0, 0, 1, 0};
    int32_t zeroOffset1 = 0;
    Bytes offsetBlock = Bytes(7, 0); // as last written with 232
    uint8_t haltState = 0;

    // Returns a status to answer with instead (kSilent: no answer), or nothing for the normal answer.
    std::function<std::optional<uint8_t>(uint8_t command, const Bytes& data)> fault;

    // Requests received, in order: command and data.
    std::vector<std::pair<uint8_t, Bytes>> requests;

    FakeModule();
    // Stores a calibration as the module would after a write with these floats.
    void SetMat(uint8_t index, uint16_t id, const std::array<float, 6>& floats);
    void SetTemp(uint8_t index, uint16_t id, const std::array<float, 6>& floats);
    std::vector<uint8_t> Commands() const;
    int CountOf(uint8_t command) const;
};

class FakeBus {
public:
    FakeBus();
    ~FakeBus();
    FakeBus(const FakeBus&) = delete;
    FakeBus& operator=(const FakeBus&) = delete;

    FakeModule& Add(uint8_t station);
    FakeModule& At(uint8_t station) { return modules_.at(station); }
    PortHandle Port() const { return port_; }
    ScriptedTransport& Transport() { return *transport_; }
    // Broadcast requests (station 255), command and data.
    std::vector<std::pair<uint8_t, Bytes>> broadcasts;

private:
    void OnRequest(const Bytes& frame);

    VirtualClock clock_{1'000'000};
    ScriptedTransport* transport_ = nullptr;
    PortHandle port_ = kInvalidPort;
    std::map<uint8_t, FakeModule> modules_;
};

Bytes CalibBlock(uint8_t index, uint16_t id, const std::array<float, 6>& floats);

} // namespace terrix::test

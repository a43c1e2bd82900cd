#include "fake_bus.h"

#include "core/bus/packed_decimal.h"

#include <algorithm>
#include <cstring>

namespace terrix::test {

Bytes CalibBlock(uint8_t index, uint16_t id, const std::array<float, 6>& floats) {
    Bytes block(27, 0);
    block[0] = index;
    block[1] = static_cast<uint8_t>(id & 0xFF);
    block[2] = static_cast<uint8_t>(id >> 8);
    for (size_t k = 0; k < 6; ++k) {
        uint32_t bits = 0;
        std::memcpy(&bits, &floats[k], sizeof bits);
        for (int b = 0; b < 4; ++b) {
            block[3 + 4 * k + b] = static_cast<uint8_t>(bits >> (8 * b));
        }
    }
    return block;
}

FakeModule::FakeModule() {
    for (uint8_t i = 0; i < 16; ++i) {
        matCalib[i] = CalibBlock(i, 0, {});
        tempCalib[i] = CalibBlock(i, 0, {});
    }
}

void FakeModule::SetMat(uint8_t index, uint16_t id, const std::array<float, 6>& floats) {
    matCalib[index] = CalibBlock(index, id, floats);
}

void FakeModule::SetTemp(uint8_t index, uint16_t id, const std::array<float, 6>& floats) {
    tempCalib[index] = CalibBlock(index, id, floats);
}

std::vector<uint8_t> FakeModule::Commands() const {
    std::vector<uint8_t> commands;
    for (const auto& request : requests) {
        commands.push_back(request.first);
    }
    return commands;
}

int FakeModule::CountOf(uint8_t command) const {
    return static_cast<int>(std::count_if(requests.begin(), requests.end(), [command](const auto& request) {
        return request.first == command;
    }));
}

FakeBus::FakeBus() {
    auto owned = std::make_unique<ScriptedTransport>(clock_);
    transport_ = owned.get();
    port_ = ComAdopt(std::move(owned));
    transport_->onWrite = [this](const Bytes& frame) { OnRequest(frame); };
}

FakeBus::~FakeBus() {
    ComClose(port_);
}

FakeModule& FakeBus::Add(uint8_t station) {
    return modules_[station];
}

void FakeBus::OnRequest(const Bytes& frame) {
    if (frame.size() < 7) {
        return;
    }
    const uint8_t station = frame[0];
    const uint8_t command = frame[4];
    const size_t length = frame[2];
    const Bytes data = length > 1 && frame.size() >= 7 + length
                           ? Bytes(frame.begin() + 7, frame.begin() + 6 + length)
                           : Bytes{};
    if (station == 255) {
        broadcasts.emplace_back(command, data);
        return;
    }
    const auto found = modules_.find(station);
    if (found == modules_.end()) {
        return;
    }
    FakeModule& m = found->second;
    m.requests.emplace_back(command, data);
    if (m.fault) {
        if (const std::optional<uint8_t> status = m.fault(command, data)) {
            if (*status != FakeModule::kSilent) {
                transport_->QueueReply(ModuleReply(station, command, *status, {}));
            }
            return;
        }
    }
    Bytes reply;
    uint8_t status = 0;
    const uint8_t arg = data.empty() ? 0 : data[0];
    switch (command) {
    case 206:
        reply = m.matCalib[arg & 15];
        break;
    case 207:
        m.matCalib[arg & 15] = data;
        break;
    case 194:
    case 195:
        if (!m.hasTempCalib) {
            status = 6;
        } else if (command == 194) {
            reply = m.tempCalib[arg & 15];
        } else {
            m.tempCalib[arg & 15] = data;
        }
        break;
    case 204:
        reply = {m.active};
        break;
    case 205:
        m.active = arg;
        break;
    case 192:
        reply = m.appParams;
        break;
    case 193:
        m.appParams = data;
        break;
    case 229:
        reply = m.analogCfg0;
        break;
    case 225:
        m.analogCfg0 = data;
        break;
    case 228:
    case 224:
        // The limit is reachable only while both access bits are set.
        if ((m.analogCfg0[2] & 3) != 3) {
            status = 7;
        } else if (command == 228) {
            reply = Bytes(7, 0);
            EncodeBcd(m.zeroOffset1, 9, std::span<uint8_t>(&reply[2], 5));
        } else {
            DecodeBcd(std::span<const uint8_t>(&data[2], 3), 5, &m.zeroOffset1, nullptr);
        }
        break;
    case 233:
        reply = m.offsetBlock;
        reply[0] = arg;
        break;
    case 232:
        m.offsetBlock = data;
        break;
    case 190:
        reply = {m.haltState};
        break;
    case 191:
        m.haltState = arg;
        break;
    default:
        status = 6;
        break;
    }
    transport_->QueueReply(ModuleReply(station, command, status, reply));
}

} // namespace terrix::test

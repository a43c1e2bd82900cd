#include "sim/virtual_bus.h"

#include "sim/wire_format.h"

#include <algorithm>

namespace terrix::sim {

namespace {
constexpr size_t kMaxLogEntries = 100000;
} // namespace

std::vector<uint8_t> CombineReplies(const std::vector<std::vector<uint8_t>>& replies) {
    size_t longest = 0;
    for (const auto& r : replies) {
        longest = std::max(longest, r.size());
    }
    std::vector<uint8_t> line(longest, 0xFF); // an idle line reads as ones
    for (const auto& r : replies) {
        for (size_t i = 0; i < r.size(); ++i) {
            line[i] &= r[i];
        }
    }
    if (line.size() >= kHeaderSize) {
        const uint8_t right = HeaderChecksum(std::span<const uint8_t>(line).first(5));
        line[5] = static_cast<uint8_t>((right + 0x2B) & 0x7F);
    }
    return line;
}

size_t VirtualBus::AddModule(const ModuleState& state) {
    std::lock_guard lock(mutex_);
    modules_.push_back(std::make_unique<VirtualModule>(state, seed_));
    return modules_.size() - 1;
}

size_t VirtualBus::ModuleCount() const {
    std::lock_guard lock(mutex_);
    return modules_.size();
}

std::optional<ModuleState> VirtualBus::Module(size_t index) const {
    std::lock_guard lock(mutex_);
    if (index >= modules_.size()) {
        return std::nullopt;
    }
    return modules_[index]->State();
}

std::optional<ModuleState> VirtualBus::ModuleBySerial(uint16_t serial) const {
    std::lock_guard lock(mutex_);
    for (const auto& m : modules_) {
        if (m->State().info.serialNo == serial) {
            return m->State();
        }
    }
    return std::nullopt;
}

bool VirtualBus::Modify(size_t index, const std::function<void(ModuleState&)>& change) {
    std::lock_guard lock(mutex_);
    if (index >= modules_.size()) {
        return false;
    }
    change(modules_[index]->State());
    return true;
}

bool VirtualBus::ModifyBySerial(uint16_t serial, const std::function<void(ModuleState&)>& change) {
    std::lock_guard lock(mutex_);
    for (const auto& m : modules_) {
        if (m->State().info.serialNo == serial) {
            change(m->State());
            return true;
        }
    }
    return false;
}

bool VirtualBus::SetFaults(uint16_t serial, const ModuleFaults& faults) {
    return ModifyBySerial(serial, [&](ModuleState& s) { s.faults = faults; });
}

bool VirtualBus::PowerCycle(uint16_t serial) {
    std::lock_guard lock(mutex_);
    for (const auto& m : modules_) {
        if (m->State().info.serialNo == serial) {
            m->PowerCycle();
            return true;
        }
    }
    return false;
}

std::vector<ModuleState> VirtualBus::Modules() const {
    std::lock_guard lock(mutex_);
    std::vector<ModuleState> out;
    out.reserve(modules_.size());
    for (const auto& m : modules_) {
        out.push_back(m->State());
    }
    return out;
}

std::optional<LineReply> VirtualBus::Deliver(const Request& request, uint32_t baud, uint64_t timeUs) {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<uint8_t>> replies;
    uint32_t delayMs = 0;
    // Every module hears every frame: a broadcast must reach all of them, and an addressed frame may
    // find several modules at one station.
    for (const auto& m : modules_) {
        if (auto reply = m->Hear(request, baud)) {
            delayMs = std::max(delayMs, reply->delayMs);
            replies.push_back(std::move(reply->bytes));
        }
    }
    if (log_.size() >= kMaxLogEntries) {
        // A simulator that runs for days keeps the newer half.
        log_.erase(log_.begin(), log_.begin() + static_cast<std::ptrdiff_t>(kMaxLogEntries / 2));
    }
    log_.push_back({timeUs, baud, request.station, request.command, request.data, request.dataChecksumOk,
                    static_cast<uint32_t>(replies.size())});
    if (replies.empty()) {
        return std::nullopt;
    }
    LineReply line;
    line.senders = static_cast<uint32_t>(replies.size());
    line.delayMs = delayMs;
    line.bytes = replies.size() == 1 ? std::move(replies.front()) : CombineReplies(replies);
    return line;
}

std::vector<LoggedRequest> VirtualBus::RequestLog() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void VirtualBus::ClearRequestLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

bool VirtualBus::CablePresent() const {
    std::lock_guard lock(mutex_);
    return cable_;
}

void VirtualBus::SetCablePresent(bool present) {
    std::lock_guard lock(mutex_);
    cable_ = present;
}

bool VirtualBus::Unplugged() const {
    std::lock_guard lock(mutex_);
    return unplugged_;
}

void VirtualBus::SetUnplugged(bool unplugged) {
    std::lock_guard lock(mutex_);
    unplugged_ = unplugged;
}

} // namespace terrix::sim

#include "core/config/error66_limit.h"

#include "core/bus/commands.h"

#include <cmath>

namespace terrix {

namespace {

constexpr uint8_t kCfgChannel = 0;
constexpr uint8_t kLimitChannel = 1;
constexpr size_t kRawVofsVdOffset = 2; // yRawVofsVd within the 7-byte block
constexpr uint8_t kLimitAccessBits = 0x03;
// A limit is a percentage of the measured value: 0..100 %. (The module's field has five packed digits, but
// a negative value or one above 100 % is no limit at all.)
constexpr int32_t kMaxUnits = 1000;

void Add(ConfigMessages& messages, const char* text) {
    messages.push_back({text, "", MessageIcon::None});
}

// Writes a copy: the write command clears the block it is given.
bool WriteCfgCopy(PortHandle port, uint8_t station, const AnalogCfgBlock& cfg) {
    AnalogCfgBlock copy = cfg;
    return WriteAnalogCfg(port, station, copy);
}

// Runs `access` with the limit bits set and restores the configuration read first, whatever happened.
template <typename Access>
bool WithLimitAccess(PortHandle port, uint8_t station, ConfigMessages& messages, Access access,
                     bool& restored) {
    restored = false;
    AnalogCfgBlock original{};
    if (!ReadAnalogCfg(port, station, kCfgChannel, original)) {
        Add(messages, kMsgGetAnalogCfgFailed);
        return false;
    }
    AnalogCfgBlock open = original;
    open[kRawVofsVdOffset] |= kLimitAccessBits;
    bool ok = WriteCfgCopy(port, station, open);
    if (!ok) {
        Add(messages, kMsgSetAnalogCfgFailed);
    } else {
        ok = access();
    }
    // Also after a failed write of the modified block: it may have arrived although the reply did not.
    restored = WriteCfgCopy(port, station, original);
    if (!restored && (messages.empty() || messages.back().text != kMsgSetAnalogCfgFailed)) {
        Add(messages, kMsgSetAnalogCfgFailed);
    }
    return ok;
}

} // namespace

bool Error66LimitUnits(double percent, int32_t& units) {
    if (!std::isfinite(percent)) {
        return false;
    }
    const double scaled = percent * 10;
    const double nearest = std::round(scaled);
    const double value = std::fabs(scaled - nearest) < 1e-6 ? nearest : std::trunc(scaled);
    if (value < 0 || value > kMaxUnits) {
        return false;
    }
    units = static_cast<int32_t>(value);
    return true;
}

bool ReadError66Limit(PortHandle port, uint8_t station, double& percent, ConfigMessages& messages) {
    PortLock lock(port);
    int32_t units = 0;
    bool restored = false;
    const bool ok = WithLimitAccess(
        port, station, messages,
        [&] {
            if (!ReadZeroOffset(port, station, kLimitChannel, units)) {
                Add(messages, kMsgZeroOffsetFailed);
                return false;
            }
            return true;
        },
        restored);
    if (ok) {
        percent = units * 0.1;
    }
    return ok;
}

bool WriteError66Limit(PortHandle port, uint8_t station, double percent, ConfigMessages& messages) {
    int32_t units = 0;
    if (!Error66LimitUnits(percent, units)) {
        messages.push_back({kMsgLimitRange, "", MessageIcon::None});
        Add(messages, kMsgSetLowLimitFailed);
        return false;
    }
    PortLock lock(port);
    bool restored = false;
    const bool ok = WithLimitAccess(
        port, station, messages,
        [&] {
            if (!WriteZeroOffset(port, station, kLimitChannel, units)) {
                Add(messages, kMsgZeroOffsetFailed);
                return false;
            }
            return true;
        },
        restored);
    if (!ok || !restored) {
        Add(messages, kMsgSetLowLimitFailed);
        return false;
    }
    return true;
}

} // namespace terrix

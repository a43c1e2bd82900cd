#include "core/config/app_params.h"

#include <cmath>
#include <cstring>

namespace terrix {

namespace {

// Saturates, so that an absurd entry gives a count that no field takes rather than a wrapped one.
uint64_t Round(double x) {
    const double r = std::floor(x + 0.5);
    return r >= 18446744073709551615.0 ? UINT64_MAX : static_cast<uint64_t>(r);
}

bool Fits(uint64_t value, uint64_t max, const char* field, uint64_t maxSeconds, std::string& error) {
    if (value <= max) {
        return true;
    }
    error = std::string(field) + " must be at most " + std::to_string(maxSeconds) + " s: its count " +
            std::to_string(value) + " does not fit the module's field (at most " + std::to_string(max) + ").";
    return false;
}

} // namespace

AppParams AppParams::FromBytes(const AppParamsBlock& b) {
    AppParams p;
    const uint32_t bits = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                          (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    std::memcpy(&p.fOffset, &bits, sizeof bits);
    p.wAveraging = static_cast<uint16_t>(b[4] | (b[5] << 8));
    p.wError66Units = static_cast<uint16_t>(b[6] | (b[7] << 8));
    p.yQueueFull = b[8];
    p.yQueueEmpty = b[9];
    return p;
}

AppParamsBlock AppParams::ToBytes() const {
    AppParamsBlock b{};
    uint32_t bits = 0;
    std::memcpy(&bits, &fOffset, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        b[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    b[4] = static_cast<uint8_t>(wAveraging & 0xFF);
    b[5] = static_cast<uint8_t>(wAveraging >> 8);
    b[6] = static_cast<uint8_t>(wError66Units & 0xFF);
    b[7] = static_cast<uint8_t>(wError66Units >> 8);
    b[8] = yQueueFull;
    b[9] = yQueueEmpty;
    return b;
}

double OffsetPercentFromBlock(float offset) {
    return static_cast<double>(offset) * 0.1;
}
float OffsetBlockFromPercent(double percent) {
    return static_cast<float>(percent * 10);
}
uint64_t AveragingSecondsFromCount(uint64_t count) {
    return Round(static_cast<double>(count) * 0.7572);
}
uint64_t AveragingCountFromSeconds(uint64_t seconds) {
    return Round(static_cast<double>(seconds) * 1.3206550449022716);
}
uint64_t Error66SecondsFromUnits(uint64_t units) {
    return units > UINT64_MAX / 4 ? UINT64_MAX : units * 4;
}
uint64_t Error66UnitsFromSeconds(uint64_t seconds) {
    return seconds / 4;
}
uint64_t QueueSecondsFromCount(uint64_t count) {
    return Round(static_cast<double>(count) * 0.4);
}
uint64_t QueueCountFromSeconds(uint64_t seconds) {
    return Round(static_cast<double>(seconds) * 2.5);
}

AppParamsSeconds SecondsFromBlock(const AppParams& params) {
    AppParamsSeconds s;
    s.offsetPercent = OffsetPercentFromBlock(params.fOffset);
    s.averagingSeconds = AveragingSecondsFromCount(params.wAveraging);
    s.error66Seconds = Error66SecondsFromUnits(params.wError66Units);
    s.queueFullSeconds = QueueSecondsFromCount(params.yQueueFull);
    s.queueEmptySeconds = QueueSecondsFromCount(params.yQueueEmpty);
    return s;
}

bool BlockFromSeconds(const AppParamsSeconds& seconds, AppParams& params, std::string& error) {
    const float offset = OffsetBlockFromPercent(seconds.offsetPercent);
    if (!std::isfinite(offset)) {
        error = "The offset must be a finite number of percent.";
        return false;
    }
    const uint64_t averaging = AveragingCountFromSeconds(seconds.averagingSeconds);
    const uint64_t error66 = Error66UnitsFromSeconds(seconds.error66Seconds);
    const uint64_t queueFull = QueueCountFromSeconds(seconds.queueFullSeconds);
    const uint64_t queueEmpty = QueueCountFromSeconds(seconds.queueEmptySeconds);
    if (!Fits(averaging, 65535, "Averaging Time", kMaxAveragingSeconds, error) ||
        !Fits(error66, 65535, "Error66 Delay", kMaxError66Seconds, error) ||
        !Fits(queueFull, 255, "Queue-Full Time", kMaxQueueSeconds, error) ||
        !Fits(queueEmpty, 255, "Queue-Empty Time", kMaxQueueSeconds, error)) {
        return false;
    }
    params.fOffset = offset;
    params.wAveraging = static_cast<uint16_t>(averaging);
    params.wError66Units = static_cast<uint16_t>(error66);
    params.yQueueFull = static_cast<uint8_t>(queueFull);
    params.yQueueEmpty = static_cast<uint8_t>(queueEmpty);
    return true;
}

bool ReadAppParams(PortHandle port, uint8_t station, AppParams& params) {
    AppParamsBlock block{};
    if (!ReadAppParams(port, station, block)) {
        return false;
    }
    params = AppParams::FromBytes(block);
    return true;
}

bool WriteAppParams(PortHandle port, uint8_t station, const AppParams& params) {
    return WriteAppParams(port, station, params.ToBytes());
}

bool SetAllOffsetsAndAveTime(PortHandle port, std::span<const uint8_t> stations, float offset,
                             uint16_t averagingCount, size_t* failedIndex) {
    for (size_t k = 0; k < stations.size(); ++k) {
        // Read and write back as one step, so the measuring loop cannot come in between.
        PortLock lock(port);
        AppParams params;
        bool ok = ReadAppParams(port, stations[k], params);
        if (ok) {
            params.fOffset = offset;
            params.wAveraging = averagingCount;
            ok = WriteAppParams(port, stations[k], params);
        }
        if (!ok) {
            if (failedIndex != nullptr) {
                *failedIndex = k;
            }
            return false;
        }
    }
    return true;
}

} // namespace terrix

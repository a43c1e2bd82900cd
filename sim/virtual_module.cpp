#include "sim/virtual_module.h"

#include "sim/signal_model.h"
#include "sim/wire_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace terrix::sim {

namespace {

enum Command : uint8_t {
    kSetStation = 1,
    kStationInfo = 2,
    kSetBaud = 16,
    kResetBaud = 17,
    kReadHalt = 190,
    kWriteHalt = 191,
    kReadAppParams = 192,
    kWriteAppParams = 193,
    kReadTempCalib = 194,
    kWriteTempCalib = 195,
    kReadBlockA = 196,
    kReadBlockB = 197,
    kReadActive = 204,
    kWriteActive = 205,
    kReadMatCalib = 206,
    kWriteMatCalib = 207,
    kWriteZeroOffset = 224,
    kWriteAnalogCfg = 225,
    kWriteCount = 226,
    kReadZeroOffset = 228,
    kReadAnalogCfg = 229,
    kReadCount = 230,
    kWriteOffset = 232,
    kReadOffset = 233,
    kReadSensorPart = 235,
    kReadValues = 241,
    kStartMeasurement = 242,
};

constexpr uint8_t kMaxStation = 252;
constexpr size_t kChannelBlockSize = 7;
constexpr size_t kCalibBlockSize = 27;
constexpr size_t kSensorPartSize = 7;
constexpr uint8_t kGroupInvalid = 0x04; // bit 2 of a measured-value group: no valid value
constexpr uint8_t kGroupBit1 = 0x02;
// Signal streams of one module, kept apart in the noise.
constexpr uint32_t kStreamTemperature = 2;
constexpr uint32_t kStreamXvSamples = 100;

// A float field of a reply; values beyond its range are held at its ends instead of being undefined.
float ToFloat(double v) {
    if (std::isnan(v)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(v, -kMax, kMax));
}

} // namespace

bool IsModuleBaud(uint32_t baud) {
    switch (baud) {
    case 300:
    case 600:
    case 1200:
    case 2400:
    case 4800:
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
        return true;
    default:
        return false;
    }
}

void VirtualModule::PowerCycle() {
    const uint32_t startup = uint32_t{state_.info.startupBaud} * 100u;
    if (IsModuleBaud(startup)) {
        state_.baud = startup;
    }
    state_.haltByCommand = false;
}

std::optional<ModuleReply> VirtualModule::Hear(const Request& request, uint32_t lineBaud) {
    if (lineBaud != state_.baud) {
        return std::nullopt; // at another rate the frame is noise to this module
    }
    if (request.station == kBroadcastStation) {
        HearBroadcast(request);
        return std::nullopt;
    }
    if (request.station != state_.station) {
        return std::nullopt;
    }
    ModuleFaults& faults = state_.faults;
    Outcome outcome;
    if (faults.fatalCount > 0) {
        --faults.fatalCount;
        outcome.status = kErrFatal;
    } else if (faults.busyCount > 0) {
        --faults.busyCount;
        // A busy module still sends the data block it has, so the PC sees the busy bit rather than a
        // missing block.
        outcome = Execute(request, false);
        outcome.status |= kStatusBusy;
    } else {
        outcome = Execute(request, true);
    }
    ModuleReply reply;
    reply.bytes = BuildReply(state_.station, request.command, outcome.status, outcome.data);
    reply.delayMs = faults.delayMs;
    if (faults.damagedHeader) {
        reply.bytes[5] = static_cast<uint8_t>((reply.bytes[5] + 1) & 0x7F);
    }
    if (faults.cutReplyTo >= 0 && static_cast<size_t>(faults.cutReplyTo) < reply.bytes.size()) {
        reply.bytes.resize(static_cast<size_t>(faults.cutReplyTo));
    }
    if (faults.mute) {
        return std::nullopt;
    }
    ++state_.requestsAnswered;
    return reply;
}

void VirtualModule::HearBroadcast(const Request& r) {
    if (!r.dataChecksumOk) {
        return;
    }
    switch (r.command) {
    case kSetStation:
        if (r.data.size() >= 3 && GetU16(r.data, 0) == state_.info.serialNo && r.data[2] <= kMaxStation) {
            state_.station = r.data[2];
        }
        break;
    case kSetBaud:
        if (r.data.size() >= 2 && IsModuleBaud(uint32_t{GetU16(r.data, 0)} * 100u)) {
            state_.baud = uint32_t{GetU16(r.data, 0)} * 100u;
        }
        break;
    case kResetBaud:
        state_.info.startupBaud = 96;
        break;
    default:
        break; // other commands are not meant for everybody
    }
}

bool VirtualModule::NotImplemented(uint8_t command) const {
    return state_.notImplemented.count(command) != 0 || state_.faults.status6.count(command) != 0;
}

bool VirtualModule::Unlocked() const {
    return !state_.settingsLock || (state_.channels[0].analogConfig[2] & 0x03) == 0x03;
}

VirtualModule::Outcome VirtualModule::Execute(const Request& r, bool apply) {
    Outcome invalid{kErrInvalidParameter, {}};
    if (!r.dataChecksumOk) {
        return {kErrDataChecksum, {}};
    }
    if (NotImplemented(r.command)) {
        return {kErrNotImplemented, {}};
    }
    switch (r.command) {
    case kStationInfo:
        return StationInformation();
    case kReadHalt:
        return {kErrNone,
                {static_cast<uint8_t>((state_.haltBySignal ? 1 : 0) | (state_.haltByCommand ? 2 : 0))}};
    case kWriteHalt:
        if (r.data.size() != 1) {
            return invalid;
        }
        if (apply) {
            state_.haltByCommand = (r.data[0] & 0x02) != 0; // the signal bit follows the module's input
        }
        return {};
    case kReadAppParams:
        return {kErrNone, {state_.applicationParameters.begin(), state_.applicationParameters.end()}};
    case kWriteAppParams:
        if (r.data.size() != state_.applicationParameters.size()) {
            return invalid;
        }
        if (apply) {
            std::copy(r.data.begin(), r.data.end(), state_.applicationParameters.begin());
        }
        return {};
    case kReadTempCalib:
        return Calibration(r, true, false, apply);
    case kWriteTempCalib:
        return Calibration(r, true, true, apply);
    case kReadMatCalib:
        return Calibration(r, false, false, apply);
    case kWriteMatCalib:
        return Calibration(r, false, true, apply);
    case kReadBlockA:
        return XvBlockA();
    case kReadBlockB:
        return XvBlockB();
    case kReadActive:
        return {kErrNone, {state_.activeCalibration}};
    case kWriteActive:
        if (r.data.size() != 1 || r.data[0] >= kCalibrationCount) {
            return invalid;
        }
        if (apply) {
            state_.activeCalibration = r.data[0];
        }
        return {};
    case kWriteZeroOffset:
    case kWriteAnalogCfg:
    case kWriteCount:
    case kReadZeroOffset:
    case kReadAnalogCfg:
    case kReadCount:
        return ChannelBlock(r, apply);
    case kWriteOffset:
        return Offset(r, true, apply);
    case kReadOffset:
        return Offset(r, false, apply);
    case kReadSensorPart:
        return SensorPart(r);
    case kReadValues:
        return MeasuredValues(apply);
    case kStartMeasurement:
        if (apply) {
            ++state_.measurementIndex;
        }
        return {};
    default:
        // Commands 1, 16 and 17 only make sense to everybody at once; addressed they are as unknown as
        // any other number.
        return {kErrNotImplemented, {}};
    }
}

VirtualModule::Outcome VirtualModule::StationInformation() const {
    const SimStationInfo& info = state_.info;
    // The block is sent up to and including the name's terminating zero: the length byte cannot announce
    // all 270 bytes, and the PC fills the rest of its block with zeros.
    const size_t nameLen = std::min<size_t>(info.moduleName.size(), 254);
    std::vector<uint8_t> data(std::min<size_t>(15 + nameLen + 1, kMaxDataBytes), 0);
    PutU16(data, 0, info.serialNo);
    PutU16(data, 2, info.firmwareVersion);
    data[4] = info.flag;
    data[5] = info.moduleId;
    PutU16(data, 6, info.startupBaud);
    PutU16(data, 8, info.timeOut);
    PutU16(data, 10, info.delayTime);
    PutU16(data, 12, info.responseTime);
    data[14] = static_cast<uint8_t>(nameLen);
    for (size_t i = 0; i < nameLen && 15 + i < data.size(); ++i) {
        data[15 + i] = static_cast<uint8_t>(info.moduleName[i]);
    }
    return {kErrNone, std::move(data)};
}

VirtualModule::Outcome VirtualModule::Calibration(const Request& r, bool temperature, bool write,
                                                  bool apply) {
    if (temperature && !state_.hasTemperatureCalibrations) {
        return {kErrNotImplemented, {}};
    }
    const size_t need = write ? kCalibBlockSize : 1;
    if ((write ? r.data.size() != need : r.data.size() < need) || r.data[0] >= kCalibrationCount) {
        return {kErrInvalidParameter, {}};
    }
    const uint8_t position = r.data[0];
    SimCalibration& calib = temperature ? state_.temperature[position] : state_.material[position];
    if (write) {
        if (apply) {
            calib.id = GetU16(r.data, 1);
            for (size_t k = 0; k < 6; ++k) {
                calib.raw[k] = GetF32(r.data, 3 + 4 * k);
            }
            calib.valid = true;
        }
        return {};
    }
    if (temperature && !calib.valid) {
        return {kErrInvalidParameter, {}};
    }
    std::vector<uint8_t> data(kCalibBlockSize, 0);
    data[0] = position;
    PutU16(data, 1, calib.id);
    for (size_t k = 0; k < 6; ++k) {
        PutF32(data, 3 + 4 * k, calib.raw[k]);
    }
    return {kErrNone, std::move(data)};
}

VirtualModule::Outcome VirtualModule::ChannelBlock(const Request& r, bool apply) {
    const bool write =
        r.command == kWriteZeroOffset || r.command == kWriteAnalogCfg || r.command == kWriteCount;
    if ((write ? r.data.size() != kChannelBlockSize : r.data.empty()) || r.data[0] > 1) {
        return {kErrInvalidParameter, {}};
    }
    SimChannel& channel = state_.channels[r.data[0]];
    const bool locked =
        r.command == kWriteZeroOffset || r.command == kReadZeroOffset || r.command == kWriteCount;
    if (locked && !Unlocked()) {
        return {kErrInvalidParameter, {}};
    }
    std::vector<uint8_t> data(kChannelBlockSize, 0);
    data[0] = r.data[0];
    switch (r.command) {
    case kWriteZeroOffset:
        if (apply) {
            channel.zeroOffset = static_cast<int32_t>(ReadPacked(std::span(r.data).subspan(2), 5));
        }
        return {};
    case kWriteAnalogCfg:
        if (apply) {
            std::copy(r.data.begin(), r.data.end(), channel.analogConfig.begin());
        }
        return {};
    case kWriteCount:
        if (apply) {
            const int64_t n = ReadPacked(std::span(r.data).subspan(2), 5); // sent negated
            channel.measurementCount = static_cast<uint32_t>(n < 0 ? -n : n);
        }
        return {};
    case kReadZeroOffset:
        WritePacked(std::span(data).subspan(2), channel.zeroOffset, 9);
        break;
    case kReadAnalogCfg:
        std::copy(channel.analogConfig.begin(), channel.analogConfig.end(), data.begin());
        break;
    case kReadCount:
        WritePacked(std::span(data).subspan(2),
                    -static_cast<int64_t>(std::min<uint32_t>(channel.measurementCount, 99999)), 5);
        break;
    default:
        break;
    }
    return {kErrNone, std::move(data)};
}

VirtualModule::Outcome VirtualModule::Offset(const Request& r, bool write, bool apply) {
    if ((write ? r.data.size() != kChannelBlockSize : r.data.empty()) || r.data[0] % 8 != 0 ||
        r.data[0] / 8 >= kOffsetSlots) {
        return {kErrInvalidParameter, {}};
    }
    SimOffset& slot = state_.offsets[r.data[0] / 8];
    if (write) {
        if (apply) {
            slot.scale = static_cast<uint8_t>(r.data[1] >> 4);
            slot.mantissa = static_cast<int32_t>(ReadPacked(std::span(r.data).subspan(2), 9));
        }
        return {};
    }
    std::vector<uint8_t> data(kChannelBlockSize, 0);
    data[0] = r.data[0];
    data[1] = static_cast<uint8_t>(slot.scale << 4);
    WritePacked(std::span(data).subspan(2), slot.mantissa, 9);
    return {kErrNone, std::move(data)};
}

VirtualModule::Outcome VirtualModule::SensorPart(const Request& r) const {
    if (r.data.empty() || r.data[0] % 8 != 0 || r.data[0] / 8 >= kSensorPartCount) {
        return {kErrInvalidParameter, {}};
    }
    // Channel c fills bytes 14c..14c+13 of the 42 bytes that the six parts make; parts 4 and 5 are zero.
    std::array<uint8_t, kSensorPartCount * kSensorPartSize> all{};
    for (size_t c = 0; c < 2; ++c) {
        const SimSensorData& s = state_.channels[c].sensor;
        const std::span<uint8_t> block = std::span(all).subspan(14 * c, 14);
        const MantissaExponent zero = ToMantissaExponent(s.zeroOffset);
        const MantissaExponent resolution = ToMantissaExponent(s.resolution);
        PutU16(block, 0, static_cast<uint16_t>(zero.mantissa));
        block[2] = static_cast<uint8_t>(zero.exponent);
        PutU16(block, 3, static_cast<uint16_t>(resolution.mantissa));
        block[5] = static_cast<uint8_t>(resolution.exponent);
        block[7] = s.unitCode;
        PutU16(block, 8, static_cast<uint16_t>(s.lsbMin));
        PutU16(block, 10, static_cast<uint16_t>(s.lsbMax));
        block[12] = s.status;
    }
    const size_t part = r.data[0] / 8;
    return {kErrNone, {all.begin() + part * kSensorPartSize, all.begin() + (part + 1) * kSensorPartSize}};
}

double VirtualModule::Sample(const SignalModel& model, uint32_t stream) const {
    return SampleSignal(model, seed_, state_.info.serialNo, stream, state_.measurementIndex);
}

VirtualModule::Outcome VirtualModule::MeasuredValues(bool apply) {
    if (apply && state_.continuous) {
        ++state_.measurementIndex;
    }
    std::vector<uint8_t> data(6, 0);
    if (state_.measuringError != 0) {
        // Both groups invalid; the code's two digits go into the last byte.
        data[0] = kGroupInvalid;
        data[3] = kGroupInvalid;
        data[5] =
            static_cast<uint8_t>(((state_.measuringError / 10 % 10) << 4) | (state_.measuringError % 10));
        return {kErrMeasuring, std::move(data)};
    }
    for (size_t c = 0; c < 2; ++c) {
        const SimChannel& ch = state_.channels[c];
        const std::span<uint8_t> group = std::span(data).subspan(3 * c, 3);
        const uint8_t bit1 = ch.statusBit1 ? kGroupBit1 : 0;
        if (!ch.signal || ch.sensor.resolution == 0) {
            WritePacked(group, 0, 5, static_cast<uint8_t>(kGroupInvalid | bit1));
            continue;
        }
        const double physical = Sample(*ch.signal, static_cast<uint32_t>(c));
        double lsb = std::round((physical - ch.sensor.zeroOffset) / ch.sensor.resolution);
        if (!std::isfinite(lsb)) {
            WritePacked(group, 0, 5, static_cast<uint8_t>(kGroupInvalid | bit1));
            continue;
        }
        if (ch.sensor.lsbMax > ch.sensor.lsbMin) {
            lsb =
                std::clamp(lsb, static_cast<double>(ch.sensor.lsbMin), static_cast<double>(ch.sensor.lsbMax));
        }
        lsb = std::clamp(lsb, -99999.0, 99999.0);
        WritePacked(group, static_cast<int64_t>(lsb), 5, bit1);
    }
    return {kErrNone, std::move(data)};
}

VirtualModule::Outcome VirtualModule::XvBlockA() const {
    std::vector<uint8_t> data(16, 0);
    if (state_.xv.errorCode != 0) {
        data[0] = state_.xv.errorCode;
        data[1] = 1;
    }
    return {kErrNone, std::move(data)};
}

VirtualModule::Outcome VirtualModule::XvBlockB() const {
    // n1 single readings of channel 0 make one average; the averaging time of the application parameters
    // says how many.
    const uint16_t averaging = GetU16(state_.applicationParameters, 4);
    const uint16_t n1 = averaging == 0 ? 1 : averaging;
    double sum = 0;
    double sumSquares = 0;
    if (const auto& moisture = state_.channels[0].signal) {
        for (uint32_t j = 0; j < n1; ++j) {
            const double v = Sample(*moisture, kStreamXvSamples + j);
            sum += v;
            sumSquares += v * v;
        }
    }
    const double temperature =
        state_.xv.temperature ? Sample(*state_.xv.temperature, kStreamTemperature) : 0.0;
    std::vector<uint8_t> data(22, 0);
    PutF32(data, 0, ToFloat(sum));
    PutF32(data, 4, ToFloat(sumSquares));
    PutF32(data, 8, state_.xv.errorFraction);
    PutU16(data, 12, n1);
    PutU16(data, 14, static_cast<uint16_t>(n1 + state_.xv.rejected));
    PutU16(data, 16, state_.xv.rejected);
    PutF32(data, 18, ToFloat(temperature));
    return {kErrNone, std::move(data)};
}

} // namespace terrix::sim

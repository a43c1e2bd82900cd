#include "core/bus/commands.h"

#include "core/bus/bus_error.h"
#include "core/bus/frame.h"
#include "core/bus/packed_decimal.h"
#include "core/platform/pump_wait.h"

#include <cmath>
#include <cstring>

namespace terrix {

namespace {

constexpr uint16_t kBaudSwitchWaitMs = 400;
constexpr double kMatCalibScale[6] = {0.1, 1.0, 10.0, 100.0, 1000.0, 10000.0};
constexpr size_t kCalibBlockSize = 27;

bool Request(PortHandle port, uint8_t station, uint8_t command, std::span<const uint8_t> data = {}) {
    return Transact(port, station, command, data, 0, {});
}

bool Query(PortHandle port, uint8_t station, uint8_t command, std::span<const uint8_t> data,
           std::span<uint8_t> reply) {
    return Transact(port, station, command, data, static_cast<uint16_t>(reply.size()), reply);
}

uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

float GetF32(const uint8_t* p) {
    const uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                          (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void PutF32(uint8_t* p, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

// Calibration block: byte 0 index (unused in replies), bytes 1..2 ID, bytes 3..26 six floats.
std::array<uint8_t, kCalibBlockSize> BuildCalibBlock(uint8_t index, uint16_t id, const CalibCoeffs& coeffs,
                                                     const double* scale) {
    std::array<uint8_t, kCalibBlockSize> block{};
    block[0] = index;
    PutU16(&block[1], id);
    for (size_t k = 0; k < 6; ++k) {
        PutF32(&block[3 + 4 * k], static_cast<float>(scale != nullptr ? coeffs[k] / scale[k] : coeffs[k]));
    }
    return block;
}

bool ReadCalib(PortHandle port, uint8_t station, uint8_t command, uint8_t index, uint16_t& id,
               CalibCoeffs& coeffs, const double* scale) {
    std::array<uint8_t, kCalibBlockSize> reply{};
    const uint8_t request[1] = {index};
    const bool ok = Query(port, station, command, request, reply);
    if (ok) {
        id = GetU16(&reply[1]);
        for (size_t k = 0; k < 6; ++k) {
            const double raw = GetF32(&reply[3 + 4 * k]);
            coeffs[k] = scale != nullptr ? raw * scale[k] : raw;
        }
    }
    return ok;
}

// The 7-byte blocks of commands 224 and 226: channel, 0, BCD5 value, 0, 0.
std::array<uint8_t, 7> ChannelBcd5Block(uint8_t channel, int32_t value) {
    std::array<uint8_t, 7> block{};
    block[0] = channel;
    EncodeBcd(value, 5, std::span<uint8_t>(&block[2], 3));
    return block;
}

float MantissaExponent(const uint8_t* p) {
    const int16_t mantissa = static_cast<int16_t>(GetU16(p));
    const int8_t exponent = static_cast<int8_t>(p[2]);
    return static_cast<float>(mantissa * std::pow(10.0, exponent));
}

} // namespace

bool SetStationBySerial(PortHandle port, uint16_t serialNo, uint8_t newStation) {
    uint8_t data[3];
    PutU16(data, serialNo);
    data[2] = newStation;
    return Request(port, kBroadcastStation, kCmdSetStationBySerial, data);
}

bool ReadStationInfo(PortHandle port, uint8_t station, StationInfoBlock& block) {
    const bool ok = Query(port, station, kCmdReadStationInfo, {}, block);
    // The name is terminated behind its announced length; a length of 255 would point past the block.
    const size_t end = StationInfo::kOffsetName + block[StationInfo::kOffsetNameLen];
    block[end < block.size() ? end : block.size() - 1] = 0;
    return ok;
}

bool SetBaudAll(PortHandle port, uint32_t baud) {
    uint8_t data[2];
    PutU16(data, static_cast<uint16_t>(baud / 100));
    PortLock lock(port);
    if (!Request(port, kBroadcastStation, kCmdSetBaudAll, data)) {
        return false;
    }
    const std::shared_ptr<Transport> transport = ComTransport(port);
    if (transport) {
        PumpWait(transport->GetClock(), kBaudSwitchWaitMs);
    }
    return ComSetBaud(port, baud);
}

bool ProgramResetBaud(PortHandle port) { return Request(port, kBroadcastStation, kCmdProgramResetBaud); }

bool ReadHaltState(PortHandle port, uint8_t station, uint8_t& state) {
    std::array<uint8_t, 1> reply{};
    const bool ok = Query(port, station, kCmdReadHaltState, {}, reply);
    if (ok) {
        state = reply[0];
    }
    return ok;
}

bool WriteHaltState(PortHandle port, uint8_t station, uint8_t state) {
    const uint8_t data[1] = {state};
    return Request(port, station, kCmdWriteHaltState, data);
}

bool ReadAppParams(PortHandle port, uint8_t station, std::array<uint8_t, kAppParamsSize>& block) {
    return Query(port, station, kCmdReadAppParams, {}, block);
}

bool WriteAppParams(PortHandle port, uint8_t station, const std::array<uint8_t, kAppParamsSize>& block) {
    return Request(port, station, kCmdWriteAppParams, block);
}

bool ReadTempCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t& id, CalibCoeffs& coeffs) {
    return ReadCalib(port, station, kCmdReadTempCalib, index, id, coeffs, nullptr);
}

bool WriteTempCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t id, const CalibCoeffs& coeffs,
                    bool valid) {
    if (!valid) {
        return true;
    }
    return Request(port, station, kCmdWriteTempCalib, BuildCalibBlock(index, id, coeffs, nullptr));
}

bool ReadMeasBlockA(PortHandle port, uint8_t station, std::array<uint8_t, kMeasBlockASize>& block) {
    return Query(port, station, kCmdReadMeasBlockA, {}, block);
}

bool ReadMeasBlockB(PortHandle port, uint8_t station, std::array<uint8_t, kMeasBlockBSize>& block) {
    return Query(port, station, kCmdReadMeasBlockB, {}, block);
}

uint8_t ReadActiveCalib(PortHandle port, uint8_t station) {
    std::array<uint8_t, 1> reply{};
    return Query(port, station, kCmdReadActiveCalib, {}, reply) ? reply[0] : kNoActiveCalib;
}

bool WriteActiveCalib(PortHandle port, uint8_t station, uint8_t index) {
    PortLock lock(port);
    const uint8_t active = ReadActiveCalib(port, station);
    if (active > 15) {
        return false;
    }
    if (active == index) {
        return true;
    }
    const uint8_t data[1] = {index};
    return Request(port, station, kCmdWriteActiveCalib, data);
}

bool ReadMatCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t& id, CalibCoeffs& coeffs) {
    return ReadCalib(port, station, kCmdReadMatCalib, index, id, coeffs, kMatCalibScale);
}

bool WriteMatCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t id, const CalibCoeffs& coeffs) {
    return Request(port, station, kCmdWriteMatCalib, BuildCalibBlock(index, id, coeffs, kMatCalibScale));
}

bool WriteZeroOffset(PortHandle port, uint8_t station, uint8_t channel, int32_t value) {
    return Request(port, station, kCmdWriteZeroOffset, ChannelBcd5Block(channel, value));
}

bool WriteAnalogCfg(PortHandle port, uint8_t station, AnalogCfgBlock& block) {
    PortLock lock(port);
    if (!SendFrame(port, station, kSecondAddressByte, kCmdWriteAnalogCfg, kAnalogCfgSize, block.data())) {
        return false;
    }
    block.fill(0);
    return ReceiveFrame(port, 0, {});
}

bool WriteNumberOfMeas(PortHandle port, uint8_t station, uint8_t channel, uint32_t n) {
    const uint32_t count = n > kMaxNumberOfMeas ? kMaxNumberOfMeas : n;
    return Request(port, station, kCmdWriteNumberOfMeas, ChannelBcd5Block(channel, -static_cast<int32_t>(count)));
}

bool ReadZeroOffset(PortHandle port, uint8_t station, uint8_t channel, int32_t& value) {
    std::array<uint8_t, 7> reply{};
    const uint8_t data[1] = {channel};
    const bool ok = Query(port, station, kCmdReadZeroOffset, data, reply);
    if (ok) {
        DecodeBcd(std::span<const uint8_t>(&reply[2], 5), 9, &value, nullptr);
    }
    return ok;
}

bool ReadAnalogCfg(PortHandle port, uint8_t station, uint8_t channel, AnalogCfgBlock& block) {
    block.fill(0);
    const uint8_t data[1] = {channel};
    return Query(port, station, kCmdReadAnalogCfg, data, block);
}

int32_t ReadNumberOfMeas(PortHandle port, uint8_t station, uint8_t channel) {
    std::array<uint8_t, 7> reply{};
    const uint8_t data[1] = {channel};
    if (!Query(port, station, kCmdReadNumberOfMeas, data, reply)) {
        return -1;
    }
    int32_t value = 0;
    DecodeBcd(std::span<const uint8_t>(&reply[2], 3), 5, &value, nullptr);
    return value < 0 ? -value : value;
}

uint8_t OffsetSelector(uint8_t index, bool flag) {
    return static_cast<uint8_t>(((index * 2) + (flag ? 0 : 1)) * 8);
}

bool WriteOffset(PortHandle port, uint8_t station, uint8_t index, bool flag, double value) {
    if (index > 5) {
        return false;
    }
    uint8_t scale = 0;
    int32_t mantissa = 0;
    if (!EncodeScaled(value, scale, mantissa) || mantissa > 999999999 || mantissa < -999999999) {
        return false;
    }
    std::array<uint8_t, 7> block{};
    block[0] = OffsetSelector(index, flag);
    block[1] = static_cast<uint8_t>(scale << 4);
    EncodeBcd(mantissa, 9, std::span<uint8_t>(&block[2], 5));
    return Request(port, station, kCmdWriteOffset, block);
}

bool ReadOffset(PortHandle port, uint8_t station, uint8_t index, bool flag, double& value) {
    if (index > 5) {
        return false;
    }
    std::array<uint8_t, 7> reply{};
    const uint8_t data[1] = {OffsetSelector(index, flag)};
    const bool ok = Query(port, station, kCmdReadOffset, data, reply);
    if (ok) {
        value = DecodeScaled(std::span<const uint8_t>(&reply[2], 5), static_cast<uint8_t>(reply[1] >> 4));
    }
    return ok;
}

bool ReadSensorDataPart(PortHandle port, uint8_t station, uint8_t part, AnalogCfgBlock& block) {
    const uint8_t data[1] = {static_cast<uint8_t>(part * 8)};
    return Query(port, station, kCmdReadSensorDataPart, data, block);
}

SensorData DecodeSensorData(const uint8_t* b) {
    SensorData s;
    s.fZeroOffset = MantissaExponent(b);
    s.fResolution = MantissaExponent(b + 3);
    s.yUnitCode = b[7];
    s.nLSBMin = static_cast<int16_t>(GetU16(b + 8));
    s.nLSBMax = static_cast<int16_t>(GetU16(b + 10));
    s.yStatus = b[12];
    return s;
}

bool ReadSensorData(PortHandle port, uint8_t station, SensorData& channel0, SensorData& channel1) {
    channel0 = SensorData{};
    channel1 = SensorData{};
    std::array<uint8_t, 42> raw{};
    PortLock lock(port);
    for (uint8_t part = 0; part < 6; ++part) {
        AnalogCfgBlock block{};
        if (!ReadSensorDataPart(port, station, part, block)) {
            return false;
        }
        std::memcpy(&raw[7u * part], block.data(), block.size());
    }
    channel0 = DecodeSensorData(&raw[0]);
    channel1 = DecodeSensorData(&raw[14]);
    return true;
}

bool ReadMeasuredValues(PortHandle port, uint8_t station, MeasuredChannel& channel0, MeasuredChannel& channel1) {
    std::array<uint8_t, 6> reply{};
    const bool ok = Query(port, station, kCmdReadMeasuredValues, {}, reply);
    MeasuredChannel* channels[2] = {&channel0, &channel1};
    for (size_t c = 0; c < 2; ++c) {
        const std::span<const uint8_t> group(&reply[3 * c], 3);
        DecodeBcd(group, 5, &channels[c]->value, nullptr);
        channels[c]->bit2Flag = (group[0] & 0x04) != 0;
        channels[c]->bit1Clear = (group[0] & 0x02) == 0;
    }
    if (!ok && LastBusError() == 5) {
        SetLastBusError(static_cast<uint16_t>(kBusMeasuringCodeBase + 10 * (reply[5] >> 4) + (reply[5] & 0x0F)));
    }
    return ok;
}

bool StartMeasurement(PortHandle port, uint8_t station) { return Request(port, station, kCmdStartMeasurement); }

void ResynchroniseBaud(PortHandle port) {
    static constexpr uint32_t kLadder[] = {300, 600, 1200, 2400, 4800, 9600};
    PortLock lock(port);
    bool lastOk = false;
    for (uint32_t baud : kLadder) {
        lastOk = SetBaudAll(port, baud);
    }
    if (!lastOk) {
        ComSetBaud(port, 9600);
    }
}

} // namespace terrix

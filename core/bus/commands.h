#pragma once
// The module commands: each builds its request data, runs one transaction and converts the reply. Every
// command returns success as bool unless noted; on failure LastBusError tells why. Broadcast commands
// (1, 16, 17) read no reply: their result is that of sending.

#include "core/inventory/module_record.h"
#include "core/platform/com_port.h"

#include <array>
#include <cstdint>

namespace terrix {

enum Command : uint8_t {
    kCmdSetStationBySerial = 1,
    kCmdReadStationInfo = 2,
    kCmdSetBaudAll = 16,
    kCmdProgramResetBaud = 17,
    kCmdReadHaltState = 190,
    kCmdWriteHaltState = 191,
    kCmdReadAppParams = 192,
    kCmdWriteAppParams = 193,
    kCmdReadTempCalib = 194,
    kCmdWriteTempCalib = 195,
    kCmdReadMeasBlockA = 196,
    kCmdReadMeasBlockB = 197,
    kCmdReadActiveCalib = 204,
    kCmdWriteActiveCalib = 205,
    kCmdReadMatCalib = 206,
    kCmdWriteMatCalib = 207,
    kCmdWriteZeroOffset = 224,
    kCmdWriteAnalogCfg = 225,
    kCmdWriteNumberOfMeas = 226,
    kCmdReadZeroOffset = 228,
    kCmdReadAnalogCfg = 229,
    kCmdReadNumberOfMeas = 230,
    kCmdWriteOffset = 232,
    kCmdReadOffset = 233,
    kCmdReadSensorDataPart = 235,
    kCmdReadMeasuredValues = 241,
    kCmdStartMeasurement = 242,
};

inline constexpr size_t kAppParamsSize = 10;
inline constexpr size_t kAnalogCfgSize = 7;
inline constexpr size_t kMeasBlockASize = 16;
inline constexpr size_t kMeasBlockBSize = 22;
inline constexpr uint8_t kNoActiveCalib = 255;
inline constexpr uint32_t kMaxNumberOfMeas = 99999;

using CalibCoeffs = std::array<double, 6>;
using StationInfoBlock = std::array<uint8_t, kStationInfoSize>;
using AnalogCfgBlock = std::array<uint8_t, kAnalogCfgSize>;

// 1 (broadcast): every module with this serial number takes the new station.
bool SetStationBySerial(PortHandle port, uint16_t serialNo, uint8_t newStation);
// 2: the station-information block; the byte behind the name is set to 0 after reception.
bool ReadStationInfo(PortHandle port, uint8_t station, StationInfoBlock& block);
// 16 (broadcast): all modules switch to `baud`; after 400 ms the PC's port follows.
bool SetBaudAll(PortHandle port, uint32_t baud);
// 17 (broadcast)
bool ProgramResetBaud(PortHandle port);
// 190 / 191
bool ReadHaltState(PortHandle port, uint8_t station, uint8_t& state);
bool WriteHaltState(PortHandle port, uint8_t station, uint8_t state);
// 192 / 193
bool ReadAppParams(PortHandle port, uint8_t station, std::array<uint8_t, kAppParamsSize>& block);
bool WriteAppParams(PortHandle port, uint8_t station, const std::array<uint8_t, kAppParamsSize>& block);
// 194: temperature calibration `index` (0..15); floats widened to double unchanged.
bool ReadTempCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t& id, CalibCoeffs& coeffs);
// 195: skipped (success, nothing sent) for a calibration that is not valid.
bool WriteTempCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t id, const CalibCoeffs& coeffs,
                    bool valid = true);
// 196 / 197
bool ReadMeasBlockA(PortHandle port, uint8_t station, std::array<uint8_t, kMeasBlockASize>& block);
bool ReadMeasBlockB(PortHandle port, uint8_t station, std::array<uint8_t, kMeasBlockBSize>& block);
// 204: the active calibration index, 255 when the transaction fails.
uint8_t ReadActiveCalib(PortHandle port, uint8_t station);
// 205: reads the active index first; fails when that gives more than 15; sends nothing when already active.
bool WriteActiveCalib(PortHandle port, uint8_t station, uint8_t index);
// 206 / 207: coefficient k = float_k x F_k, F = 0.1, 1, 10, 100, 1000, 10000.
bool ReadMatCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t& id, CalibCoeffs& coeffs);
bool WriteMatCalib(PortHandle port, uint8_t station, uint8_t index, uint16_t id, const CalibCoeffs& coeffs);
// 224: zero offset of channel 0/1 as BCD5.
bool WriteZeroOffset(PortHandle port, uint8_t station, uint8_t channel, int32_t value);
// 225: after sending succeeded (before the reply is read) the caller's block is cleared to zero.
bool WriteAnalogCfg(PortHandle port, uint8_t station, AnalogCfgBlock& block);
// 226: n above 99999 (as unsigned) is sent as 99999; the count is always sent negated.
bool WriteNumberOfMeas(PortHandle port, uint8_t station, uint8_t channel, uint32_t n);
// 228: zero offset as a signed BCD9 number.
bool ReadZeroOffset(PortHandle port, uint8_t station, uint8_t channel, int32_t& value);
// 229: the block is cleared before the read.
bool ReadAnalogCfg(PortHandle port, uint8_t station, uint8_t channel, AnalogCfgBlock& block);
// 230: the absolute count, or -1 when the transaction fails.
int32_t ReadNumberOfMeas(PortHandle port, uint8_t station, uint8_t channel);
// Selector of 232/233: ((index x 2) + (flag clear ? 1 : 0)) x 8; the system uses index 0, flag clear (8).
uint8_t OffsetSelector(uint8_t index, bool flag);
// 232: fails (nothing sent) for index > 5 or a value that does not encode.
bool WriteOffset(PortHandle port, uint8_t station, uint8_t index, bool flag, double value);
// 233
bool ReadOffset(PortHandle port, uint8_t station, uint8_t index, bool flag, double& value);
// 235: one 7-byte part (0..5).
bool ReadSensorDataPart(PortHandle port, uint8_t station, uint8_t part, AnalogCfgBlock& block);
// Six 235 reads; channel c takes the 14 bytes from 14 x c. Both structures are cleared first.
bool ReadSensorData(PortHandle port, uint8_t station, SensorData& channel0, SensorData& channel1);

// One channel of a measured-value reply.
struct MeasuredChannel {
    bool bit2Flag = false;  // bit 2 of the group's first byte
    bool bit1Clear = false; // bit 1 of the group's first byte is clear
    int32_t value = 0;      // LSB
};
// 241: on status 5 the bus error becomes the measuring code 300 + 10 x high nibble + low nibble of byte 5.
bool ReadMeasuredValues(PortHandle port, uint8_t station, MeasuredChannel& channel0, MeasuredChannel& channel1);
// 242
bool StartMeasurement(PortHandle port, uint8_t station);

// Command 16 for 300, 600, 1200, 2400, 4800 and 9600 baud in turn: a module listening at any of these
// follows to 9600. Failures are ignored; the port always ends at 9600 baud.
void ResynchroniseBaud(PortHandle port);

// Sensor data of one channel from its 14 raw bytes.
SensorData DecodeSensorData(const uint8_t* bytes14);

} // namespace terrix

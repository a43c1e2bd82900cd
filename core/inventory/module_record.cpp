#include "core/inventory/module_record.h"

#include <algorithm>

namespace terrix {

namespace {

uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace

StationInfo StationInfo::FromBytes(const std::array<uint8_t, kStationInfoSize>& block) {
    StationInfo info;
    const uint8_t* b = block.data();
    info.wSerialNo = GetU16(b + kOffsetSerialNo);
    info.wFirmwareVersion = GetU16(b + kOffsetFirmware);
    info.yFlag = b[kOffsetFlag];
    info.yModuleId = b[kOffsetModuleId];
    info.wStartupBaud = GetU16(b + kOffsetStartupBaud);
    info.wTimeOut = GetU16(b + kOffsetTimeOut);
    info.wDelayTime = GetU16(b + kOffsetDelayTime);
    info.wReponseTime = GetU16(b + kOffsetResponseTime);
    info.yModuleNameLen = b[kOffsetNameLen];
    std::copy_n(b + kOffsetName, info.acModuleName.size(), reinterpret_cast<uint8_t*>(info.acModuleName.data()));
    info.acModuleName.back() = '\0';
    return info;
}

std::array<uint8_t, kStationInfoSize> StationInfo::ToBytes() const {
    std::array<uint8_t, kStationInfoSize> block{};
    uint8_t* b = block.data();
    PutU16(b + kOffsetSerialNo, wSerialNo);
    PutU16(b + kOffsetFirmware, wFirmwareVersion);
    b[kOffsetFlag] = yFlag;
    b[kOffsetModuleId] = yModuleId;
    PutU16(b + kOffsetStartupBaud, wStartupBaud);
    PutU16(b + kOffsetTimeOut, wTimeOut);
    PutU16(b + kOffsetDelayTime, wDelayTime);
    PutU16(b + kOffsetResponseTime, wReponseTime);
    b[kOffsetNameLen] = yModuleNameLen;
    std::copy_n(reinterpret_cast<const uint8_t*>(acModuleName.data()), acModuleName.size(), b + kOffsetName);
    return block;
}

std::string StationInfo::ModuleName() const { return FieldText(acModuleName); }

void StationInfo::SetModuleName(const std::string& name) {
    CopyToField(acModuleName, name);
    yModuleNameLen = static_cast<uint8_t>(ModuleName().size());
}

AnalogCfg AnalogCfg::FromBytes(const uint8_t* b) {
    return AnalogCfg{b[0], b[1], b[2], b[3], b[4], b[5], b[6]};
}

void AnalogCfg::ToBytes(uint8_t* b) const {
    b[0] = yChannel;
    b[1] = yZeroFiller1;
    b[2] = yRawVofsVd;
    b[3] = yNofsLow;
    b[4] = yNofsHigh;
    b[5] = yHasLinearisation;
    b[6] = yZeroFiller2;
}

} // namespace terrix

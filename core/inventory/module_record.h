#pragma once
// One module of the bus: what it reported about itself at identification (station information, analog
// configuration, sensor scaling), what was derived from that, and what the user added. A plain record,
// zero-initialised as a whole before it is filled.

#include <array>
#include <cstdint>
#include <string>

namespace terrix {

enum ModuleState : int32_t {
    msNotIdentified = 0,
    msIdentified = 1,
    msCollision = 2,
    msFailed = 3,
};

inline constexpr uint16_t kNoSerial = 65535;       // collision placeholder
inline constexpr uint16_t kMaxValidSerial = 65534;

// Whether a serial number names one module. 0 is what a record holds when its station information could
// not be read, 65535 marks a collision or a module that stayed busy: such a record has no module file, no
// value store and no measurement files, since they would be shared by every such record.
inline constexpr bool IsKnownSerial(uint16_t serialNo) {
    return serialNo != 0 && serialNo <= kMaxValidSerial;
}
inline constexpr size_t kStationInfoSize = 270;

// The station-information reply, kept as received; its fields are read and written at fixed offsets.
struct StationInfo {
    uint16_t wSerialNo = 0;
    uint16_t wFirmwareVersion = 0;
    uint8_t yFlag = 0;
    uint8_t yModuleId = 0;
    uint16_t wStartupBaud = 0;
    uint16_t wTimeOut = 0;
    uint16_t wDelayTime = 0;
    uint16_t wReponseTime = 0;
    uint8_t yModuleNameLen = 0;
    std::array<char, 255> acModuleName{}; // NUL-terminated

    // Byte offsets of the wire block.
    static constexpr size_t kOffsetSerialNo = 0;
    static constexpr size_t kOffsetFirmware = 2;
    static constexpr size_t kOffsetFlag = 4;
    static constexpr size_t kOffsetModuleId = 5;
    static constexpr size_t kOffsetStartupBaud = 6;
    static constexpr size_t kOffsetTimeOut = 8;
    static constexpr size_t kOffsetDelayTime = 10;
    static constexpr size_t kOffsetResponseTime = 12;
    static constexpr size_t kOffsetNameLen = 14;
    static constexpr size_t kOffsetName = 15;

    static StationInfo FromBytes(const std::array<uint8_t, kStationInfoSize>& block);
    std::array<uint8_t, kStationInfoSize> ToBytes() const;

    std::string ModuleName() const; // up to the first NUL
    void SetModuleName(const std::string& name); // cut to 254 characters; sets yModuleNameLen
};

// The 7-byte analog output configuration of one channel, written back whole.
struct AnalogCfg {
    uint8_t yChannel = 0;
    uint8_t yZeroFiller1 = 0;
    uint8_t yRawVofsVd = 0;
    uint8_t yNofsLow = 0;
    uint8_t yNofsHigh = 0;
    uint8_t yHasLinearisation = 0;
    uint8_t yZeroFiller2 = 0;

    static AnalogCfg FromBytes(const uint8_t* bytes7);
    void ToBytes(uint8_t* bytes7) const;
};

// Scaling of one channel: physical value = LSB x fResolution + fZeroOffset.
struct SensorData {
    float fZeroOffset = 0;
    float fResolution = 0;
    uint8_t yUnitCode = 0;
    int16_t nLSBMin = 0;
    int16_t nLSBMax = 0;
    uint8_t yStatus = 0;
};

struct ModuleRecord {
    ModuleState enModuleState = msNotIdentified;
    int32_t bDisabled = 0;
    uint16_t wLastError = 0;
    uint8_t iaStation = 0;
    int32_t bIsTavikButNotXV = 0;
    int32_t bIsTavikXV = 0;
    int32_t bHasTDCSupport = 0;
    StationInfo stationInfo;
    uint32_t dwMeasTime = 0;
    uint32_t dwNumberOfMeas0 = 0;
    uint32_t dwNumberOfMeas1 = 0;
    int32_t bHasAnalogCfg0 = 0;
    int32_t bHasAnalogCfg1 = 0;
    AnalogCfg analogCfg0;
    AnalogCfg analogCfg1;
    int32_t bHasSensorData = 0;
    SensorData sensorData0;
    SensorData sensorData1;
    std::array<char, 8> szUnit0{};      // at most 7 characters
    std::array<char, 8> szUnit1{};
    std::array<char, 79> szLocation{};  // at most 78 characters
    std::array<char, 513> szComment{};  // at most 510 characters; line breaks stored as "\n" (two characters)
    uint32_t dwMeasChannels = 0;        // derived, never stored

    uint16_t SerialNo() const { return stationInfo.wSerialNo; }
    std::string ModuleName() const { return stationInfo.ModuleName(); }
};

// Copies text into a fixed character field, cut to the field's capacity and always terminated.
template <size_t N> void CopyToField(std::array<char, N>& field, const std::string& text, size_t maxChars = N - 1) {
    field.fill('\0');
    const size_t n = text.size() < maxChars ? text.size() : maxChars;
    for (size_t i = 0; i < n && i < N - 1; ++i) {
        field[i] = text[i];
    }
}

template <size_t N> std::string FieldText(const std::array<char, N>& field) {
    size_t n = 0;
    while (n < N && field[n] != '\0') {
        ++n;
    }
    return std::string(field.data(), n);
}

} // namespace terrix

#pragma once
// Everything one simulated module holds: what a scenario gives it at start and what the PC changes while
// it talks to it (station, baud rate, counts, calibrations, offsets, parameters, halt state), plus the
// faults a test can switch on. Plain data; the behaviour lives in VirtualModule.

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace terrix::sim {

inline constexpr size_t kCalibrationCount = 16;
inline constexpr size_t kOffsetSlots = 12; // selector index 0..5, with and without the flag
inline constexpr uint8_t kDefaultOffsetSelector = 8;
inline constexpr size_t kSensorPartCount = 6;

// The module's own description, as its station-information reply carries it.
struct SimStationInfo {
    uint16_t serialNo = 0;
    uint16_t firmwareVersion = 0;
    uint8_t flag = 0;
    uint8_t moduleId = 0;
    uint16_t startupBaud = 96; // units of 100 baud
    uint16_t timeOut = 0;
    uint16_t delayTime = 0;
    uint16_t responseTime = 0;
    std::string moduleName;
};

// Scaling of one channel as the sensor-data parts report it.
struct SimSensorData {
    double zeroOffset = 0; // sent as mantissa x 10^exponent
    double resolution = 0;
    uint8_t unitCode = 0;
    int16_t lsbMin = 0;
    int16_t lsbMax = 0;
    uint8_t status = 0;
};

// A measured quantity in physical units: base + amplitude x sin(2 pi x k / period) + noise, where k counts
// the module's measurements and the noise is a deterministic function of the bus seed, the module's serial
// number, the channel and k.
struct SignalModel {
    double base = 0;
    double amplitude = 0;
    double period = 40; // measurements per cycle; 0 = no slow variation
    double noise = 0;   // peak deviation
};

struct SimChannel {
    uint32_t measurementCount = 0;         // commands 230/226
    std::array<uint8_t, 7> analogConfig{}; // commands 229/225; byte 0 is the channel
    int32_t zeroOffset = 0;                // commands 228/224
    SimSensorData sensor;                  // command 235
    std::optional<SignalModel> signal;     // command 241; none = the channel reports no valid value
    bool statusBit1 = false;               // bit 1 of the channel's flag nibble in command 241
};

// One calibration position: ID and the six floats as the module keeps them (for a material calibration
// coefficient k divided by 0.1, 1, 10, 100, 1000, 10000; temperature coefficients unscaled).
struct SimCalibration {
    uint16_t id = 0;
    std::array<float, 6> raw{};
    bool valid = true; // a temperature position marked invalid answers with status 7
};

struct SimOffset {
    uint8_t scale = 0;
    int32_t mantissa = 0;
};

// The XV module's averaging: statistics blocks A and B and the temperature it measures.
struct SimXv {
    std::optional<SignalModel> temperature; // degrees Celsius, block B
    float errorFraction = 0;                // block B; above 0.001 the PC looks for an error code in block A
    uint8_t errorCode = 0;                  // block A: reported in the last pair with a set flag
    uint16_t rejected = 0;                  // block B: n2 = n1 + rejected, delta n = rejected
};

// Faults for tests. Counted faults count down with every request addressed to the module.
struct ModuleFaults {
    bool mute = false;           // hears and executes, never answers
    bool damagedHeader = false;  // the header checksum of every reply is wrong
    int32_t cutReplyTo = -1;     // replies end after this many bytes (-1 = whole)
    uint32_t delayMs = 0;        // replies start this late
    uint32_t fatalCount = 0;     // the next N requests get status 2 and are not executed
    uint32_t busyCount = 0;      // the next N requests get the busy bit and are not executed
    std::set<uint8_t> status6{}; // commands answered with status 6 on top of the module's own list
};

struct ModuleState {
    uint8_t station = 0;
    uint32_t baud = 9600;
    SimStationInfo info;
    std::array<SimChannel, 2> channels;
    std::array<SimCalibration, kCalibrationCount> material;
    bool hasTemperatureCalibrations = false; // without: commands 194/195 answer status 6
    std::array<SimCalibration, kCalibrationCount> temperature;
    uint8_t activeCalibration = 0;
    std::array<SimOffset, kOffsetSlots> offsets{};
    std::array<uint8_t, 10> applicationParameters{};
    bool haltBySignal = false;  // bit 0 of the halt state, from the module's input
    bool haltByCommand = false; // bit 1, set and cleared with command 191
    std::set<uint8_t> notImplemented;
    // Zero offsets and measurement counts can only be read and written while bits 0 and 1 of channel 0's
    // yRawVofsVd are set; a module without this lock accepts them at any time.
    bool settingsLock = true;
    // Measures on its own (the XV module): every read of the measured values is a new measurement.
    // Otherwise a new measurement is taken on command 242.
    bool continuous = false;
    uint8_t measuringError = 0; // command 241 answers status 5 with this code (0 = none)
    SimXv xv;
    ModuleFaults faults;

    // Counters, for tests.
    uint64_t measurementIndex = 0;
    uint32_t requestsAnswered = 0;
};

// Scale factors between a material coefficient and the float the module keeps.
inline constexpr std::array<double, 6> kMaterialScale = {0.1, 1, 10, 100, 1000, 10000};

} // namespace terrix::sim

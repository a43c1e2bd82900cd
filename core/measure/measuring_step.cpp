#include "core/measure/measuring_step.h"

#include "core/bus/bus_error.h"
#include "core/measure/error_marker.h"
#include "core/measure/little_endian.h"
#include "core/measure/meas_layouts.h"

#include <cmath>

namespace terrix {

namespace {

// The highest calibration position; reads with the "unknown" index 255 are not sent.
constexpr uint8_t kLastCalibIndex = 15;
// Above this error fraction the module's averaging rejected enough values for block A to name a cause.
constexpr float kErrorFractionLimit = 0.001f;

// Keeps the first failure's code for the step's result.
void NoteFailure(uint16_t& first) {
    if (first == 0) {
        const uint16_t code = LastBusError();
        first = code != 0 ? code : kUnknownErrorCode;
    }
}

bool IsXvLayout(MeasLayout layout) {
    return layout == MeasLayout::kXv || layout == MeasLayout::kXvWithTdc;
}

} // namespace

float ConvertChannel(const MeasuredChannel& reading, const SensorData& sensor) {
    if (reading.bit2Flag) {
        return 0.0f;
    }
    return static_cast<float>(reading.value) * sensor.fResolution + sensor.fZeroOffset;
}

XvStatistics ComputeXvStatistics(float sum, float sumOfSquares, uint16_t n1) {
    XvStatistics out;
    if (n1 == 0) {
        return out;
    }
    const double s = sum;
    const double n = n1;
    out.moisture = static_cast<float>(s / n);
    if (n1 > 1) {
        const double variance = (static_cast<double>(sumOfSquares) - s * s / n) / (n - 1);
        if (variance >= 0) {
            out.stdDev = static_cast<float>(std::sqrt(variance));
        }
    }
    return out;
}

uint16_t XvErrorCode(const std::array<uint8_t, kMeasBlockASize>& blockA) {
    for (size_t pair = kMeasBlockASize / 2; pair-- > 0;) {
        if (blockA[2 * pair + 1] != 0) {
            return static_cast<uint16_t>(kBusMeasuringCodeBase + blockA[2 * pair]);
        }
    }
    return 0;
}

uint16_t ReadProbeValues(PortHandle port, const ModuleRecord& module, const ChannelOptions& options,
                         CMeasRecord& record) {
    MeasuredChannel readings[2];
    if (!ReadMeasuredValues(port, module.iaStation, readings[0], readings[1])) {
        uint16_t code = 0;
        NoteFailure(code);
        record.SetErrorMarker(1, code);
        record.SetFloat(2, 0.0f);
        return code;
    }
    const SensorData* sensors[2] = {&module.sensorData0, &module.sensorData1};
    float values[2] = {0.0f, 0.0f};
    for (size_t c = 0; c < 2; ++c) {
        if (options.use[c]) {
            values[c] = options.raw[c] ? static_cast<float>(readings[c].value)
                                       : ConvertChannel(readings[c], *sensors[c]);
        }
    }
    // A one-value record has no field 2. It keeps the channel that measures: for a module measuring on
    // channel 1 alone that is channel 1 (its files are titled "<serial>_2"), not the idle channel 0.
    const bool onlyChannel1 = record.FieldCount() == 2 && module.dwMeasChannels == 2;
    if (onlyChannel1) {
        record.SetFloat(1, values[1]);
    } else {
        record.SetFloat(1, values[0]);
        record.SetFloat(2, values[1]);
    }
    return 0;
}

uint16_t ReadXvValues(PortHandle port, const ModuleRecord& module, CMeasRecord& record) {
    const uint8_t station = module.iaStation;
    uint16_t firstError = 0;

    uint8_t activeCalib = ReadActiveCalib(port, station);
    if (activeCalib == kNoActiveCalib) {
        NoteFailure(firstError);
    }

    // Everything a failed or skipped read leaves unknown stays 0.
    bool moistureIsMarker = false;
    uint16_t moistureMarker = 0;
    XvStatistics stats;
    float errorFraction = 0;
    uint16_t n1 = 0, n2 = 0, deltaN = 0;
    float tdrLevel = 0;
    float temperature = 0;

    MeasuredChannel readings[2];
    std::array<uint8_t, kMeasBlockBSize> blockB{};
    if (!ReadMeasuredValues(port, station, readings[0], readings[1])) {
        NoteFailure(firstError);
        moistureIsMarker = true;
        moistureMarker = LastBusError();
    } else {
        tdrLevel = ConvertChannel(readings[1], module.sensorData1);
        if (!ReadMeasBlockB(port, station, blockB)) {
            NoteFailure(firstError);
            moistureIsMarker = true;
            moistureMarker = LastBusError();
            activeCalib = 0;
        } else {
            const float sum = LoadLeFloat(&blockB[0]);
            const float sumOfSquares = LoadLeFloat(&blockB[4]);
            errorFraction = LoadLeFloat(&blockB[8]);
            n1 = LoadLe16(&blockB[12]);
            n2 = LoadLe16(&blockB[14]);
            deltaN = LoadLe16(&blockB[16]);

            std::array<uint8_t, kMeasBlockASize> blockA{};
            if (!ReadMeasBlockA(port, station, blockA)) {
                NoteFailure(firstError);
            }
            const uint16_t code = std::fabs(errorFraction) > kErrorFractionLimit ? XvErrorCode(blockA) : 0;
            if (code != 0) {
                moistureIsMarker = true;
                moistureMarker = code;
            } else {
                stats = ComputeXvStatistics(sum, sumOfSquares, n1);
                temperature = LoadLeFloat(&blockB[18]);
            }
        }
    }

    double offset = 0;
    if (!ReadOffset(port, station, 0, false, offset)) {
        NoteFailure(firstError);
        offset = 0;
    }
    uint16_t matId = 0;
    uint16_t tempId = 0;
    if (activeCalib <= kLastCalibIndex) {
        CalibCoeffs coeffs{};
        if (!ReadMatCalib(port, station, activeCalib, matId, coeffs)) {
            NoteFailure(firstError);
            matId = 0;
        }
        if (!ReadTempCalib(port, station, activeCalib, tempId, coeffs)) {
            NoteFailure(firstError);
            tempId = 0;
        }
    }

    record.SetByte(kXvDensity, activeCalib);
    if (moistureIsMarker) {
        record.SetErrorMarker(kXvMoisture, moistureMarker);
    } else {
        record.SetFloat(kXvMoisture, stats.moisture);
    }
    record.SetFloat(kXvStdDev, stats.stdDev);
    record.SetFloat(kXvError, errorFraction * 100.0f);
    record.SetWord(kXvN1, n1);
    record.SetWord(kXvN2, n2);
    record.SetWord(kXvDeltaN, deltaN);
    record.SetFloat(kXvTdrLevel, tdrLevel);
    record.SetFloat(kXvC0, static_cast<float>(offset));
    // The last three exist only with TDC support; without it these do nothing.
    record.SetFloat(kXvTemperature, temperature);
    record.SetWord(kXvMatId, matId);
    record.SetWord(kXvTempId, tempId);
    return firstError;
}

MeasuringStepResult RunMeasuringStep(PortHandle port, const ModuleRecord& module,
                                     const ChannelOptions& options, uint32_t stamp, CMeasValueStore& store) {
    MeasuringStepResult result;
    if (!store.IsBound()) {
        return result;
    }
    CMeasRecord& record = store.AppendRecord();
    record.SetStamp(0, stamp);
    // The record's layout decides which read fills it, so the fields always match their kinds.
    result.busError = IsXvLayout(store.Layout()) ? ReadXvValues(port, module, record)
                                                 : ReadProbeValues(port, module, options, record);
    result.stored = store.Append();
    return result;
}

} // namespace terrix

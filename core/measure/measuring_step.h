#pragma once
// The measuring step: reads one module's values over the bus into its value store's append record and
// stores the record. Ordinary modules give one or two channel values; the XV module gives its averaged
// moisture with statistics, temperature and the identifiers of its active calibrations. A read that fails
// leaves an error marker (the bus error code as a NaN pattern) or 0 in the record instead of stopping.

#include "core/bus/commands.h"
#include "core/inventory/module_record.h"
#include "core/measure/meas_value_store.h"
#include "core/platform/com_port.h"

#include <array>
#include <cstdint>

namespace terrix {

// Per-channel choices of a measuring slot for ordinary modules.
struct ChannelOptions {
    std::array<bool, 2> use{true, true};   // an unused channel's field is stored as 0.0
    std::array<bool, 2> raw{false, false}; // store the LSB value instead of the physical value
};

// The physical value of one channel: LSB x fResolution + fZeroOffset, or 0.0 when the module flags the
// reading (bit 2 of the channel's status).
float ConvertChannel(const MeasuredChannel& reading, const SensorData& sensor);

// What the XV module's statistics give: "Moisture [%]" (sum / n1) and "StdDev" (the sample standard
// deviation from the sums); both 0 where they are not defined (n1 = 0, n1 < 2 or a negative variance).
struct XvStatistics {
    float moisture = 0;
    float stdDev = 0;
};
XvStatistics ComputeXvStatistics(float sum, float sumOfSquares, uint16_t n1);

// The error code block A names for a measurement with a high error fraction: 300 + the code byte of the
// last pair (of eight) whose flag byte is not 0; 0 when no flag is set.
uint16_t XvErrorCode(const std::array<uint8_t, kMeasBlockASize>& blockA);

struct MeasuringStepResult {
    bool stored = false;   // the record reached both files
    uint16_t busError = 0; // the first failed read's bus error code (0: every read answered)
};

// Fills store.AppendRecord() from the module at module.iaStation (field 0 := stamp) and appends it. The
// store must be bound to this module. The caller holds the port's lock for the whole step, so no other
// transaction comes between the reads of one module.
MeasuringStepResult RunMeasuringStep(PortHandle port, const ModuleRecord& module,
                                     const ChannelOptions& options, uint32_t stamp, CMeasValueStore& store);

// The two reads of a step, each filling the record without appending it.
uint16_t ReadProbeValues(PortHandle port, const ModuleRecord& module, const ChannelOptions& options,
                         CMeasRecord& record);
uint16_t ReadXvValues(PortHandle port, const ModuleRecord& module, CMeasRecord& record);

} // namespace terrix

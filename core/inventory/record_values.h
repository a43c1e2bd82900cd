#pragma once
// Values derived from a module record for display and for the measuring loop: conversion time, channel
// units and channel mask, firmware version text.

#include "core/inventory/module_record.h"

#include <cstdint>
#include <string>

namespace terrix {

// Conversion time in milliseconds: for the XV module count x 0.01262 x 60000 (double, in that order,
// truncated), else dwMeasTime; 0 without a record.
uint32_t ConversionTimeMs(const ModuleRecord* record);
// The time in milliseconds divided by 1000, any remainder adding one second.
uint32_t ConversionTimeSec(const ModuleRecord* record);

// yUnitCode of SensorData0/1 when the record has sensor data, else 0 (also for channels above 1).
uint8_t ChannelUnitCode(const ModuleRecord& record, unsigned channel);
// False for channels above 1; true on the XV module; else bit `channel` of dwMeasChannels.
bool ChannelHasMeasurements(const ModuleRecord& record, unsigned channel);

// Bit 0 when channel 0 has measurements, bit 1 when channel 1 has.
uint32_t MeasChannelsFor(uint32_t numberOfMeas0, uint32_t numberOfMeas1);
void RecomputeMeasChannels(ModuleRecord& record);

// "%d.%d %c.%d": the nibbles of the low byte, then '@' plus the high nibble of the high byte and its low
// nibble (0x1312 gives "1.2 A.3").
std::string FirmwareText(uint16_t firmwareVersion);

} // namespace terrix

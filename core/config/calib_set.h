#pragma once
// The 16 material and 16 temperature calibrations of one module (or of a set of calibration files), one per
// position of the module's calibration switch, and the bus operations that read and write them.

#include "core/bus/commands.h"
#include "core/platform/com_port.h"

#include <array>
#include <cstdint>
#include <functional>

namespace terrix {

inline constexpr size_t kCalibPositions = 16;
inline constexpr size_t kCalibTextSize = 256; // texts keep at most 255 characters

using CalibText = std::array<char, kCalibTextSize>;

struct MatCalib {
    CalibText szCalibComment{}; // from the CAL file; a module read leaves it empty
    double dCRho = 0;           // CAL key "CRHO"; never sent to a module
    uint16_t wCalibId = 0;
    CalibCoeffs adCoeff{};
};

struct TempCalib {
    uint32_t bValid = 0; // this position holds a temperature calibration
    CalibText szCalibComment{};
    uint16_t wCalibId = 0;
    CalibCoeffs adCoeff{};
};

struct CalibSet {
    CalibText szDescription{}; // only from a LOC file
    std::array<MatCalib, kCalibPositions> aMatCalib{};
    uint32_t bHasTempCalib = 0;
    std::array<TempCalib, kCalibPositions> aTempCalib{};
};

// Zeroes the set, then reads the material calibrations of positions 0..15 (command 206, coefficients
// scaled) and the temperature calibrations (194, unscaled, bValid = 1). A module that does not implement
// 194 (bus error 6 at position 0) has no temperature calibrations: bHasTempCalib = 0 and the read succeeds.
// Any other failure gives false; LastBusError tells why. `stopRequested` (may be empty) is asked before
// each calibration: a read that is no longer wanted (its window is closing) ends there with false.
bool ReadCalibSet(PortHandle port, uint8_t station, CalibSet& set,
                  const std::function<bool()>& stopRequested = {});

// Writes the 16 material calibrations (207), then the temperature calibrations marked valid (195). A module
// that does not implement 195 (bus error 6 at position 0) ends the write with success.
bool WriteCalibSet(const CalibSet& set, PortHandle port, uint8_t station);

// The module's active calibration position, 255 on any failure (command 204).
uint8_t GetActiveCalib(PortHandle port, uint8_t station);

// False for a position above 15 (nothing sent). Reads the active position first: false when that gives
// more than 15; true without sending when the
// position is already active; else command 205.
bool SetActiveCalib(PortHandle port, uint8_t station, uint8_t position);

// Shown by the "Setting Active Calibration" dialog when the active position cannot be read (0 is used).
inline constexpr const char* kMsgActiveCalibReadFailed =
    "Failed to request for TavikXV's actual switch postion!";

} // namespace terrix

#include "core/config/calib_set.h"

#include "core/bus/bus_error.h"

namespace terrix {

bool ReadCalibSet(PortHandle port, uint8_t station, CalibSet& set,
                  const std::function<bool()>& stopRequested) {
    set = CalibSet{};
    PortLock lock(port);
    const auto stopped = [&stopRequested] { return stopRequested && stopRequested(); };
    for (uint8_t i = 0; i < kCalibPositions; ++i) {
        MatCalib& calib = set.aMatCalib[i];
        if (stopped() || !ReadMatCalib(port, station, i, calib.wCalibId, calib.adCoeff)) {
            return false;
        }
    }
    for (uint8_t i = 0; i < kCalibPositions; ++i) {
        TempCalib& calib = set.aTempCalib[i];
        if (stopped()) {
            return false;
        }
        if (!ReadTempCalib(port, station, i, calib.wCalibId, calib.adCoeff)) {
            // Only the very first temperature read may tell that the module has none.
            if (i == 0 && LastBusError() == kBusNotImplemented) {
                set.bHasTempCalib = 0;
                return true;
            }
            return false;
        }
        calib.bValid = 1;
    }
    set.bHasTempCalib = 1;
    return true;
}

bool WriteCalibSet(const CalibSet& set, PortHandle port, uint8_t station) {
    PortLock lock(port);
    for (uint8_t i = 0; i < kCalibPositions; ++i) {
        const MatCalib& calib = set.aMatCalib[i];
        if (!WriteMatCalib(port, station, i, calib.wCalibId, calib.adCoeff)) {
            return false;
        }
    }
    for (uint8_t i = 0; i < kCalibPositions; ++i) {
        const TempCalib& calib = set.aTempCalib[i];
        if (calib.bValid == 0) {
            continue;
        }
        if (!WriteTempCalib(port, station, i, calib.wCalibId, calib.adCoeff)) {
            // A module without temperature calibrations refuses the first one; there is nothing more to do.
            return i == 0 && LastBusError() == kBusNotImplemented;
        }
    }
    return true;
}

uint8_t GetActiveCalib(PortHandle port, uint8_t station) {
    return ReadActiveCalib(port, station);
}

bool SetActiveCalib(PortHandle port, uint8_t station, uint8_t position) {
    // The switch has 16 positions; a larger number would be sent to the module unchecked.
    if (position >= kCalibPositions) {
        return false;
    }
    return WriteActiveCalib(port, station, position);
}

} // namespace terrix

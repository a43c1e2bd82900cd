#include "core/config/calib_compare.h"

#include <cmath>

namespace terrix {

namespace {

// One position: the IDs first, then the six coefficients. Returns whether a difference was found; `stop`
// tells the caller to end the whole comparison (first difference without a callback).
bool ComparePosition(unsigned position, uint16_t idA, uint16_t idB, const CalibCoeffs& ca,
                     const CalibCoeffs& cb, const CalibDiffCallback& callback, bool& stop) {
    bool differs = false;
    if (idA != idB) {
        differs = true;
        if (!callback || callback(position, kCalibIdDiffers) == 0) {
            return differs;
        }
    }
    for (unsigned j = 0; j < ca.size(); ++j) {
        if (CoeffEqual(ca[j], cb[j])) {
            continue;
        }
        differs = true;
        if (!callback) {
            stop = true;
            return differs;
        }
        if (callback(position, j) == 0) {
            break;
        }
    }
    return differs;
}

} // namespace

bool CoeffEqual(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) {
        return false;
    }
    const double diff = std::fabs(a - b);
    if (diff <= 1e-6) {
        return true;
    }
    if (a == 0) {
        return false;
    }
    const double n = std::trunc(std::log10(std::fabs(a)));
    return diff <= std::pow(10.0, n) * 1e-6;
}

bool CompareMatCalibs(const CalibSet& a, const CalibSet& b, const CalibDiffCallback& callback) {
    bool differs = false;
    for (unsigned i = 0; i < kCalibPositions; ++i) {
        bool stop = false;
        differs |= ComparePosition(i, a.aMatCalib[i].wCalibId, b.aMatCalib[i].wCalibId,
                                   a.aMatCalib[i].adCoeff, b.aMatCalib[i].adCoeff, callback, stop);
        if (stop) {
            return true;
        }
    }
    return differs;
}

bool CompareTempCalibs(const CalibSet& a, const CalibSet& b, const CalibDiffCallback& callback) {
    bool differs = false;
    for (unsigned i = 0; i < kCalibPositions; ++i) {
        if (a.aTempCalib[i].bValid == 0) {
            continue;
        }
        bool stop = false;
        differs |= ComparePosition(i, a.aTempCalib[i].wCalibId, b.aTempCalib[i].wCalibId,
                                   a.aTempCalib[i].adCoeff, b.aTempCalib[i].adCoeff, callback, stop);
        if (stop) {
            return true;
        }
    }
    return differs;
}

} // namespace terrix

#pragma once
// Comparing calibrations: a module's data against the data of its calibration files, and after
// programming the data written against the data read back.

#include "core/config/calib_set.h"

#include <functional>

namespace terrix {

// Code passed to a compare callback when the calibration IDs of a position differ; codes 0..5 name the
// coefficient that differs.
inline constexpr unsigned kCalibIdDiffers = 6;

// Called with (position, code) for every difference found. Returning 0 skips the rest of that position;
// non-zero goes on comparing it.
using CalibDiffCallback = std::function<int(unsigned position, unsigned code)>;

// False when either value is not finite. Equal within 1e-6, or else (for a non-zero `a`) within
// 10^n x 1e-6 with n = log10(|a|) truncated toward zero: the tolerance follows the first argument.
bool CoeffEqual(double a, double b);

// True when any position differs. Without a callback the comparison stops at the first differing
// coefficient, and a differing ID skips that position's coefficients.
bool CompareMatCalibs(const CalibSet& a, const CalibSet& b, const CalibDiffCallback& callback = {});
// The same over the temperature calibrations; positions not valid in `a` are skipped.
bool CompareTempCalibs(const CalibSet& a, const CalibSet& b, const CalibDiffCallback& callback = {});

} // namespace terrix

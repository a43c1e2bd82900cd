#pragma once
// The screenshot tour's pictures of the measured-value window: the first two-channel probe's values as a
// list ("values") and as a plot ("plot"), and the XV module's list ("values_xv") and plot ("plot_xv").

namespace terrix {

class CScreenshotTour;

void AddMeasValueTourSteps(CScreenshotTour& tour);

} // namespace terrix

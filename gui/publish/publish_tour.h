#pragma once
// The publishing dialog's step of the screenshot tour.

namespace terrix {

class CScreenshotTour;

// publish: the dialog after a "Test" that found no broker at the address.
void AddPublishTourSteps(CScreenshotTour& tour);

} // namespace terrix

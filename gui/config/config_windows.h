#pragma once
// The configuration dialogs of one module, entered into the circuit window's module table.

namespace terrix {

struct FrameWindows;
class CScreenshotTour;

void RegisterConfigDialogs(FrameWindows& windows);
// The tour's pictures of the configuration dialogs for the XV module of the bus.
void AddConfigTourSteps(CScreenshotTour& tour);

} // namespace terrix

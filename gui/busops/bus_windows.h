#pragma once
// The bus windows' entries in the frame's window table and their steps of the screenshot tour.

namespace terrix {

struct FrameWindows;
class CScreenshotTour;

// Scanning dialog, resolve-collisions dialog, serial-port set-up, traffic monitor, and the station-number
// and conversion-time dialogs of the module table.
void RegisterBusWindows(FrameWindows& windows);

// The tour's steps of these windows; they come first, since the scan saves the bus the later steps show.
void RegisterBusTourSteps(CScreenshotTour& tour);

} // namespace terrix

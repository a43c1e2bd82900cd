#pragma once
// The circuit window's steps of the screenshot tour.

namespace terrix {

class CScreenshotTour;

// circuit, circuit_values, circuit_menu, create_collision, halt_state.
void AddCircuitTourSteps(CScreenshotTour& tour);

} // namespace terrix

#pragma once
// The circuit window's steps of the screenshot tour.

namespace terrix {

class CScreenshotTour;

// circuit, circuit_values, circuit_menu, create_collision, halt_state.
void AddCircuitTourSteps(CScreenshotTour& tour);
// port_lost, port_back, close_while_measuring: a loop on the built-in simulated bus whose adapter is pulled
// out and plugged in again, and the question before its window closes.
void AddPortOutageTourSteps(CScreenshotTour& tour);

} // namespace terrix

#pragma once
// The steps of the screenshot tour, one function per group of windows, in the order the tour runs them
// (RegisterTourSteps in screenshot_tour.cpp).

namespace terrix {

class CScreenshotTour;

// The bus windows; they come first, since the scan saves the bus the later steps show. The collision step
// makes a real collision on the bus and resolves it ("collision_resolved"), moving one probe.
void AddBusTourSteps(CScreenshotTour& tour);
// circuit, circuit_values, circuit_menu, create_collision, halt_state.
void AddCircuitTourSteps(CScreenshotTour& tour);
// port_lost, port_back, close_while_measuring: a loop on the built-in simulated bus whose adapter is pulled
// out and plugged in again, and the question before its window closes.
void AddPortOutageTourSteps(CScreenshotTour& tour);
// The first two-channel probe's values as a list ("values"), as a plot ("plot") and with the export choices
// over the plot ("export"), and the XV module's
// list ("values_xv") and plot ("plot_xv").
void AddMeasValueTourSteps(CScreenshotTour& tour);
// publish: the dialog after a "Test" that found no broker at the address.
void AddPublishTourSteps(CScreenshotTour& tour);
// The configuration dialogs for the XV module of the bus.
void AddConfigTourSteps(CScreenshotTour& tour);

} // namespace terrix

#pragma once
// The windows the main frame opens for its commands. The frame receives this table in its constructor;
// CTerrixApp fills it at start-up with AllFrameWindows(), which calls each window's registration function
// by name (no static initialisers: a linker may drop an object file that nothing refers to). An empty entry
// leaves its menu item disabled. Tests give the frame a table of their own.
//
// Every window receives the bus context and its owner (the frame) in its constructor and finds nothing by
// walking up its parents.

#include "core/inventory/bus_context.h"

#include <functional>

class QWidget;

namespace terrix {

class CPlacementDialog;

struct FrameWindows {
    // Runs the scanning dialog modally; mode 0 known modules, 1 scan bus, 2 scan completely (bit 0 detailed
    // layout, bit 1 forget the stored bus state first). The frame then opens the circuit window.
    std::function<void(BusContext& context, QWidget* owner, int mode)> runScan;
    // Runs the create-collisions dialog modally.
    std::function<void(BusContext& context, QWidget* owner)> runCreateCollisions;
    // Runs the resolve-collisions dialog modally.
    std::function<void(BusContext& context, QWidget* owner)> runResolveCollisions;
    // Creates the measuring circuit window, modeless (not yet shown); null when creation fails. The frame
    // keeps at most one and forgets it on its childClosed signal.
    std::function<CPlacementDialog*(BusContext& context, QWidget* owner)> createCircuitWindow;
    // Runs the serial-port set-up (the devices behind COM1..COM4) modally.
    std::function<void(BusContext& context, QWidget* owner)> runSerialPorts;
    // Creates the bus traffic monitor, modeless (not yet shown); the frame keeps at most one.
    std::function<CPlacementDialog*(BusContext& context, QWidget* owner)> createTrafficMonitor;
};

// The table of the program: every window that exists registers here (see frame_windows.cpp).
FrameWindows AllFrameWindows();

} // namespace terrix

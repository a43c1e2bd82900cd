#pragma once
// The windows the main frame opens for its Bus and Maintenance commands. Each registers itself here when it
// exists; until then its menu item stays disabled.

#include <functional>

class QWidget;

namespace terrix {

class CMainFrame;

struct FrameWindows {
    // Creates the measuring circuit window (modeless, the frame as owner); null when creation fails.
    std::function<QWidget*(CMainFrame& frame)> createCircuitWindow;
    // Runs the scanning dialog modally; mode 0 known modules, 1 scan bus, 2 scan completely.
    std::function<void(CMainFrame& frame, int mode)> runScan;
    // Runs the create-collisions dialog modally.
    std::function<void(CMainFrame& frame)> runCreateCollisions;
    // Runs the resolve-collisions dialog modally.
    std::function<void(CMainFrame& frame)> runResolveCollisions;
};

FrameWindows& RegisteredFrameWindows();

} // namespace terrix

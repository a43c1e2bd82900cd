#pragma once
// The wait hook of the user-interface thread: a bus wait there runs the Qt event loop until its deadline,
// so windows repaint, the clock ticks and Cancel buttons are seen during a scan, without a busy loop.
// Installed once at start-up (CTerrixApp), and by tests that run bus work on their main thread.

#include "core/platform/clock.h"

#include <cstdint>

namespace terrix {

// Installs the hook for the calling thread (the one that runs QApplication).
void InstallGuiWaitHook();

// The hook itself: returns no earlier than deadlineUs on `clock`. A wait that starts inside another wait
// (a handler that broke the one-activity rule) sleeps instead of nesting a further event loop.
void GuiWait(Clock& clock, uint64_t deadlineUs);

} // namespace terrix

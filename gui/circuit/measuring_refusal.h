#pragma once
// Which of the circuit window's commands must wait while its measuring loop measures, and why: the loop
// holds the bus, and it appends to every module's measurement files. A command that needs neither (showing
// values, editing the user info, (de)activating a module through the loop) runs at any time.

namespace terrix {

enum class MeasuringConflict {
    kNone,  // runs while the loop measures
    kBus,   // talks to a module: the loop holds the bus
    kFiles, // deletes, rewrites or copies measurement files the loop is writing
};

// `command` is a command number of the window (its menu items and buttons).
MeasuringConflict ConflictWhileMeasuring(int command);

} // namespace terrix

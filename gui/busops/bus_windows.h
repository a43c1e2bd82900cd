#pragma once
// The bus windows' entries in the frame's window table.

namespace terrix {

struct FrameWindows;

// Scanning dialog, resolve-collisions dialog, serial-port set-up, traffic monitor, and the station-number
// and conversion-time dialogs of the module table.
void RegisterBusWindows(FrameWindows& windows);

} // namespace terrix

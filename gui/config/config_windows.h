#pragma once
// The configuration dialogs of one module, entered into the circuit window's module table.

namespace terrix {

struct FrameWindows;

void RegisterConfigDialogs(FrameWindows& windows);

} // namespace terrix

#pragma once
// The program's window table: every window that exists registers here.

#include "gui/base/window_contracts.h"

namespace terrix {

FrameWindows AllFrameWindows();

} // namespace terrix

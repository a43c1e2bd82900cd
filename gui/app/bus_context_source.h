#pragma once
// How a window finds the bus context (port and bus list) that the main frame owns for the whole run: it asks
// the frame it belongs to and works on that context in place, keeping no copy.

#include "core/inventory/bus_context.h"

#include <memory>

class QWidget;

namespace terrix {

// A window that owns the bus context (the main frame).
class CBusContextSource {
public:
    virtual ~CBusContextSource() = default;
    virtual BusContext* GetBusContext() = 0;
};

// The bus context of the frame that `window` belongs to (the window itself, a parent or the owner of a
// dialog), or null.
BusContext* FindBusContext(QWidget* window);

// A new context as the frame starts with it: COM port 1, nothing open, no error, an empty bus list.
std::unique_ptr<BusContext> MakeFrameBusContext();

} // namespace terrix

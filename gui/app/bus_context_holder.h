#pragma once
// The bus state that the main frame owns for the whole run: the COM port context (port number 1..4, open
// handle, start-up error) and the bus list of that port. Windows ask the frame for it (FindBusContext) and
// work on it in place; none keeps a copy.

#include "core/platform/port_user.h"

class QWidget;

namespace terrix {

class CBusContextHolder {
public:
    // Port 1, no port open, no error.
    CBusContextHolder();

    ComPortContext& PortContext() { return port_; }
    const ComPortContext& PortContext() const { return port_; }

    int PortNumber() const { return port_.nPortNo; }
    // 1..4; other numbers are refused.
    bool SetPortNumber(int portNumber);

    // The bus list of the port. It arrives with the module inventory; until then the context has none, and
    // the commands that need it say so.
    bool HasBusList() const { return false; }

private:
    ComPortContext port_;
};

// A window that owns the bus context (the main frame).
class CBusContextSource {
public:
    virtual ~CBusContextSource() = default;
    virtual CBusContextHolder* GetBusContext() = 0;
};

// The bus context of the frame that `window` belongs to (the window itself, a parent or the owner of a
// dialog), or null.
CBusContextHolder* FindBusContext(QWidget* window);

} // namespace terrix

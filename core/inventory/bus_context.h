#pragma once
// The state of the one bus the program works on: the port (number, open handle, start-up error) and the
// bus list of that port with every module record. The main window (or the command-line tool) owns it for
// the whole run; every window works on these records in place instead of keeping copies.
//
// No mutex guards it, by design: the port and the list are touched only from the user-interface thread
// (scans, dialogs and module commands run there, waiting through the wait hook rather than in threads).
// The measuring loop's timer thread is the one exception: it reads the records and uses the port while
// measuring. While it runs, callers must not add, remove, replace or sort records, nor clear the list; bus
// commands of their own are refused, since the loop's PortUser holds the port's reservation (another
// PortUser's Acquire fails with kErrorPortReserved), and the bus link's own lock keeps transactions apart. A
// record field the loop reads (bDisabled, the kind flags, the channel counts) is not written from another
// thread while it runs, except through a way the measuring loop itself provides.

#include "core/inventory/bus_list.h"
#include "core/platform/port_user.h"

namespace terrix {

struct BusContext {
    ComPortContext portContext;
    CBusList busList;
};

} // namespace terrix

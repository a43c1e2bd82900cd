#pragma once
// The state of the one bus the program works on: the port (number, open handle, start-up error) and the
// bus list of that port with every module record. The main window (or the command-line tool) owns it for
// the whole run; the windows show and change these records (their bus work changes copies, see below).
//
// No mutex guards it, by design; one activity at a time uses it (a window's bus job, a scan, the measuring
// loop), and each keeps to these rules:
// - A window's bus job runs on a worker thread and owns the port for its duration. It reads the list and
//   the records, and writes neither: it changes copies, which its window writes back on the user-interface
//   thread when the job's result arrives. The window meanwhile only reads (draws) them. A scan or a
//   resolution rebuilds the list on its worker; no window shows records meanwhile (the main window closes
//   the circuit window first).
// - The measuring loop's timer thread reads the records and uses the port while measuring. Meanwhile
//   callers must not add, remove, replace or sort records, nor clear the list; bus commands of their own are
//   refused, since the loop's PortUser holds the port's reservation (another PortUser's Acquire fails with
//   kErrorPortReserved), and the bus link's own lock keeps transactions apart. A record the loop copies is
//   written from another thread only through the loop (CMeasLoop::ChangeRecord, SetModuleDisabled).
// - Everything else touches it on the user-interface thread (or the command-line tool's only thread).

#include "core/inventory/bus_list.h"
#include "core/platform/port_user.h"

namespace terrix {

struct BusContext {
    ComPortContext portContext;
    CBusList busList;
};

} // namespace terrix

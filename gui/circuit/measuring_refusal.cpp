#include "gui/circuit/measuring_refusal.h"

#include "gui/circuit/meas_circuit_dlg.h"

namespace terrix {

MeasuringConflict ConflictWhileMeasuring(int command) {
    using W = CMeasCircuitDlg;
    switch (command) {
    case W::ID_RESCAN:
    case W::ID_STATION_NUMBER:
    case W::ID_RESET_BAUD:
    case W::ID_ERROR66:
    case W::ID_ACTIVE_CALIB:
    case W::ID_OFFSET:
    case W::ID_COEFFICIENTS:
    case W::ID_CONVERSION_TIME:
    case W::ID_APP_PARAMS:
    case W::ID_HALT_STATE:
        return MeasuringConflict::kBus;
    case W::ID_REMOVE:         // the loop appends to the module's store
    case W::ID_RECREATE_ASCII: // rewrites the ASCII file the loop appends to
    case W::ID_ERASE:
    case W::ID_ERASE_ALL:
    case W::ID_COPY_FILES: // a copy could end in a half-written record
        return MeasuringConflict::kFiles;
    default:
        // Showing values, the user info (place and comment, which the loop never reads) and the active
        // flag (set through the loop) need neither the bus nor the files.
        return MeasuringConflict::kNone;
    }
}

} // namespace terrix

#pragma once
// The windows the main frame opens for its commands: the contract between the frame and the window folders.
// The frame receives this table in its constructor; the program fills it at start-up with AllFrameWindows()
// (gui/app/window_table.h), which calls each window's registration function by name (no static
// initialisers: a linker may drop an object file that nothing refers to). An empty entry leaves its menu
// item disabled. Tests give the frame a table of their own.
//
// Every window receives the bus context and its owner (the frame) in its constructor and finds nothing by
// walking up its parents.

#include "core/inventory/bus_context.h"

#include <functional>

class QWidget;

namespace terrix {

class CPlacementDialog;
class CMeasValueStore;
struct ModuleRecord;

// What the circuit window needs of a measured-value window it opened for one module.
class MeasValueView {
public:
    virtual ~MeasValueView() = default;
    // The window itself (modeless, created but not shown; it deletes itself when closed and then emits
    // childClosed, after which the circuit window must not use this view again).
    virtual CPlacementDialog* Window() = 0;
    // The measuring loop appended a record to the store: the window follows it only when its list is at the
    // end, so a user reading older rows is not moved away.
    virtual void OnNewValue() = 0;
};

// The dialogs and windows the circuit window opens for one module record (its context-menu commands). Same
// rule as the frame's table: an empty entry leaves its command disabled. A modal entry returns true when it
// changed the module or its record (the circuit window then refreshes the row and saves the module file).
struct ModuleWindows {
    using ModalDialog = std::function<bool(BusContext& context, QWidget* owner, ModuleRecord& record)>;
    ModalDialog changeStationNumber;   // bus windows
    ModalDialog changeConversionTime;  // bus windows (XV modules only)
    ModalDialog coefficients;          // configuration dialogs
    ModalDialog applicationParameters; // configuration dialogs (XV modules only)
    ModalDialog activeCalibration;     // configuration dialogs
    ModalDialog offset;                // configuration dialogs
    ModalDialog error66Limit;          // configuration dialogs
    ModalDialog resetBaud;             // configuration dialogs
    ModalDialog userData;              // configuration dialogs
    // Creates the measured-value window of one module over the store its measuring slot owns.
    std::function<MeasValueView*(BusContext& context, QWidget* owner, ModuleRecord& record,
                                 CMeasValueStore& store)>
        createValueWindow;
};

struct FrameWindows {
    // Runs the scanning dialog modally; mode 0 known modules, 1 scan bus, 2 scan completely (bit 0 detailed
    // layout, bit 1 forget the stored bus state first). True when the scan ran to its end: the frame then
    // opens the circuit window.
    std::function<bool(BusContext& context, QWidget* owner, int mode)> runScan;
    // Runs the create-collisions dialog modally.
    std::function<void(BusContext& context, QWidget* owner)> runCreateCollisions;
    // Runs the resolve-collisions dialog modally.
    std::function<void(BusContext& context, QWidget* owner)> runResolveCollisions;
    // Creates the measuring circuit window, modeless (not yet shown); null when creation fails. The frame
    // keeps at most one and forgets it on its childClosed signal. The window opens its per-module dialogs
    // from the module table it receives.
    std::function<CPlacementDialog*(BusContext& context, QWidget* owner, const ModuleWindows& moduleWindows)>
        createCircuitWindow;
    // Runs the serial-port set-up (the devices behind COM1..COM4) modally.
    std::function<void(BusContext& context, QWidget* owner)> runSerialPorts;
    // Runs the publishing settings ("Publish values...") modally.
    std::function<void(BusContext& context, QWidget* owner)> runPublishSettings;
    // Creates the bus traffic monitor, modeless (not yet shown); the frame keeps at most one.
    std::function<CPlacementDialog*(BusContext& context, QWidget* owner)> createTrafficMonitor;
    // The per-module dialogs, handed to the circuit window.
    ModuleWindows moduleWindows;
};

} // namespace terrix

#pragma once
// The common part of the dialogs that configure one module: the module record they were opened for, the
// port they reach it through (opened when the dialog starts, closed again when it goes, unless it was
// already open), and bus work that runs as a BusActivity with the dialog's controls disabled meanwhile, so
// a click during a wait cannot start a second transaction and the dialog cannot be closed under it.

#include "core/config/config_message.h"
#include "core/inventory/bus_context.h"
#include "gui/config/config_text.h"
#include "gui/toolkit/placement_dialog.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace terrix {

struct ModuleRecord;

class CModuleConfigDialog : public CPlacementDialog {
    Q_OBJECT
public:
    CModuleConfigDialog(BusContext& context, QWidget* owner, ModuleRecord& record);
    ~CModuleConfigDialog() override;

    // Opens the port for the dialog. False when the bus is taken (the measuring loop holds the port, or
    // another operation runs): the reason has been shown and the dialog is not to be opened. A port that
    // cannot be opened is no refusal: it is reported and the first read then fails like any other.
    bool OpenPort();

    void reject() override;

protected:
    // Runs `work` as one bus activity with the controls disabled; false when the bus was refused (the
    // reason has been shown) or the work returned false.
    bool RunBusWork(const std::function<bool(PortHandle port)>& work);
    // Shows messages handed back by a core operation (an empty caption takes the dialog's title).
    void ShowConfigMessages(const ConfigMessages& messages);
    void ShowConfigMessage(const ConfigMessage& message);
    bool Busy() const { return busy_; }

    BusContext& context_;
    ModuleRecord& record_;

private:
    PortUser portUser_;
    bool openedPort_ = false;
    bool busy_ = false;
    bool moduleConfirmed_ = false;
};

// "station 4 (PX-TAVIK2, serial 4711)" for each module a command for every module left out.
QStringList SkippedModuleNames(const std::vector<const ModuleRecord*>& skipped);

} // namespace terrix

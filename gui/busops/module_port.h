#pragma once
// The port a dialog for one module keeps while it is open. The dialog opens it with OpenModulePort (a bus
// job, as the dialog appears) and uses it in its later jobs; it is closed when the dialog and the last job
// holding it have gone.

#include "core/inventory/bus_context.h"

#include <QString>

#include <memory>

class QWidget;

namespace terrix {

class CPlacementDialog;

class ModulePort {
public:
    explicit ModulePort(ComPortContext& context) : context_(context) {}
    ~ModulePort() {
        if (user_.Context() != nullptr) {
            user_.Release();
        }
    }
    ModulePort(const ModulePort&) = delete;
    ModulePort& operator=(const ModulePort&) = delete;

    // Bus work: takes the port (opening it when it is closed).
    bool Acquire() { return user_.Acquire(&context_); }
    PortHandle Port() const { return user_.Port(); }

private:
    ComPortContext& context_;
    PortUser user_;
};

// Opens `port` for `dialog` in a bus job, as the dialog appears, with `okButton` disabled meanwhile. When
// the port cannot be taken the dialog shows `failureText` and why (on its owner) and closes.
void OpenModulePort(BusContext& context, CPlacementDialog* dialog, const std::shared_ptr<ModulePort>& port,
                    const QString& failureText, QWidget* okButton);

} // namespace terrix

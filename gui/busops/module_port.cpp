#include "gui/busops/module_port.h"

#include "gui/base/bus_job.h"
#include "gui/busops/module_at_station.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/placement_dialog.h"

#include <QPointer>
#include <QWidget>

namespace terrix {

void OpenModulePort(BusContext& context, CPlacementDialog* dialog, const std::shared_ptr<ModulePort>& port,
                    const QString& failureText, QWidget* okButton) {
    okButton->setEnabled(false);
    const bool started = BusJob::Start(
        context, dialog, dialog->windowTitle(), [port](BusJobControl&) { return port->Acquire(); },
        [&context, dialog, failureText, okButton](bool ok) {
            okButton->setEnabled(ok);
            if (ok) {
                return;
            }
            const QString reason = PortFailureText(context.portContext);
            QString text = failureText;
            if (!reason.isEmpty()) {
                text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + reason;
            }
            QWidget* shownOn = dialog->parentWidget() != nullptr ? dialog->parentWidget() : dialog;
            ShowMessage(shownOn, text, dialog->windowTitle(), MessageIcon::Warning);
            dialog->reject();
        });
    if (!started) {
        dialog->reject(); // the bus is taken; the refusal has been shown
    }
}

} // namespace terrix

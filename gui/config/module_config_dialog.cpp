#include "gui/config/module_config_dialog.h"

#include "core/platform/com_port.h"
#include "gui/app/bus_activity.h"
#include "gui/busops/module_at_station.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"

namespace terrix {

CModuleConfigDialog::CModuleConfigDialog(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CPlacementDialog(owner), context_(context), record_(record), portUser_(&context.portContext) {}

CModuleConfigDialog::~CModuleConfigDialog() {
    if (openedPort_) {
        portUser_.Release();
    }
}

bool CModuleConfigDialog::OpenPort() {
    BusActivity activity(context_, this, windowTitle());
    if (!activity) {
        activity.ShowRefusal(this);
        return false;
    }
    const bool wasOpen = context_.portContext.hPort != kInvalidPort;
    if (portUser_.Acquire()) {
        openedPort_ = !wasOpen;
        return true;
    }
    const QString text = CoreText(PortUserErrorText(context_.portContext, LastPortDevice()));
    if (context_.portContext.dwError == kErrorPortReserved) {
        ShowMessage(this, text, windowTitle(), MessageIcon::Warning);
        return false;
    }
    ShowMessage(this, text, windowTitle(), MessageIcon::Stop);
    return true;
}

bool CModuleConfigDialog::RunBusWork(const std::function<bool(PortHandle port)>& work) {
    BusActivity activity(context_, this, windowTitle());
    if (!activity) {
        activity.ShowRefusal(this);
        return false;
    }
    // The module is addressed by its record's station: before the first operation the module answering
    // there must prove to be this record's module (by serial number), or a swapped module would be
    // configured in its place. The dialog keeps the port for its lifetime, so once is enough.
    busy_ = true;
    const bool wasEnabled = isEnabled();
    setEnabled(false);
    if (!moduleConfirmed_) {
        moduleConfirmed_ = RefuseOtherModuleAtStation(this, portUser_.Port(), record_, record_.iaStation);
    }
    const bool ok = moduleConfirmed_ && work(portUser_.Port());
    setEnabled(wasEnabled);
    busy_ = false;
    return ok;
}

void CModuleConfigDialog::reject() {
    if (busy_) {
        return; // the running bus work ends first
    }
    CPlacementDialog::reject();
}

void CModuleConfigDialog::ShowConfigMessage(const ConfigMessage& message) {
    MessageIcon icon = MessageIcon::None;
    switch (message.icon) {
    case ConfigMessageIcon::None:
        break;
    case ConfigMessageIcon::Exclamation:
        icon = MessageIcon::Warning;
        break;
    case ConfigMessageIcon::Stop:
        icon = MessageIcon::Stop;
        break;
    }
    const QString caption = message.caption.empty() ? windowTitle() : ConfigText(message.caption);
    ShowMessage(this, ConfigText(message.text), caption, icon);
}

void CModuleConfigDialog::ShowConfigMessages(const ConfigMessages& messages) {
    for (const ConfigMessage& message : messages) {
        ShowConfigMessage(message);
    }
}

QStringList SkippedModuleNames(const std::vector<const ModuleRecord*>& skipped) {
    QStringList names;
    for (const ModuleRecord* module : skipped) {
        names << CModuleConfigDialog::tr("station %1 (%2, serial %3)")
                     .arg(module->iaStation)
                     .arg(QString::fromStdString(module->ModuleName()))
                     .arg(module->SerialNo());
    }
    return names;
}

} // namespace terrix

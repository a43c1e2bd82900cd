#include "gui/config/module_config_dialog.h"

#include "core/platform/com_port.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"

namespace terrix {

namespace {

// How the port opening ended, for the dialog's thread.
struct PortOpening {
    bool opened = false;
    bool reserved = false; // the measuring loop holds the port
    std::string error;
};

} // namespace

CModuleConfigDialog::CModuleConfigDialog(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CPlacementDialog(owner), context_(context), record_(record),
      port_(std::make_shared<ModulePort>(&context.portContext)) {}

CModuleConfigDialog::~CModuleConfigDialog() {
    // A job still running uses the port: it is stopped and waited for before the port is closed.
    for (BusJob* job : findChildren<BusJob*>(QString(), Qt::FindDirectChildrenOnly)) {
        delete job;
    }
    if (port_->opened) {
        port_->user.Release();
    }
}

bool CModuleConfigDialog::Open() {
    DisableControls();
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [port = port_, &portContext = context_.portContext](BusJobControl&) {
            PortOpening opening;
            const bool wasOpen = portContext.hPort != kInvalidPort;
            if (port->user.Acquire()) {
                port->opened = !wasOpen;
                opening.opened = true;
            } else {
                opening.reserved = portContext.dwError == kErrorPortReserved;
                opening.error = PortUserErrorText(portContext, LastPortDevice());
            }
            return opening;
        },
        [this](const PortOpening& opening) {
            if (!Heard()) {
                DroppedOutcome();
                return;
            }
            RestoreControls();
            portOpen_ = opening.opened;
            if (!opening.opened) {
                ShowMessage(this, CoreText(opening.error), windowTitle(),
                            opening.reserved ? MessageIcon::Warning : MessageIcon::Stop);
                if (opening.reserved) {
                    reject();
                    return;
                }
            }
            ReadModule();
            firstRead_ = firstRead_ && Busy(); // a dialog without a first read has had it
        });
    if (!started) {
        RestoreControls();
    }
    return started;
}

void CModuleConfigDialog::reject() {
    if (firstRead_ && Busy()) {
        closedDuringRead_ = true;
        BusJob::RequestStop(this);
        QDialog::reject();
        return;
    }
    CPlacementDialog::reject();
}

void CModuleConfigDialog::DroppedOutcome() {
    if (deleteWhenIdle_) {
        deleteLater();
    }
}

void CModuleConfigDialog::DeleteWhenIdle(CModuleConfigDialog* dialog) {
    if (dialog->Busy()) {
        dialog->deleteWhenIdle_ = true; // its job's `done` deletes it
        return;
    }
    delete dialog;
}

bool CModuleConfigDialog::Run(const char* placementSection) {
    if (!Open()) {
        return false;
    }
    if (placementSection != nullptr) {
        LoadWindowPlacement(placementSection);
    }
    RunModal(*this);
    if (placementSection != nullptr) {
        SaveWindowPlacement(placementSection);
    }
    return ModuleChanged();
}

StationCheckResult CModuleConfigDialog::ConfirmModule(ModulePort& port, const ModuleRecord& record) {
    if (port.confirmed) {
        return {};
    }
    StationCheckResult check = CheckStation(port.user.Port(), record, record.iaStation, false);
    port.confirmed = check.Passed();
    return check;
}

// The controls, not the dialog: Escape and the close button still reach it and close it once the job ended.
void CModuleConfigDialog::DisableControls() {
    if (!disabled_.empty()) {
        return;
    }
    focus_ = focusWidget();
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && child->isEnabled()) {
            child->setEnabled(false);
            disabled_.emplace_back(child);
        }
    }
}

void CModuleConfigDialog::RestoreControls() {
    for (const QPointer<QWidget>& child : disabled_) {
        if (child != nullptr) {
            child->setEnabled(true);
        }
    }
    disabled_.clear();
    // The focus had nowhere to stay while everything was disabled: back where it was, or where showing the
    // dialog would have put it.
    if (focus_ != nullptr && focus_->isEnabled()) {
        focus_->setFocus();
    } else if (isVisible() && (focusWidget() == nullptr || !focusWidget()->isEnabled())) {
        focusNextChild();
    }
}

void CModuleConfigDialog::ShowReadFailure(const char* text) {
    ShowMessage(this, ConfigText(text), windowTitle());
}

void CModuleConfigDialog::CloseAfterWrite() {
    CPlacementDialog::accept();
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

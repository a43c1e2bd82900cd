#include "gui/busops/station_number_dlg.h"

#include "core/busops/station_number.h"
#include "gui/app/bus_activity.h"
#include "gui/app/frame_windows.h"
#include "gui/busops/module_at_station.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/string_catalogue.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

CStationNumberDlg::CStationNumberDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CPlacementDialog(owner), context_(context), record_(record) {
    RetranslateTitle();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    previousLabel_ = new QLabel(tr("Previous station number:"), this);
    newLabel_ = new QLabel(tr("&New station number:"), this);
    previous_ = new CEditDWord(this);
    previous_->setReadOnly(true);
    previous_->setFocusPolicy(Qt::NoFocus);
    new_ = new CEditDWord(this);
    new_->SetRange(0, kHighestStation);
    new_->SetMessages(true);
    previous_->SetValue(record_.iaStation);
    new_->SetValue(record_.iaStation);
    newLabel_->setBuddy(new_);
    form->addRow(previousLabel_, previous_);
    form->addRow(newLabel_, new_);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(tr("OK"), this);
    cancel_ = new QPushButton(tr("Cancel"), this);
    ok_->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &CStationNumberDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CStationNumberDlg::reject);
    new_->setFocus();
    new_->selectAll();
    LoadWindowPlacement("Station Number");
}

void CStationNumberDlg::RetranslateTitle() {
    setWindowTitle(ModuleWindowTitle(tr("Change Station Number"), record_));
}

void CStationNumberDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        RetranslateTitle();
    }
    CPlacementDialog::changeEvent(event);
}

CStationNumberDlg::~CStationNumberDlg() {
    SaveWindowPlacement("Station Number");
    if (portUser_.Context() != nullptr) {
        portUser_.Release();
    }
}

bool CStationNumberDlg::SetUp() {
    const ModuleCheck check = CheckStationChange(&record_);
    if (check != ModuleCheck::kOk) {
        ShowMessage(parentWidget(), FindText(TextKind::String, ModuleCheckTextId(check)), windowTitle(),
                    MessageIcon::Warning);
        return false;
    }
    if (!portUser_.Acquire(&context_.portContext)) {
        const QString reason = PortFailureText(context_.portContext);
        ShowMessage(parentWidget(), Text(24640) + QStringLiteral("\n\n") + reason, windowTitle(),
                    MessageIcon::Warning);
        return false;
    }
    return true;
}

int CStationNumberDlg::IsModified() const {
    return new_->GetValue() != record_.iaStation ? 1 : 0;
}

void CStationNumberDlg::accept() {
    if (IsModified() == 0) {
        reject(); // nothing to send
        return;
    }
    const auto station = static_cast<uint8_t>(new_->GetValue());
    const ModuleRecord* holder = context_.busList.FindByStation(station);
    if (holder != nullptr && holder != &record_) {
        // Two modules on one station collide; moving a module there would break both.
        ShowMessage(this,
                    tr("Station %1 is already used by another module of the bus (serial number %2).\nPlease "
                       "choose a free station.")
                        .arg(station)
                        .arg(holder->SerialNo()),
                    windowTitle(), MessageIcon::Warning);
        new_->setFocus();
        new_->selectAll();
        return;
    }
    CPlacementDialog::accept();
}

bool CStationNumberDlg::Apply() {
    BusActivity activity(context_, this, windowTitle());
    if (!activity) {
        activity.ShowRefusal(this);
        return false;
    }
    const PortHandle port = portUser_.Port();
    const uint8_t previous = record_.iaStation;
    const auto station = static_cast<uint8_t>(new_->GetValue());
    if (!CheckModuleAtStation(this, port, record_, previous)) {
        return false;
    }
    // The core refuses a station another module holds and, as command 1 is a broadcast without an answer,
    // saves the move only once the module answers at its new station with its serial number.
    const StationChangeResult result = ApplyStationNumber(port, context_.busList, &record_, station);
    switch (result) {
    case StationChangeResult::kNothingToDo:
        return true;
    case StationChangeResult::kSendFailed:
        ShowMessage(this, Text(24641), windowTitle(), MessageIcon::Warning);
        return false;
    case StationChangeResult::kStationInUse:
        ShowMessage(this, CoreText(StationInUseText(context_.busList, station)), windowTitle(),
                    MessageIcon::Warning);
        return false;
    case StationChangeResult::kInvalidStation:
    case StationChangeResult::kNotConfirmed:
        ShowMessage(this, CoreText(StationChangeText(result)), windowTitle(), MessageIcon::Warning);
        return false;
    case StationChangeResult::kSaveFailed:
        ShowMessage(this,
                    CoreText(StationChangeText(result)) + QStringLiteral("\n") +
                        CoreText(context_.busList.LastFileError().Message()),
                    windowTitle(), MessageIcon::Warning);
        break;
    case StationChangeResult::kDone:
        break;
    }
    previous_->SetValue(station);
    return true;
}

bool RunStationNumberDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    const uint8_t before = record.iaStation;
    CStationNumberDlg dialog(context, owner, record);
    if (!dialog.SetUp()) {
        return false;
    }
    dialog.exec();
    return record.iaStation != before;
}

} // namespace terrix

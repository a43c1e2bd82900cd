#include "gui/busops/station_number_dlg.h"

#include "core/busops/station_number.h"
#include "gui/base/bus_job.h"
#include "gui/base/window_contracts.h"
#include "gui/busops/module_at_station.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/read_only_field.h"
#include "gui/toolkit/string_catalogue.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

CStationNumberDlg::CStationNumberDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CPlacementDialog(owner), context_(context), record_(record),
      port_(std::make_shared<ModulePort>(context.portContext)) {
    RetranslateOnLanguageChange(this, [this] { RetranslateTitle(); });
    RetranslateTitle();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    previousLabel_ = new QLabel(tr("Previous station number:"), this);
    newLabel_ = new QLabel(tr("&New station number:"), this);
    previous_ = new CEditDWord(this);
    MakeShowOnly(previous_);
    new_ = new CEditDWord(this);
    new_->SetRange(0, kHighestStation);
    new_->SetMessages(true);
    previous_->SetValue(record_.iaStation);
    new_->ResetValue(record_.iaStation); // `abc` or 253 shows the module's station again, not 0
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
    SetModuleWindowTitle(this, tr("Change Station Number"), record_);
}

CStationNumberDlg::~CStationNumberDlg() {
    SaveWindowPlacement("Station Number");
}

void CStationNumberDlg::showEvent(QShowEvent* event) {
    CPlacementDialog::showEvent(event);
    if (portRequested_) {
        return;
    }
    portRequested_ = true;
    OpenModulePort(context_, this, port_, Text(24640), ok_);
}

bool CStationNumberDlg::SetUp() {
    const ModuleCheck check = CheckStationChange(&record_);
    if (check != ModuleCheck::kOk) {
        ShowMessage(parentWidget(), FindText(TextKind::String, ModuleCheckTextId(check)), windowTitle(),
                    MessageIcon::Warning);
        return false;
    }
    return true;
}

QString CStationNumberDlg::ChangeQuestion() const {
    return tr("Move %1 from station %2 to station %3?")
        .arg(record_.SerialNo())
        .arg(record_.iaStation)
        .arg(new_->GetValue());
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

struct CStationNumberDlg::Outcome {
    StationCheckResult check;
    StationChangeResult result = StationChangeResult::kSendFailed; // as when the work threw
};

void CStationNumberDlg::StartApply(std::function<void(bool ok)> finished) {
    const auto station = static_cast<uint8_t>(new_->GetValue());
    // The circuit window draws the record meanwhile: the worker moves the module using a copy, and the
    // record changes (and the bus is saved) here, in `done`.
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [port = port_, &list = context_.busList, record = record_, station](BusJobControl&) {
            Outcome outcome;
            outcome.check = CheckStation(port->Port(), record, record.iaStation, true);
            if (outcome.check.Passed()) {
                // The core refuses a station another module holds and, as command 1 is a broadcast
                // without an answer, reports the move only once the module answers at its new station.
                outcome.result = MoveModuleStation(port->Port(), list, record, station);
            }
            return outcome;
        },
        [this, station, finished](Outcome outcome) {
            if (outcome.result == StationChangeResult::kDone) {
                record_.iaStation = station;
                if (!context_.busList.Save()) {
                    outcome.result = StationChangeResult::kSaveFailed;
                }
            }
            finished(ShowOutcome(outcome, station));
        });
    if (!started) {
        finished(false);
    }
}

bool CStationNumberDlg::ShowOutcome(const Outcome& outcome, uint8_t station) {
    if (!ShowStationCheck(this, outcome.check)) {
        return false;
    }
    switch (outcome.result) {
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
        ShowMessage(this, CoreText(StationChangeText(outcome.result)), windowTitle(), MessageIcon::Warning);
        return false;
    case StationChangeResult::kSaveFailed:
        ShowMessage(this,
                    CoreText(StationChangeText(outcome.result)) + QStringLiteral("\n") +
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
    RunModal(dialog);
    return record.iaStation != before;
}

} // namespace terrix

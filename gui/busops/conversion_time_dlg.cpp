#include "gui/busops/conversion_time_dlg.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/busops/conversion_count.h"
#include "core/inventory/record_values.h"
#include "gui/base/bus_job.h"
#include "gui/base/window_contracts.h"
#include "gui/busops/module_at_station.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/read_only_field.h"
#include "gui/toolkit/string_catalogue.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

uint32_t MaxConversionSeconds() {
    uint32_t seconds = SecondsFromCount(kMaxNumberOfMeas);
    while (CountFromSeconds(seconds + 1) <= kMaxNumberOfMeas) {
        ++seconds;
    }
    while (CountFromSeconds(seconds) > kMaxNumberOfMeas) {
        --seconds;
    }
    return seconds;
}

CConversionTimeDlg::CConversionTimeDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CPlacementDialog(owner), context_(context), record_(record),
      port_(std::make_shared<ModulePort>(context.portContext)) {
    RetranslateOnLanguageChange(this, [this] { RetranslateTitle(); });
    RetranslateTitle();
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* heading = new QLabel(tr("Conversion time"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 0, 1, 1, 2);
    auto* previousLabel = new QLabel(tr("Previous value:"), this);
    auto* newLabel = new QLabel(tr("&New value:"), this);
    previous_ = new CEditTTime(this);
    MakeShowOnly(previous_);
    new_ = new CEditTTime(this);
    new_->SetRange(0, MaxConversionSeconds());
    new_->SetMessages(true);
    newLabel->setBuddy(new_);
    const uint32_t seconds = SecondsFromCount(record_.dwNumberOfMeas0);
    previous_->SetValue(std::min<uint32_t>(seconds, 86400));
    new_->SetValue(std::min(seconds, MaxConversionSeconds()));
    count_ = new QLabel(this);
    grid->addWidget(previousLabel, 1, 0);
    grid->addWidget(previous_, 1, 1);
    grid->addWidget(new QLabel(tr("[s]"), this), 1, 2);
    grid->addWidget(newLabel, 2, 0);
    grid->addWidget(new_, 2, 1);
    grid->addWidget(new QLabel(tr("[s]"), this), 2, 2);
    grid->addWidget(count_, 3, 1, 1, 2);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(tr("&Set choosen value"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    ok_->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &CConversionTimeDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CConversionTimeDlg::reject);
    connect(new_, &CEditNumBase::valueEdited, this, &CConversionTimeDlg::UpdateCount);
    connect(new_, &QLineEdit::textChanged, this, &CConversionTimeDlg::UpdateCount);
    UpdateCount();
    new_->setFocus();
    new_->selectAll();
    LoadWindowPlacement("Conversion Time");
}

void CConversionTimeDlg::RetranslateTitle() {
    SetModuleWindowTitle(this, tr("Setting Conversion Time"), record_);
}

CConversionTimeDlg::~CConversionTimeDlg() {
    SaveWindowPlacement("Conversion Time");
}

void CConversionTimeDlg::showEvent(QShowEvent* event) {
    CPlacementDialog::showEvent(event);
    if (!portRequested_) {
        portRequested_ = true;
        OpenModulePort(context_, this, port_, QString(), ok_);
    }
}

uint32_t CConversionTimeDlg::NewCount() const {
    return CountFromSeconds(new_->GetValue());
}

void CConversionTimeDlg::UpdateCount() {
    count_->setText(tr("Corresponds to %1 conversions").arg(NewCount()));
}

bool CConversionTimeDlg::SetUp() {
    if (record_.enModuleState != msIdentified || record_.bIsTavikXV == 0) {
        // Only the XV module converts by a count of measurements.
        ShowMessage(parentWidget(), Text(24638), windowTitle(), MessageIcon::Warning);
        return false;
    }
    return true;
}

int CConversionTimeDlg::IsModified() const {
    return new_->GetValue() != previous_->GetValue() ? 1 : 0;
}

void CConversionTimeDlg::StartApply(std::function<void(bool ok)> finished) {
    struct Outcome {
        StationCheckResult check;
        bool written = false;
        uint16_t busError = 0;
        ModuleRecord record; // the worker's copy, with the new count when written
    };
    const uint32_t seconds = new_->GetValue();
    // The circuit window draws the record meanwhile: the worker changes a copy, written back in `done`.
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [port = port_, record = record_, seconds](BusJobControl&) mutable {
            Outcome outcome;
            outcome.check = CheckStation(port->Port(), record, record.iaStation, true);
            if (outcome.check.Passed()) {
                outcome.written = ApplyConversionTime(port->Port(), record, seconds);
                outcome.busError = LastBusError();
            }
            outcome.record = record;
            return outcome;
        },
        [this, seconds, finished](const Outcome& outcome) {
            if (!ShowStationCheck(this, outcome.check)) {
                finished(false);
                return;
            }
            if (!outcome.written) {
                ShowMessage(this, BusErrorMessage(outcome.busError), windowTitle(), MessageIcon::Warning);
                finished(false);
                return;
            }
            record_.dwNumberOfMeas0 = outcome.record.dwNumberOfMeas0;
            RecomputeMeasChannels(record_);
            record_.dwMeasTime = outcome.record.dwMeasTime;
            previous_->SetValue(seconds);
            finished(true);
        });
    if (!started) {
        finished(false);
    }
}

bool RunConversionTimeDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    const uint32_t before = record.dwNumberOfMeas0;
    CConversionTimeDlg dialog(context, owner, record);
    if (!dialog.SetUp()) {
        return false;
    }
    RunModal(dialog);
    return record.dwNumberOfMeas0 != before;
}

void RegisterModuleBusDialogs(ModuleWindows& windows) {
    windows.changeStationNumber = RunStationNumberDialog;
    windows.changeConversionTime = RunConversionTimeDialog;
}

} // namespace terrix

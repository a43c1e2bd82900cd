#include "gui/busops/conversion_time_dlg.h"

#include "core/bus/commands.h"
#include "core/busops/conversion_count.h"
#include "gui/app/bus_activity.h"
#include "gui/app/frame_windows.h"
#include "gui/busops/module_at_station.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/module_window_title.h"
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
    : CPlacementDialog(owner), context_(context), record_(record) {
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
    previous_->setReadOnly(true);
    previous_->setFocusPolicy(Qt::NoFocus);
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
    setWindowTitle(ModuleWindowTitle(tr("Setting Conversion Time"), record_));
}

void CConversionTimeDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        RetranslateTitle();
    }
    CPlacementDialog::changeEvent(event);
}

CConversionTimeDlg::~CConversionTimeDlg() {
    SaveWindowPlacement("Conversion Time");
    if (portUser_.Context() != nullptr) {
        portUser_.Release();
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
    if (!portUser_.Acquire(&context_.portContext)) {
        ShowMessage(parentWidget(), PortFailureText(context_.portContext), windowTitle(),
                    MessageIcon::Warning);
        return false;
    }
    return true;
}

int CConversionTimeDlg::IsModified() const {
    return new_->GetValue() != previous_->GetValue() ? 1 : 0;
}

bool CConversionTimeDlg::Apply() {
    BusActivity activity(context_, this, windowTitle());
    if (!activity) {
        activity.ShowRefusal(this);
        return false;
    }
    const PortHandle port = portUser_.Port();
    if (!CheckModuleAtStation(this, port, record_, record_.iaStation)) {
        return false;
    }
    if (!ApplyConversionTime(port, record_, new_->GetValue())) {
        ShowMessage(this, LastBusErrorText(), windowTitle(), MessageIcon::Warning);
        return false;
    }
    previous_->SetValue(new_->GetValue());
    return true;
}

bool RunConversionTimeDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    const uint32_t before = record.dwNumberOfMeas0;
    CConversionTimeDlg dialog(context, owner, record);
    if (!dialog.SetUp()) {
        return false;
    }
    dialog.exec();
    return record.dwNumberOfMeas0 != before;
}

void RegisterModuleBusDialogs(ModuleWindows& windows) {
    windows.changeStationNumber = RunStationNumberDialog;
    windows.changeConversionTime = RunConversionTimeDialog;
}

} // namespace terrix

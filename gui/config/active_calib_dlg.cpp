#include "gui/config/active_calib_dlg.h"

#include "core/config/calib_set.h"
#include "core/inventory/module_record.h"
#include "gui/toolkit/edit_byte_spin_ctrl.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

namespace {

constexpr uint8_t kLastPosition = 15;

} // namespace

CActiveCalibDlg::CActiveCalibDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CModuleConfigDialog(context, owner, record) {
    previousLabel_ = new QLabel(this);
    newLabel_ = new QLabel(this);
    previous_ = new CEditByte(this);
    new_ = new CEditByte(this);
    spin_ = new CEditByteSpinCtrl(this);
    for (CEditByte* field : {previous_, new_}) {
        field->SetHex(true);
        field->SetRange(0, kLastPosition);
        field->SetValue(0);
        field->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
        field->setAlignment(Qt::AlignRight);
    }
    previous_->setReadOnly(true);
    previous_->setFocusPolicy(Qt::NoFocus);
    new_->SetMessages(true);
    spin_->SetBuddy(new_);
    previousLabel_->setBuddy(previous_);
    newLabel_->setBuddy(new_);

    auto* grid = new QGridLayout;
    grid->addWidget(previousLabel_, 0, 0);
    grid->addWidget(previous_, 0, 1);
    grid->addWidget(newLabel_, 1, 0);
    auto* newRow = new QHBoxLayout;
    newRow->setSpacing(0);
    newRow->addWidget(new_);
    newRow->addWidget(spin_);
    newRow->addStretch(1);
    grid->addLayout(newRow, 1, 1);
    grid->setColumnStretch(1, 1);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CActiveCalibDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CActiveCalibDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons_);
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
    new_->setFocus();
}

void CActiveCalibDlg::Retranslate() {
    SetModuleWindowTitle(this, tr("Setting Active Calibration"), record_);
    previousLabel_->setText(tr("Previous calibration:"));
    newLabel_->setText(tr("&New calibration:"));
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("Set new calibration"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

void CActiveCalibDlg::ReadModule() {
    RunBusWork([station = record_.iaStation](BusJobControl&,
                                             PortHandle port) { return GetActiveCalib(port, station); },
               [this](std::optional<uint8_t> read) {
                   uint8_t active = read.value_or(255);
                   if (active > kLastPosition) {
                       ShowMessage(this, ConfigText(kMsgActiveCalibReadFailed), windowTitle());
                       active = 0;
                   }
                   previous_->SetValue(active);
                   new_->SetValue(active);
               });
}

int CActiveCalibDlg::IsModified() const {
    return new_->GetValue() != previous_->GetValue() ? 1 : 0;
}

void CActiveCalibDlg::StartApply(std::function<void(bool ok)> finished) {
    const uint8_t position = new_->GetValue();
    const bool started =
        RunBusWork([station = record_.iaStation, position](
                       BusJobControl&, PortHandle port) { return SetActiveCalib(port, station, position); },
                   [this, position, finished](std::optional<bool> set) {
                       if (set.value_or(false)) {
                           // The previous field follows, so that the dialog shows the module as it is now.
                           previous_->SetValue(position);
                           SetModuleChanged();
                       }
                       finished(set.value_or(false));
                   });
    if (!started) {
        finished(false);
    }
}

bool RunActiveCalibDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    return RunModuleConfigDialog<CActiveCalibDlg>(context, owner, record);
}

} // namespace terrix

#include "gui/config/error66_dlg.h"

#include "core/config/error66_limit.h"
#include "core/inventory/module_record.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace terrix {

namespace {

constexpr double kLimitRange = 9999.9; // five digits of tenths of a percent

} // namespace

CError66Dlg::CError66Dlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CModuleConfigDialog(context, owner, record) {
    nowLabel_ = new QLabel(this);
    newLabel_ = new QLabel(this);
    nowField_ = new CEditDouble(this);
    new_ = new CEditDouble(this);
    for (CEditDouble* field : {nowField_, new_}) {
        field->SetRange(-kLimitRange, kLimitRange);
        field->SetValue(0);
        field->setAlignment(Qt::AlignRight);
    }
    nowField_->setReadOnly(true);
    nowField_->setFocusPolicy(Qt::NoFocus);
    new_->SetMessages(true);
    nowLabel_->setBuddy(nowField_);
    newLabel_->setBuddy(new_);

    auto* form = new QFormLayout;
    form->addRow(nowLabel_, nowField_);
    form->addRow(newLabel_, new_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CError66Dlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CError66Dlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons_);
    Retranslate();
    OkButton()->setEnabled(false);
}

QPushButton* CError66Dlg::OkButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

void CError66Dlg::Retranslate() {
    setWindowTitle(ModuleWindowTitle(tr("Change Limit for Error66 Activation"), record_));
    nowLabel_->setText(tr("Now Value (%)"));
    newLabel_->setText(tr("&New Value (%)"));
    OkButton()->setText(tr("Set New Value"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

void CError66Dlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        Retranslate();
    }
    CModuleConfigDialog::changeEvent(event);
}

void CError66Dlg::ReadModule() {
    ConfigMessages messages;
    double percent = 0;
    readOk_ = RunBusWork(
        [&](PortHandle port) { return ReadError66Limit(port, record_.iaStation, percent, messages); });
    ShowConfigMessages(messages);
    now_ = readOk_ ? percent : 0;
    nowField_->SetValue(now_);
    new_->SetValue(now_);
    OkButton()->setEnabled(readOk_);
    new_->setEnabled(readOk_);
}

bool CError66Dlg::WriteLimit() {
    const double percent = new_->GetValue();
    if (!readOk_ || std::fabs(percent - now_) < 1e-9) {
        return false;
    }
    ConfigMessages messages;
    const bool ok = RunBusWork(
        [&](PortHandle port) { return WriteError66Limit(port, record_.iaStation, percent, messages); });
    ShowConfigMessages(messages);
    if (ok) {
        now_ = percent;
    }
    return ok;
}

bool RunError66Dialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    CError66Dlg dialog(context, owner, record);
    if (!dialog.OpenPort()) {
        return false;
    }
    dialog.ReadModule();
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    return dialog.WriteLimit();
}

} // namespace terrix

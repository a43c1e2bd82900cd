#include "gui/config/error66_dlg.h"

#include "core/config/error66_limit.h"
#include "core/inventory/module_record.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
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
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
    OkButton()->setEnabled(false);
}

QPushButton* CError66Dlg::OkButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

void CError66Dlg::Retranslate() {
    SetModuleWindowTitle(this, tr("Change Limit for Error66 Activation"), record_);
    nowLabel_->setText(tr("Now Value (%)"));
    newLabel_->setText(tr("&New Value (%)"));
    OkButton()->setText(tr("Set New Value"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

namespace {

// What a read or write of the limit hands back to the dialog.
struct LimitResult {
    bool ok = false;
    double percent = 0;
    ConfigMessages messages;
};

} // namespace

void CError66Dlg::ReadModule() {
    RunBusWork(
        [station = record_.iaStation](BusJobControl&, PortHandle port) {
            LimitResult read;
            read.ok = ReadError66Limit(port, station, read.percent, read.messages);
            return read;
        },
        [this](std::optional<LimitResult> read) {
            const LimitResult result = read.value_or(LimitResult{});
            ShowConfigMessages(result.messages);
            readOk_ = result.ok;
            now_ = readOk_ ? result.percent : 0;
            nowField_->SetValue(now_);
            new_->SetValue(now_);
            OkButton()->setEnabled(readOk_);
            new_->setEnabled(readOk_);
        });
}

void CError66Dlg::accept() {
    const double percent = new_->GetValue();
    if (!readOk_ || std::fabs(percent - now_) < 1e-9) {
        CModuleConfigDialog::accept(); // nothing to write
        return;
    }
    WriteAndClose(
        [station = record_.iaStation, percent](BusJobControl&, PortHandle port) {
            LimitResult written;
            written.ok = WriteError66Limit(port, station, percent, written.messages);
            return written;
        },
        [this, percent](std::optional<LimitResult> written) {
            const LimitResult result = written.value_or(LimitResult{});
            ShowConfigMessages(result.messages);
            if (result.ok) {
                now_ = percent;
                SetModuleChanged();
            }
        });
}

bool RunError66Dialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    return RunModuleConfigDialog<CError66Dlg>(context, owner, record);
}

} // namespace terrix

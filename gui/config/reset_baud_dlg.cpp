#include "gui/config/reset_baud_dlg.h"

#include "core/config/reset_baud.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

CResetBaudDlg::CResetBaudDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CModuleConfigDialog(context, owner, record) {
    nowLabel_ = new QLabel(this);
    now_ = new QLineEdit(this);
    now_->setReadOnly(true);
    now_->setFocusPolicy(Qt::NoFocus);
    now_->setAlignment(Qt::AlignRight);
    now_->setText(QString::number(ResetBaudRate(record)));
    nowLabel_->setBuddy(now_);
    auto* form = new QFormLayout;
    form->addRow(nowLabel_, now_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CResetBaudDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CResetBaudDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons_);
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
}

void CResetBaudDlg::Retranslate() {
    SetModuleWindowTitle(this, tr("Change Reset Baudrate"), record_);
    nowLabel_->setText(tr("Now Reset Baudrate"));
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("Set Reset Baudrate 9600"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

void CResetBaudDlg::accept() {
    // The work changes a copy of the record; the record itself changes here, on the dialog's thread.
    WriteAndClose(
        [module = record_](BusJobControl&, PortHandle port) mutable {
            return ProgramResetBaudRate(port, module) ? std::optional<StationInfo>(module.stationInfo)
                                                      : std::nullopt;
        },
        [this](std::optional<std::optional<StationInfo>> sent) {
            if (!sent.has_value()) {
                return; // the module check refused and said why
            }
            if (sent->has_value()) {
                record_.stationInfo.wStartupBaud = (*sent)->wStartupBaud;
                SetModuleChanged();
            } else {
                ShowMessage(this, ConfigText(kMsgResetBaudFailed), windowTitle(), MessageIcon::Warning);
            }
            now_->setText(QString::number(ResetBaudRate(record_)));
        });
}

bool RunResetBaudDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    return RunModuleConfigDialog<CResetBaudDlg>(context, owner, record);
}

} // namespace terrix

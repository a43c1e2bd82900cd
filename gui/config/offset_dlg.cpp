#include "gui/config/offset_dlg.h"

#include "core/inventory/module_record.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

namespace {

// The new offset may go a whole change beyond the previous one; the module itself takes less (see Apply).
constexpr double kNewOffsetLimit = 200;

} // namespace

COffsetDlg::COffsetDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CModuleConfigDialog(context, owner, record) {
    previousLabel_ = new QLabel(this);
    newLabel_ = new QLabel(this);
    changeLabel_ = new QLabel(this);
    previous_ = new CEditDouble(this);
    new_ = new CEditDouble(this);
    change_ = new CEditDouble(this);
    previous_->SetRange(-kNewOffsetLimit, kNewOffsetLimit);
    new_->SetRange(-kNewOffsetLimit, kNewOffsetLimit);
    change_->SetRange(OffsetEdit::kMinChange, OffsetEdit::kMaxChange);
    change_->SetStep(OffsetEdit::kStep);
    previous_->setReadOnly(true);
    previous_->setFocusPolicy(Qt::NoFocus);
    for (CEditDouble* field : {previous_, new_, change_}) {
        field->setAlignment(Qt::AlignRight);
        field->SetValue(0);
    }
    new_->SetMessages(true);
    change_->SetMessages(true);
    previousLabel_->setBuddy(previous_);
    newLabel_->setBuddy(new_);
    changeLabel_->setBuddy(change_);
    plus_ = new QPushButton(this);
    minus_ = new QPushButton(this);
    plus_->setAutoDefault(false);
    minus_->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(previousLabel_, 0, 0);
    grid->addWidget(previous_, 0, 1);
    grid->addWidget(newLabel_, 1, 0);
    grid->addWidget(new_, 1, 1);
    grid->addWidget(changeLabel_, 2, 0);
    grid->addWidget(change_, 2, 1);
    grid->addWidget(plus_, 2, 2);
    grid->addWidget(minus_, 2, 3);
    grid->setColumnStretch(1, 1);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &COffsetDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &COffsetDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons_);

    connect(change_, &CEditDouble::valueEdited, this, &COffsetDlg::OnChangeEdited);
    connect(new_, &CEditDouble::valueEdited, this, &COffsetDlg::OnNewEdited);
    connect(plus_, &QPushButton::clicked, this, [this] {
        edit_.StepUp();
        ShowEdit();
    });
    connect(minus_, &QPushButton::clicked, this, [this] {
        edit_.StepDown();
        ShowEdit();
    });
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
    UpdateEnabling();
}

QPushButton* COffsetDlg::OkButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

void COffsetDlg::Retranslate() {
    SetModuleWindowTitle(this, tr("Setting Offset for Calibration"), record_);
    previousLabel_->setText(tr("Previous offset:"));
    newLabel_->setText(tr("New &offset:"));
    changeLabel_->setText(tr("Meas. value changed &by:"));
    plus_->setText(tr("+ 0.1%"));
    minus_->setText(tr("- 0.1%"));
    OkButton()->setText(tr("&Set new offset"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

void COffsetDlg::ReadModule() {
    ReadValue<double>(ReadOffsetPercent, kMsgOffsetReadFailed, [this](std::optional<double> percent) {
        readOk_ = percent.has_value();
        edit_.Start(percent.value_or(0));
        ShowEdit();
        UpdateEnabling();
    });
}

void COffsetDlg::UpdateEnabling() {
    for (QWidget* control :
         {static_cast<QWidget*>(new_), static_cast<QWidget*>(change_), static_cast<QWidget*>(plus_),
          static_cast<QWidget*>(minus_), static_cast<QWidget*>(OkButton())}) {
        control->setEnabled(readOk_);
    }
}

void COffsetDlg::ShowEdit() {
    updating_ = true;
    previous_->SetValue(edit_.Previous());
    new_->SetValue(edit_.NewOffset());
    change_->SetValue(edit_.Change());
    updating_ = false;
}

void COffsetDlg::OnChangeEdited() {
    if (updating_) {
        return;
    }
    if (edit_.SetChange(change_->GetValue())) {
        updating_ = true;
        new_->SetValue(edit_.NewOffset());
        updating_ = false;
    }
}

void COffsetDlg::OnNewEdited() {
    if (updating_) {
        return;
    }
    if (edit_.SetNewOffset(new_->GetValue())) {
        updating_ = true;
        // A change beyond the field's range stays in the edit; the field shows its end.
        const double change = std::clamp(edit_.Change(), OffsetEdit::kMinChange, OffsetEdit::kMaxChange);
        change_->SetValue(change);
        updating_ = false;
    }
}

int COffsetDlg::IsModified() const {
    return readOk_ && edit_.IsModified() ? 1 : 0;
}

void COffsetDlg::StartApply(std::function<void(bool ok)> finished) {
    if (!readOk_) {
        finished(false);
        return;
    }
    const double percent = edit_.NewOffset();
    if (!OffsetPercentEncodes(percent)) {
        ShowMessage(this, tr("The module takes offsets from -99.9 to 99.9 %."), windowTitle(),
                    MessageIcon::Warning);
        finished(false);
        return;
    }
    const bool started = RunBusWork(
        [station = record_.iaStation, percent](BusJobControl&, PortHandle port) {
            return WriteOffsetPercent(port, station, percent);
        },
        [this, percent, finished](std::optional<bool> written) {
            if (written.value_or(false)) {
                edit_.Start(percent);
                ShowEdit();
                SetModuleChanged();
            }
            finished(written.value_or(false));
        });
    if (!started) {
        finished(false);
    }
}

bool RunOffsetDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    return RunModuleConfigDialog<COffsetDlg>(context, owner, record);
}

} // namespace terrix

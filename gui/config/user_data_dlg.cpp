#include "gui/config/user_data_dlg.h"

#include "core/config/user_info.h"
#include "core/inventory/module_record.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace terrix {

CUserDataDlg::CUserDataDlg(QWidget* owner, ModuleRecord& record) : CPlacementDialog(owner), record_(record) {
    placeLabel_ = new QLabel(this);
    commentLabel_ = new QLabel(this);
    place_ = new QLineEdit(this);
    place_->setMaxLength(static_cast<int>(kMaxPlaceChars));
    place_->setText(QString::fromStdString(UserPlaceText(record)));
    comment_ = new QPlainTextEdit(this);
    comment_->setTabChangesFocus(true);
    comment_->setPlainText(QString::fromStdString(UserCommentText(record)));
    placeLabel_->setBuddy(place_);
    commentLabel_->setBuddy(comment_);

    auto* grid = new QGridLayout;
    grid->addWidget(placeLabel_, 0, 0);
    grid->addWidget(place_, 0, 1);
    grid->addWidget(commentLabel_, 1, 0, Qt::AlignTop);
    grid->addWidget(comment_, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CUserDataDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CUserDataDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(buttons_);
    SetResizable(true);
    resize(sizeHint().expandedTo(QSize(460, 260)));

    connect(place_, &QLineEdit::textEdited, this, [this] { SetModified(1); });
    connect(comment_, &QPlainTextEdit::textChanged, this, [this] {
        LimitComment();
        SetModified(1);
    });
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
}

void CUserDataDlg::Retranslate() {
    // "2003 (PX-TAVIK2)" already names the module: only its station is added.
    setWindowTitle(StationWindowTitle(QString::fromStdString(UserInfoTitle(record_)), record_.iaStation));
    placeLabel_->setText(tr("&Place:"));
    commentLabel_->setText(tr("&Comments:"));
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

// The record keeps at most 510 characters; longer text is cut where it is typed or pasted.
void CUserDataDlg::LimitComment() {
    const QString text = comment_->toPlainText();
    if (text.size() <= static_cast<int>(kMaxCommentChars)) {
        return;
    }
    const QSignalBlocker blocker(comment_);
    comment_->setPlainText(text.left(static_cast<int>(kMaxCommentChars)));
    comment_->moveCursor(QTextCursor::End);
}

bool CUserDataDlg::Apply() {
    applied_ = ApplyUserInfo(record_, place_->text().toStdString(), comment_->toPlainText().toStdString());
    return applied_;
}

bool RunUserDataDialog(QWidget* owner, ModuleRecord& record) {
    CUserDataDlg dialog(owner, record);
    dialog.LoadWindowPlacement("UserDataDlg");
    const bool changed = RunModal(dialog) == QDialog::Accepted && dialog.Applied();
    dialog.SaveWindowPlacement("UserDataDlg");
    return changed;
}

} // namespace terrix

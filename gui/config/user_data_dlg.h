#pragma once
// "User Data for Module": the user's place and comment of a module record, kept in its module file. No bus
// work: only the record and the file change.

#include "gui/toolkit/placement_dialog.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace terrix {

struct ModuleRecord;

class CUserDataDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CUserDataDlg(QWidget* owner, ModuleRecord& record);

    bool Apply() override;
    // The texts were stored in the record (OK and the user's Yes).
    bool Applied() const { return applied_; }

    QLineEdit* PlaceField() const { return place_; }
    QPlainTextEdit* CommentField() const { return comment_; }

private:
    void Retranslate();
    void LimitComment();

    ModuleRecord& record_;
    bool applied_ = false;
    QLabel* placeLabel_ = nullptr;
    QLabel* commentLabel_ = nullptr;
    QLineEdit* place_ = nullptr;
    QPlainTextEdit* comment_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

// True when the record was changed.
bool RunUserDataDialog(QWidget* owner, ModuleRecord& record);

} // namespace terrix

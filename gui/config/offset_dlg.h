#pragma once
// "Setting Offset for Calibration": the module's offset in percent, entered either as the new offset or as
// the change of the measured value; the +/- 0.1 % buttons step the change. After a failed read nothing can
// be written: a change would be applied to an offset the dialog never saw.

#include "core/config/offset_adjust.h"
#include "gui/config/module_config_dialog.h"

class QDialogButtonBox;
class QLabel;
class QPushButton;

namespace terrix {

class CEditDouble;

class COffsetDlg : public CModuleConfigDialog {
    Q_OBJECT
public:
    COffsetDlg(BusContext& context, QWidget* owner, ModuleRecord& record);

    bool ReadSucceeded() const { return readOk_; }
    int IsModified() const override;

    const OffsetEdit& Edit() const { return edit_; }
    CEditDouble* PreviousField() const { return previous_; }
    CEditDouble* NewField() const { return new_; }
    CEditDouble* ChangeField() const { return change_; }
    QPushButton* PlusButton() const { return plus_; }
    QPushButton* MinusButton() const { return minus_; }
    QPushButton* OkButton() const;

protected:
    // Reads the offset; on failure says so and shows 0 everywhere, with writing disabled.
    void ReadModule() override;
    // Writes the new offset (OK, after the user's Yes).
    void StartApply(std::function<void(bool ok)> finished) override;

private:
    void Retranslate();
    void ShowEdit();
    void UpdateEnabling();
    void OnChangeEdited();
    void OnNewEdited();

    OffsetEdit edit_;
    bool readOk_ = false;
    bool updating_ = false; // keeps the two fields from updating each other in a circle

    QLabel* previousLabel_ = nullptr;
    QLabel* newLabel_ = nullptr;
    QLabel* changeLabel_ = nullptr;
    CEditDouble* previous_ = nullptr;
    CEditDouble* new_ = nullptr;
    CEditDouble* change_ = nullptr;
    QPushButton* plus_ = nullptr;
    QPushButton* minus_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

bool RunOffsetDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

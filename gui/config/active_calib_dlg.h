#pragma once
// "Setting Active Calibration": which of the 16 calibration switch positions the module uses, shown and
// entered as one hexadecimal digit.

#include "gui/config/module_config_dialog.h"

class QLabel;
class QDialogButtonBox;

namespace terrix {

class CEditByte;
class CEditByteSpinCtrl;

class CActiveCalibDlg : public CModuleConfigDialog {
    Q_OBJECT
public:
    CActiveCalibDlg(BusContext& context, QWidget* owner, ModuleRecord& record);

    int IsModified() const override;

    CEditByte* PreviousField() const { return previous_; }
    CEditByte* NewField() const { return new_; }
    CEditByteSpinCtrl* Spin() const { return spin_; }

protected:
    // Reads the active position (0 when that fails, after saying so).
    void ReadModule() override;
    // Sets the new position (OK, after the user's Yes).
    void StartApply(std::function<void(bool ok)> finished) override;

private:
    void Retranslate();

    QLabel* previousLabel_ = nullptr;
    QLabel* newLabel_ = nullptr;
    CEditByte* previous_ = nullptr;
    CEditByte* new_ = nullptr;
    CEditByteSpinCtrl* spin_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

// The module command: true when the module's active calibration was changed.
bool RunActiveCalibDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

#pragma once
// "Change Limit for Error66 Activation": the measured value in percent below which the XV module raises
// error 66. The dialog reads the limit and collects the new one; OK writes it, and only when it differs
// from the limit read.

#include "gui/config/module_config_dialog.h"

class QDialogButtonBox;
class QLabel;
class QPushButton;

namespace terrix {

class CEditDouble;

class CError66Dlg : public CModuleConfigDialog {
    Q_OBJECT
public:
    CError66Dlg(BusContext& context, QWidget* owner, ModuleRecord& record);

    bool ReadSucceeded() const { return readOk_; }
    // Writes the new limit when it differs from the one read (failures are reported), then closes.
    void accept() override;

    double NowValue() const { return now_; }
    CEditDouble* NewField() const { return new_; }
    QPushButton* OkButton() const;

protected:
    // Reads the limit; the new value starts at it. After a failure (reported) "Set New Value" stays
    // disabled.
    void ReadModule() override;

private:
    void Retranslate();

    bool readOk_ = false;
    double now_ = 0;
    QLabel* nowLabel_ = nullptr;
    QLabel* newLabel_ = nullptr;
    CEditDouble* nowField_ = nullptr;
    CEditDouble* new_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

bool RunError66Dialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

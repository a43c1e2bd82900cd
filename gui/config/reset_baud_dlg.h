#pragma once
// "Change Reset Baudrate": shows the rate the module takes after a reset; OK has every module of the bus
// start at 9600 baud after the next reset (a broadcast, sent on OK before the dialog closes).

#include "gui/config/module_config_dialog.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace terrix {

class CResetBaudDlg : public CModuleConfigDialog {
    Q_OBJECT
public:
    CResetBaudDlg(BusContext& context, QWidget* owner, ModuleRecord& record);

    // Sends the broadcast (when it went out the record says 9600; a failure is reported), then closes.
    void accept() override;

    QLineEdit* NowField() const { return now_; }

private:
    void Retranslate();

    QLabel* nowLabel_ = nullptr;
    QLineEdit* now_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

bool RunResetBaudDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

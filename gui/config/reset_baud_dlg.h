#pragma once
// "Change Reset Baudrate": shows the rate the module takes after a reset; OK has every module of the bus
// start at 9600 baud after the next reset (a broadcast, sent by the caller after OK).

#include "gui/config/module_config_dialog.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace terrix {

class CResetBaudDlg : public CModuleConfigDialog {
    Q_OBJECT
public:
    CResetBaudDlg(BusContext& context, QWidget* owner, ModuleRecord& record);

    // Sends the broadcast; true when it went out (the record then says 9600). A failure is reported.
    bool SendResetBaud();

    QLineEdit* NowField() const { return now_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QLabel* nowLabel_ = nullptr;
    QLineEdit* now_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

bool RunResetBaudDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

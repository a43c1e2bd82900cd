#pragma once
// The measuring circuit window: every module of the bus in one list with its latest value, measuring once or
// in a loop, the stored values of each module, and every per-module command (context menu and buttons).
//
// A thin window over a MeasCircuitController, which holds the rows (its model), the measuring loop, the
// publisher and the rules of each command: the window builds the widgets, asks the user, opens the module
// dialogs and value windows, runs the rescan as a bus job, and shows what the controller reports.

#include "gui/base/window_contracts.h"
#include "gui/circuit/meas_circuit_controller.h"
#include "gui/circuit/value_windows.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/titled_popup_menu.h"

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace terrix {

class CReportListCtrl;

// Registers createCircuitWindow and runCreateCollisions in the frame's table.
void RegisterCircuitWindows(FrameWindows& windows);

class CMeasCircuitDlg : public CPlacementDialog {
    Q_OBJECT
public:
    using Command = MeasCircuitController::Command;

    CMeasCircuitDlg(BusContext& context, QWidget* owner, ModuleWindows windows,
                    MeasLoopOptions loopOptions = {});
    ~CMeasCircuitDlg() override;

    MeasCircuitController& Controller() { return controller_; }
    // The controls a test or the screenshot tour works with as a user would.
    CReportListCtrl* List() const { return list_; }
    QPushButton* SingleButton() const { return singleButton_; }
    QPushButton* LoopButton() const { return loopButton_; }
    QLineEdit* RateEdit() const { return rateEdit_; }
    QAction* MenuAction(int commandId) const;

    // The module menu with the current record as its title, not yet shown (Track shows it, and it deletes
    // itself once closed; a caller that does not show it deletes it).
    CTitledPopupMenu* BuildContextMenu();

    // The commands (also reached through the buttons and the context menu).
    void OnSingleMeas();
    void OnMeasLoop();
    void OnDisplayValues();
    void OnDisplayAll();
    void OnErase();
    void OnEraseAll();
    void OnCopyFiles();
    void OnRescan();
    void OnEditUserInfo();
    void OnActivate();
    void OnRemove();
    void OnStationNumber();
    void OnRecreateAscii();
    void OnResetBaud();
    void OnError66();
    void OnActiveCalib();
    void OnOffset();
    void OnCoefficients();
    void OnConversionTime();
    void OnAppParams();
    void OnHaltState();

    // The folder the copy goes to; a test sets it instead of the folder chooser.
    void SetCopyFolderChooser(std::function<QString(const QString& start)> choose) {
        chooseFolder_ = std::move(choose);
    }

protected:
    void OnInitDialog() override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectController();
    void FitColumns();
    void Retranslate();
    void CreateActions();
    void UpdateCommandStates();
    void ShowOutage();
    void ShowPublishing();
    void ShowContextMenu(const QPoint& viewportPos, bool fromKeyboard);
    void StartMeasuring(CircuitRun run);
    void StopAndRelease();
    // True when `command` may run now; otherwise shows why (when there is something to say).
    bool Allowed(int command);
    // A warning box with `text`; nothing when it is empty.
    void Warn(const QString& text);

    bool EraseRow(int row, bool confirm);
    void RunModuleDialog(int command, const ModuleWindows::ModalDialog& dialog);

    BusContext& context_;
    ModuleWindows windows_;
    MeasCircuitController controller_;
    MeasValueWindows* valueWindows_;
    std::function<QString(const QString&)> chooseFolder_;

    CReportListCtrl* list_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* outageLabel_ = nullptr;
    QLabel* absentLabel_ = nullptr;
    QLabel* publishLabel_ = nullptr;
    QLabel* nextLabel_ = nullptr;
    QLabel* inLabel_ = nullptr;
    QLabel* rateLabel_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    QLineEdit* countdownEdit_ = nullptr;
    QLineEdit* rateEdit_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* loopButton_ = nullptr;
    QPushButton* singleButton_ = nullptr;
    QPushButton* displayButton_ = nullptr;
    QPushButton* eraseButton_ = nullptr;
    QPushButton* displayAllButton_ = nullptr;
    QPushButton* eraseAllButton_ = nullptr;
    QPushButton* offsetButton_ = nullptr;
    QPushButton* coeffButton_ = nullptr;
    QPushButton* convTimeButton_ = nullptr;
    QPushButton* appParamsButton_ = nullptr;
    QPushButton* haltButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    std::vector<QAction*> actions_;
};

} // namespace terrix

#pragma once
// The measuring circuit window: every module of the bus in one list with its latest value, measuring once or
// in a loop, the stored values of each module, and every per-module command (context menu and buttons).
//
// The rows are the measuring loop's slots, one per record of the bus list when the window was set up; only
// this window's own commands change them. While the loop measures, the window holds a BusActivity (the
// frame's bus commands are disabled) and refuses the module commands that need the bus or delete what the
// loop writes.
//
// With a broker in the "[Publish]" section of the settings file, measuring also starts publishing the
// stored records; the publisher goes on sending what waits after the loop stopped, until the window closes.
// A line above the list says whether it is connected and how many records wait.

#include "core/circuit/meas_loop.h"
#include "core/publish/publisher.h"
#include "gui/app/bus_activity.h"
#include "gui/app/frame_windows.h"
#include "gui/app/measuring_status.h"
#include "gui/circuit/circuit_rules.h"
#include "gui/circuit/port_outage_notice.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/queued_adapters.h"

#include <QIcon>
#include <QPointer>

#include <atomic>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace terrix {

class CReportListCtrl;

// Registers createCircuitWindow and runCreateCollisions in the frame's table.
void RegisterCircuitWindows(FrameWindows& windows);

class CMeasCircuitDlg : public CPlacementDialog {
    Q_OBJECT
public:
    // Command numbers of the context menu, then of the buttons that have no menu item.
    enum Command : int {
        ID_DISPLAY_VALUES = 32783,
        ID_EDIT_USER_INFO = 32788,
        ID_ACTIVATE = 32789,
        ID_REMOVE = 32781,
        ID_RESCAN = 32774,
        ID_STATION_NUMBER = 32779,
        ID_RECREATE_ASCII = 32805,
        ID_RESET_BAUD = 32806,
        ID_ERROR66 = 32807,
        ID_ACTIVE_CALIB = 32808,
        ID_DISPLAY_ALL = 1126,
        ID_ERASE = 1123,
        ID_ERASE_ALL = 1125,
        ID_OFFSET = 1115,
        ID_COEFFICIENTS = 1017,
        ID_CONVERSION_TIME = 1018,
        ID_APP_PARAMS = 1028,
        ID_HALT_STATE = 1060,
        ID_COPY_FILES = 1027,
    };
    enum Column {
        kColActive,
        kColStatus,
        kColStation,
        kColSerial,
        kColModule,
        kColPlace,
        kColConvCount,
        kColConvTime,
        kColLastMeas,
        kColSwitch,
        kColValue,
        kColValues,
        kColumnCount
    };

    CMeasCircuitDlg(BusContext& context, QWidget* owner, ModuleWindows windows,
                    MeasLoopOptions loopOptions = {});
    ~CMeasCircuitDlg() override;

    // The controls, for tests and the screenshot tour.
    CReportListCtrl* List() const { return list_; }
    QPushButton* SingleButton() const { return singleButton_; }
    QPushButton* LoopButton() const { return loopButton_; }
    QPushButton* DisplayButton() const { return displayButton_; }
    QPushButton* EraseButton() const { return eraseButton_; }
    QPushButton* DisplayAllButton() const { return displayAllButton_; }
    QPushButton* EraseAllButton() const { return eraseAllButton_; }
    QPushButton* OffsetButton() const { return offsetButton_; }
    QPushButton* CoefficientsButton() const { return coeffButton_; }
    QPushButton* ConversionTimeButton() const { return convTimeButton_; }
    QPushButton* AppParamsButton() const { return appParamsButton_; }
    QPushButton* HaltButton() const { return haltButton_; }
    QPushButton* CopyButton() const { return copyButton_; }
    QLineEdit* RateEdit() const { return rateEdit_; }
    QLineEdit* CountEdit() const { return countEdit_; }
    QLineEdit* CountdownEdit() const { return countdownEdit_; }
    // The line above the list that tells of a lost and a returned port (hidden otherwise).
    QLabel* OutageLabel() const { return outageLabel_; }
    // The publishing line (hidden while nothing is published).
    QLabel* PublishLabel() const { return publishLabel_; }
    const PortOutageNotice& Outage() const { return outage_; }
    QAction* MenuAction(int commandId) const;
    CMeasLoop& Loop() { return loop_; }
    uint32_t ModuleCount() const { return moduleCount_; }
    int CurrentRow() const { return currentRow_; }
    QString MenuTitle() const;
    CircuitRun Running() const { return run_; }
    // The cell text as the list shows it.
    QString CellText(int row, int column) const;

    // The module menu with the current record as its title, not yet shown (the caller deletes it).
    QMenu* BuildContextMenu();

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
    void changeEvent(QEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Carries the loop's reports to this window: each new value with its module's serial number and a copy
    // of the value, so a value for a row that has gone meanwhile finds no row and is dropped.
    class Listener final : public MeasLoopListener {
    public:
        explicit Listener(CMeasCircuitDlg* window) : window_(window), poster_(window) {}
        void SetLoop(CMeasLoop* loop) { loop_ = loop; }
        void OnNewValue(uint32_t slot) override;
        void OnCountdown(uint32_t secondsLeft) override;
        void OnIdle() override;
        void OnStoreFailed(uint32_t slot, const std::string& reason) override;
        void OnPortLost(const std::string& reason) override;
        void OnPortBack(uint32_t gapSeconds) override;

    private:
        CMeasCircuitDlg* window_;
        CMeasLoop* loop_ = nullptr;
        QueuedPoster poster_;
    };

    // Carries the publisher's reports to this window.
    class PublishListener final : public PublisherListener {
    public:
        explicit PublishListener(CMeasCircuitDlg* window) : window_(window), poster_(window) {}
        void OnPublishingWaits(const std::string& /*reason*/) override {} // the status says it
        void OnPublishingResumed() override {}
        void OnPublishProblem(const std::string& text) override;
        void OnPublishStatus(const PublishStatus& status) override;
        // The publisher these reports come from; a report of an earlier one is dropped.
        void SetGeneration(uint64_t generation) { generation_ = generation; }

    private:
        CMeasCircuitDlg* window_;
        QueuedPoster poster_;
        std::atomic<uint64_t> generation_{0};
    };

    struct RowState {
        uint16_t serial = 0;
        RowValueTexts values;
    };
    struct ValueWindow {
        uint16_t serial = 0;
        MeasValueView* view = nullptr;
        QPointer<CPlacementDialog> window;
    };

    void BuildControls();
    void Retranslate();
    void CreateActions();
    void FillList();
    void RefreshIdentity(int row);
    void RefreshStoredValue(int row);
    void UpdateCommandStates();
    void SetCurrentRow(int row);
    ModuleRecord* CurrentRecord() const;
    int RowOfSerial(uint16_t serial) const;
    void ShowContextMenu(const QPoint& viewportPos, bool fromKeyboard);

    void StartMeasuring(CircuitRun run);
    uint32_t SaveRate();
    void OnNewValue(uint16_t serial, std::shared_ptr<CMeasRecord> value);
    void OnCountdown(uint32_t secondsLeft);
    void OnLoopIdle();
    void OnPortLost(const PortOutage& outage, const QDateTime& at);
    void OnPortBack(uint32_t gapSeconds, const QDateTime& at);
    void ShowOutage();
    // Starts publishing when the settings name a broker (again, when they changed since).
    void StartPublishing();
    void StopPublishing();
    void ShowPublishing();
    // Tells the frame what the loop does (only a measuring loop is shown there).
    void ReportLoopStatus(LoopPhase phase, uint32_t secondsLeft = 0);
    void StopAndRelease();

    // Refusals: true (after the message) when the command must not run now.
    bool RefuseWhileMeasuring(int command);
    bool RequireRecord();

    ValueWindow* FindValueWindow(uint16_t serial);
    CPlacementDialog* OpenValueWindow(int row, bool show);
    void CloseValueWindow(uint16_t serial);
    void CloseAllValueWindows();
    void OnValueWindowClosed(QWidget* window);
    bool EraseRow(int row, bool confirm);
    void RunModuleDialog(int command, const ModuleWindows::ModalDialog& dialog, bool xvOnly);

    BusContext& context_;
    ModuleWindows windows_;
    Listener listener_{this};
    CMeasLoop loop_; // after the listener: the loop stops calling before the listener goes
    std::unique_ptr<BusActivity> measuring_;
    CircuitRun run_ = CircuitRun::kIdle;
    uint32_t moduleCount_ = 0;
    int currentRow_ = -1;
    std::vector<RowState> rows_;
    std::vector<ValueWindow> valueWindows_;
    std::function<QString(const QString&)> chooseFolder_;
    bool shutDown_ = false;
    bool storeFailureShown_ = false;
    // While measuring: whether the frame asked the running activity to end (it is closing).
    QTimer* cancelPoll_ = nullptr;
    PortOutageNotice outage_;
    PublishListener publishListener_{this};
    std::unique_ptr<Publisher> publisher_; // after its listener: it stops reporting before the listener goes
    PublishSettings publishSettings_;      // what the running publisher was started with
    uint64_t publishGeneration_ = 0;       // counts the publishers started
    PublishStatus publishStatus_;
    QString publishTrouble_; // settings that cannot be used, or a file problem of the publisher

    CReportListCtrl* list_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* outageLabel_ = nullptr;
    QLabel* publishLabel_ = nullptr;
    QLabel* nextLabel_ = nullptr;
    QLabel* inLabel_ = nullptr;
    QLabel* rateLabel_ = nullptr;
    QLabel* secondsLabel_ = nullptr;
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
    QIcon stateIcons_[6];
    QIcon noConnectionIcon_;
};

} // namespace terrix

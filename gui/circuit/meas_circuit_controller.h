#pragma once
// What the measuring circuit window does, without its widgets: the rows (a MeasCircuitModel over the
// measuring loop's slots), the current row, which commands may run now and why not, measuring once or in
// a loop with what its reports change (values, countdown, a lost port, a full disk), publishing the
// stored records, and the changes of the module list (activate, remove, erase, a dialog's change, a
// rescan's result). The window builds the widgets, asks the user and shows what this object reports.
//
// The rows are the loop's slots, one per record of the bus list when the window was set up; only this
// window's own commands change them. While the loop measures, the controller holds a BusActivity (the
// frame's bus commands are disabled) and refuses the module commands that need the bus or delete what the
// loop writes. While a bus job of the window runs, every command but showing values is refused, because
// the job's result is copied into the bus list when it ends.
//
// With a broker in the "[Publish]" section of the settings file, measuring also starts publishing the
// stored records; the publisher goes on sending what waits after the loop stopped, until Shutdown().

#include "core/busops/identification.h"
#include "core/circuit/meas_loop.h"
#include "core/publish/publisher.h"
#include "gui/base/bus_activity.h"
#include "gui/base/measuring_status.h"
#include "gui/base/window_contracts.h"
#include "gui/busops/module_at_station.h"
#include "gui/circuit/circuit_rules.h"
#include "gui/circuit/meas_circuit_model.h"
#include "gui/circuit/port_outage_notice.h"
#include "gui/toolkit/queued_adapters.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QTimer;

namespace terrix {

class MeasCircuitController final : public QObject {
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

    // Whether a command may run now; a refusal with an empty text is silent (nothing to act on).
    struct Verdict {
        bool allowed = false;
        QString refusal;
    };

    // The publishing line above the list: empty while nothing is published.
    struct PublishLine {
        QString text;
        QString tip;
        bool good = false; // connected and without trouble
    };

    // What a rescan found on its worker thread.
    struct RescanOutcome {
        bool portOpened = false;
        StationCheckResult check;
        bool identified = false;
        ModuleRecord record; // the module as identified again
    };

    // `windows` tells which module dialogs exist (an absent one keeps its command disabled).
    MeasCircuitController(BusContext& context, const ModuleWindows& windows, MeasLoopOptions loopOptions = {},
                          QObject* parent = nullptr);
    ~MeasCircuitController() override;

    MeasCircuitModel* Model() { return &model_; }
    CMeasLoop& Loop() { return loop_; }
    uint32_t ModuleCount() const { return moduleCount_; }

    int CurrentRow() const { return currentRow_; }
    ModuleRecord* CurrentRecord() const;
    void SetCurrentRow(int row);
    // "%u (%s)" of the current record, the title of the module menu.
    QString MenuTitle() const;

    // Which buttons and menu items are usable now.
    CircuitCommands Commands() const;
    // Whether `command` may run now, and what to tell the user when not.
    Verdict Check(int command) const;
    // Set while a bus job of the window runs.
    void SetJobRunning(bool running);

    // ---- measuring
    CircuitRun Running() const { return run_; }
    bool IsMeasuring() const { return loop_.IsMeasuring(); }
    // The rate shown at first: the stored one, at least the loop's minimum interval.
    uint32_t InitialRate() const;
    // Starts one round or the loop at `rateText` seconds (kept in the settings for the next start); while
    // measuring, asks the loop to stop instead. `what` names the activity to whoever the bus refuses
    // meanwhile. Returns what the user must be told: why measuring could not start, or nothing.
    QString StartOrStop(CircuitRun run, const QString& rateText, const QString& what);
    // Stops the loop and the publisher for good and lets go of the records (the window closes).
    void Shutdown();
    bool IsShutDown() const { return shutDown_; }
    const PortOutageNotice& Outage() const { return outage_; }
    // The saved modules the running loop leaves out until they answer (AbsentModulesText), or empty.
    QString AbsentText() const { return AbsentModulesText(absentSerials_); }
    PublishLine Publishing() const;

    // ---- changes of the list (after the window asked what needs asking)
    // (De)activates the current module and saves its file; the message of a failed save, or empty.
    QString ToggleActive();
    // Takes the current module out of the loop and the bus list and saves the bus (the window closed the
    // module's value window first); the message of a failed save, or empty.
    QString RemoveCurrent();
    // After a module dialog changed the record of `row`: saves its file and shows the rows again.
    QString SaveDialogChange(int row);
    // Copies a rescan's result into the record of `row` (which keeps its active switch) and shows the rows
    // again; nothing when the row no longer holds `record`.
    void ApplyRescan(int row, const ModuleRecord* record, const ModuleRecord& fresh);
    // Bus work for a worker thread: the port, the module at the record's station (another module there
    // refuses), then the module identified again, on a copy of the record.
    static RescanOutcome Rescan(ComPortContext& port, ModuleRecord record);

    // ---- stored values
    bool HasStoredValues(int row) const;
    bool AnyStoredValues() const;
    // Erases the stored values of `row`; the message of a failure, or empty.
    QString EraseValues(int row);
    // Whether the current module has a value store whose ASCII file can be written again.
    bool CanRecreateAscii() const;
    // Writes the ASCII file of the current module again from its binary file; false with the reason.
    bool RecreateAscii(QString* error);
    // Copies every module's binary measurement file into `folder`; the report for the user, and whether
    // every file went.
    QString CopyFiles(const QString& folder, bool* allCopied) const;

Q_SIGNALS:
    // The measuring state changed (captions, enabling).
    void runChanged();
    // The current row, the module count or a job changed what the commands allow.
    void commandsChanged();
    void countdownChanged(const QString& text);
    void outageChanged();
    void absentChanged();
    void publishingChanged();
    // The loop measured a value of the module `serial` (its value window follows).
    void newValue(uint16_t serial);
    // A measured value could not be stored (said once per measurement).
    void storeFailed(const QString& text);

private:
    // Carries the loop's reports to the controller: each new value with its module's serial number and a
    // copy of the value, so a value for a row that has gone meanwhile finds no row and is dropped.
    class Listener final : public MeasLoopListener {
    public:
        explicit Listener(MeasCircuitController* owner) : owner_(owner), poster_(owner) {}
        void OnNewValue(uint32_t slot) override;
        void OnCountdown(uint32_t secondsLeft) override;
        void OnIdle() override;
        void OnStoreFailed(uint32_t slot, const std::string& reason) override;
        void OnPortLost(const std::string& reason) override;
        void OnPortBack(uint32_t gapSeconds) override;
        void OnModuleJoined(uint32_t slot) override;

    private:
        MeasCircuitController* owner_;
        QueuedPoster poster_;
    };

    // Carries the publisher's reports; a report of an earlier publisher is dropped.
    class PublishListener final : public PublisherListener {
    public:
        explicit PublishListener(MeasCircuitController* owner) : owner_(owner), poster_(owner) {}
        void OnPublishingWaits(const std::string& /*reason*/) override {} // the status says it
        void OnPublishingResumed() override {}
        void OnPublishProblem(const std::string& text) override;
        void OnPublishStatus(const PublishStatus& status) override;
        void SetGeneration(uint64_t generation) { generation_ = generation; }
        // Nothing more is reported (the publisher stops in the background).
        void Detach() { poster_.Detach(); }

    private:
        MeasCircuitController* owner_;
        QueuedPoster poster_;
        std::atomic<uint64_t> generation_{0};
    };

    void OnNewValue(uint16_t serial, CMeasRecord& value);
    void OnCountdown(uint32_t secondsLeft);
    void OnLoopIdle();
    void OnPortLost(const PortOutage& outage, const QDateTime& at);
    void OnPortBack(uint32_t gapSeconds, const QDateTime& at);
    void OnStoreFailed(const std::string& reason);
    // The modules the loop leaves out, read again (after the start and whenever one joins).
    void UpdateAbsent();
    void OnPublishProblem(const std::string& text);
    void OnPublishStatus(const PublishStatus& status);
    void StartPublishing();
    void StopPublishing();
    // Tells the frame what the loop does (only a measuring loop is shown there).
    void ReportLoopStatus(LoopPhase phase, uint32_t secondsLeft = 0);
    uint32_t SaveRate(const QString& rateText);
    void Reload();

    BusContext& context_;
    CircuitInput available_; // which module dialogs exist
    Listener listener_{this};
    CMeasLoop loop_; // after the listener: the loop stops calling before the listener goes
    MeasCircuitModel model_{loop_};
    std::unique_ptr<BusActivity> measuring_;
    CircuitRun run_ = CircuitRun::kIdle;
    uint32_t moduleCount_ = 0;
    int currentRow_ = -1;
    bool jobRunning_ = false;
    bool shutDown_ = false;
    bool storeFailureShown_ = false;
    QTimer* cancelPoll_ = nullptr; // while measuring: whether the frame asked the activity to end
    PortOutageNotice outage_;
    std::vector<uint16_t> absentSerials_;
    // The listener of the running publisher; it goes with that publisher, which may stop after this object.
    std::shared_ptr<PublishListener> publishListener_;
    std::unique_ptr<Publisher> publisher_;
    PublishSettings publishSettings_; // what the running publisher was started with
    uint64_t publishGeneration_ = 0;  // counts the publishers started
    PublishStatus publishStatus_;
    QString publishTrouble_; // settings that cannot be used, or a file problem of the publisher
};

} // namespace terrix

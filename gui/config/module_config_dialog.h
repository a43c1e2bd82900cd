#pragma once
// The common part of the dialogs that configure one module, and the one way they reach it: Open() opens the
// port (a bus job) and then runs ReadModule(), the dialog's first read (a job), shown in its `done`; every
// further operation (an apply, a write, a reread) goes through RunBusWork (WriteAndClose for a write on
// OK); afterwards ModuleChanged() says whether the dialog changed the module. The bus work runs on a worker
// thread with the dialog's controls disabled meanwhile: a click cannot start a second transaction, and
// closing the dialog waits until the job has ended.
//
// Before the first operation the module answering at the record's station must prove to be the record's
// module (by serial number), or a swapped module would be configured in its place. The dialog keeps the port
// for its lifetime (it closes it again only if it opened it), so once is enough. What the bus work shares
// with the dialog (the port and that check) lives in a shared object; the work gets copies of the rest.

#include "core/config/config_message.h"
#include "core/inventory/bus_context.h"
#include "core/inventory/module_record.h"
#include "gui/base/bus_job.h"
#include "gui/busops/module_at_station.h"
#include "gui/config/config_text.h"
#include "gui/toolkit/placement_dialog.h"

#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace terrix {

class CModuleConfigDialog : public CPlacementDialog {
    Q_OBJECT
public:
    CModuleConfigDialog(BusContext& context, QWidget* owner, ModuleRecord& record);
    ~CModuleConfigDialog() override;

    // Opens the port in a bus job, then runs ReadModule(). False when the bus is taken (the reason has been
    // shown): the dialog is not to be opened. A port that cannot be opened is reported and the first read
    // then fails like any other; a port the measuring loop took meanwhile is reported and closes the dialog.
    bool Open();
    // Open(), then the dialog until it is closed (its placement kept in `placementSection` when given);
    // true when the module was changed.
    bool Run(const char* placementSection = nullptr);

    // The dialog changed the module (a write or an apply that the module took).
    bool ModuleChanged() const { return moduleChanged_; }
    // A bus job of the dialog runs.
    bool Busy() const { return BusJob::Runs(this); }

    // Escape or the close button while the port opens or the module is first read: the dialog closes at
    // once (nothing has been shown or changed yet), the read goes on in the background to its end and what
    // it read is dropped. Later closes wait for the running job, as every window's do: a write's outcome is
    // always shown.
    void reject() override;
    // Deletes a dialog that Run() has ended: now, or once the read it left running has ended.
    static void DeleteWhenIdle(CModuleConfigDialog* dialog);

protected:
    // The first read, once the port is open; none by default.
    virtual void ReadModule() {}
    // The port opened for the dialog (known once Open's job has ended).
    bool PortOpen() const { return portOpen_; }
    void SetModuleChanged() { moduleChanged_ = true; }

    // Runs `work(BusJobControl&, PortHandle)` on a worker thread with the controls disabled, then
    // `done(std::optional<Result>)` on this thread: empty when the module check refused (the reason has been
    // shown). When the dialog was closed before the work began, neither runs. False (nothing runs) when the
    // bus was refused; the reason has been shown.
    template <class Work, class Done> bool RunBusWork(Work work, Done done);
    // The usual first read: `read(port, station, Value&)` fills a value, which `show(std::optional<Value>)`
    // gets; empty after `failedText` was shown (or after the module check refused).
    template <class Value, class Read, class Show>
    void ReadValue(Read read, const char* failedText, Show show);
    // For the dialogs that write after OK: runs the write like RunBusWork and closes the dialog (accepted)
    // after `done`, whether the module took the write or not.
    template <class Work, class Done> void WriteAndClose(Work work, Done done);

    // Shows messages handed back by a core operation (an empty caption takes the dialog's title).
    void ShowConfigMessages(const ConfigMessages& messages);
    void ShowConfigMessage(const ConfigMessage& message);

    BusContext& context_;
    ModuleRecord& record_;

private:
    // Shared by the dialog and the job that runs; only that job uses it meanwhile.
    struct ModulePort {
        explicit ModulePort(ComPortContext* context) : user(context) {}
        PortUser user;
        bool opened = false;    // the dialog opened the port, so it closes it again
        bool confirmed = false; // the module at the station proved to be the record's
    };
    template <class Result> struct WorkOutcome {
        bool ran = false; // false: stopped before the work began
        StationCheckResult check;
        std::optional<Result> result;
    };

    void ShowReadFailure(const char* text);
    void DisableControls();
    void RestoreControls();
    void CloseAfterWrite();
    // Before the first operation: the mild check of the module at the record's station.
    static StationCheckResult ConfirmModule(ModulePort& port, const ModuleRecord& record);

    // The outcome of the running job still counts: false once the dialog closed during its first read.
    bool Heard() const { return !closedDuringRead_; }
    // The job's `done` has run for a dialog that closed during its first read.
    void DroppedOutcome();

    std::shared_ptr<ModulePort> port_;
    bool portOpen_ = false;
    bool moduleChanged_ = false;
    bool firstRead_ = true;         // the port opening and the first read have not ended yet
    bool closedDuringRead_ = false; // closed at once during them; their outcome is dropped
    bool deleteWhenIdle_ = false;
    std::vector<QPointer<QWidget>> disabled_;
    QPointer<QWidget> focus_;
};

template <class Work, class Done> bool CModuleConfigDialog::RunBusWork(Work work, Done done) {
    using Result = std::invoke_result_t<Work&, BusJobControl&, PortHandle>;
    DisableControls();
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [port = port_, record = record_, work = std::move(work)](BusJobControl& job) mutable {
            WorkOutcome<Result> outcome;
            if (job.StopRequested()) {
                return outcome;
            }
            outcome.ran = true;
            outcome.check = ConfirmModule(*port, record);
            if (outcome.check.Passed()) {
                outcome.result = work(job, port->user.Port());
            }
            return outcome;
        },
        [this, done = std::move(done)](WorkOutcome<Result> outcome) mutable {
            if (!Heard()) {
                DroppedOutcome();
                return;
            }
            firstRead_ = false;
            RestoreControls();
            if (outcome.ran) {
                ShowStationCheck(this, outcome.check);
                done(std::move(outcome.result));
            }
        });
    if (!started) {
        RestoreControls();
    }
    return started;
}

template <class Value, class Read, class Show>
void CModuleConfigDialog::ReadValue(Read read, const char* failedText, Show show) {
    RunBusWork(
        [station = record_.iaStation, read](BusJobControl&, PortHandle port) {
            Value value{};
            return read(port, station, value) ? std::optional<Value>(value) : std::nullopt;
        },
        [this, failedText, show](std::optional<std::optional<Value>> result) {
            const std::optional<Value> value = result.value_or(std::nullopt);
            if (!value.has_value()) {
                ShowReadFailure(failedText);
            }
            show(value);
        });
}

template <class Work, class Done> void CModuleConfigDialog::WriteAndClose(Work work, Done done) {
    if (!RunBusWork(std::move(work), [this, done = std::move(done)](auto result) mutable {
            done(std::move(result));
            CloseAfterWrite();
        })) {
        CloseAfterWrite();
    }
}

// Opens a configuration dialog of type Dialog for `record` (see CModuleConfigDialog::Run).
template <class Dialog>
bool RunModuleConfigDialog(BusContext& context, QWidget* owner, ModuleRecord& record,
                           const char* placementSection = nullptr) {
    auto* dialog = new Dialog(context, owner, record);
    const bool changed = dialog->Run(placementSection);
    CModuleConfigDialog::DeleteWhenIdle(dialog);
    return changed;
}

// "station 4 (PX-TAVIK2, serial 4711)" for each module a command for every module left out.
QStringList SkippedModuleNames(const std::vector<const ModuleRecord*>& skipped);

} // namespace terrix

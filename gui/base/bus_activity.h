#pragma once
// One bus operation at a time per bus context. While an activity exists for a context, further activities
// on it are refused (with a text that says why), and the frame disables its bus commands. Windows get theirs
// through BusJob (bus_job.h), which holds one for as long as its work runs on the worker thread; the
// circuit window holds one without an owner for as long as its measuring loop runs.
//
// An activity with an owner window is also that window's WindowOperation: closing the window meanwhile
// asks the activity to stop (CancelRequested, or CancelFlag on the worker thread) and closes the window
// afterwards. Only the user-interface thread creates and ends activities.

#include "core/inventory/bus_context.h"
#include "gui/toolkit/window_operation.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QWidget;

namespace terrix {

class BusActivity {
public:
    // Begins an activity of `owner` (may be null) named `what` (shown to whoever is refused meanwhile),
    // unless another one runs on the context or the measuring loop holds its port.
    BusActivity(BusContext& context, QWidget* owner, QString what);
    ~BusActivity();
    BusActivity(const BusActivity&) = delete;
    BusActivity& operator=(const BusActivity&) = delete;

    bool Granted() const { return granted_; }
    explicit operator bool() const { return granted_; }
    // Why the activity was refused (empty when granted).
    QString RefusalText() const { return refusal_; }
    // Shows RefusalText in a message box.
    void ShowRefusal(QWidget* parent) const;
    // True once somebody asked the running activity to end early (the frame, when it is closed).
    bool CancelRequested() const;
    // The flag behind CancelRequested, for a worker thread that runs the activity's bus work (null when
    // the activity was refused).
    std::shared_ptr<const std::atomic<bool>> CancelFlag() const;

    static bool IsBusy(const BusContext& context);
    // The name of the running activity, or an empty string.
    static QString Running(const BusContext& context);
    // Asks the running activity to end as soon as it can; nothing when none runs.
    static void RequestCancel(const BusContext& context);

private:
    BusContext& context_;
    bool granted_ = false;
    QString refusal_;
    std::unique_ptr<WindowOperation> operation_;
};

// Why bus work must wait while a measuring loop holds the port, and that stopping the loop allows it, in the
// user's language (the core's kBusBusyMeasuringText as shown).
QString BusBusyMeasuringText();

// Tells the frame (and any window that disables its own bus buttons) when a context becomes busy or free.
class BusActivitySignals : public QObject {
    Q_OBJECT
public:
    static BusActivitySignals& Instance();

Q_SIGNALS:
    void busyChanged(terrix::BusContext* context, bool busy);
};

} // namespace terrix

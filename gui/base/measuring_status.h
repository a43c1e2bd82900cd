#pragma once
// What a running measuring loop tells the rest of the program: whether it measures, waits for its next
// round or for its lost port, and when the next round (or the next try of the port) is due. The circuit
// window reports here; the main frame shows it in its status bar, so it stays visible with the circuit
// window minimised. Only the user-interface thread uses this class.

#include "core/inventory/bus_context.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <map>

namespace terrix {

enum class LoopPhase {
    kIdle,      // no measuring loop runs
    kMeasuring, // a round runs now
    kWaiting,   // waiting for the next round at `due`
    kPortLost,  // the port's device has gone; the next try is at `due`
};

struct LoopStatus {
    LoopPhase phase = LoopPhase::kIdle;
    QDateTime due;
};

class MeasuringStatus : public QObject {
    Q_OBJECT
public:
    static MeasuringStatus& Instance();

    // Reports the loop of `context`; `changed` follows when something a reader sees is different.
    void Set(const BusContext* context, LoopStatus status);
    LoopStatus Get(const BusContext* context) const;
    // The status of `context`'s loop, or, when that is idle, of any other running loop.
    LoopStatus Shown(const BusContext* context) const;

Q_SIGNALS:
    void changed(const terrix::BusContext* context);

private:
    std::map<const BusContext*, LoopStatus> status_;
};

// The status bar text of a loop's state in the current language; empty when no loop runs.
QString LoopStatusText(const LoopStatus& status);

// The question before a window closes while a loop measures.
QString StopMeasuringQuestion();

} // namespace terrix

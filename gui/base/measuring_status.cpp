#include "gui/base/measuring_status.h"

#include <QCoreApplication>

namespace terrix {

MeasuringStatus& MeasuringStatus::Instance() {
    static MeasuringStatus instance;
    return instance;
}

void MeasuringStatus::Set(const BusContext* context, LoopStatus status) {
    if (status.phase == LoopPhase::kIdle || status.phase == LoopPhase::kMeasuring) {
        status.due = QDateTime(); // only a wait has a due time
    }
    const LoopStatus before = Get(context);
    if (before.phase == status.phase && before.due == status.due) {
        return;
    }
    if (status.phase == LoopPhase::kIdle) {
        status_.erase(context);
    } else {
        status_[context] = status;
    }
    Q_EMIT changed(context);
}

LoopStatus MeasuringStatus::Get(const BusContext* context) const {
    const auto it = status_.find(context);
    return it == status_.end() ? LoopStatus{} : it->second;
}

LoopStatus MeasuringStatus::Shown(const BusContext* context) const {
    const LoopStatus own = Get(context);
    return own.phase != LoopPhase::kIdle || status_.empty() ? own : status_.begin()->second;
}

QString LoopStatusText(const LoopStatus& status) {
    const QString due = status.due.time().toString(QStringLiteral("HH:mm:ss"));
    switch (status.phase) {
    case LoopPhase::kMeasuring:
        return QCoreApplication::translate("MeasuringStatus", "Measuring loop running: measuring now");
    case LoopPhase::kWaiting:
        return QCoreApplication::translate("MeasuringStatus", "Measuring loop running: next round at %1")
            .arg(due);
    case LoopPhase::kPortLost:
        return QCoreApplication::translate("MeasuringStatus",
                                           "Measuring loop without its port: next try at %1")
            .arg(due);
    case LoopPhase::kIdle:
        break;
    }
    return {};
}

QString StopMeasuringQuestion() {
    return QCoreApplication::translate("MeasuringStatus", "Measuring is running. Stop measuring and close?");
}

} // namespace terrix

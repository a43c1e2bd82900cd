#include "gui/circuit/port_outage_notice.h"

#include "core/measure/time_stamp.h"
#include "gui/circuit/circuit_rules.h"

#include <QCoreApplication>
#include <QStringList>

namespace terrix {

namespace {

QString When(const QDateTime& at) {
    return at.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

} // namespace

QString AbsentModulesText(const std::vector<uint16_t>& serials) {
    if (serials.empty()) {
        return {};
    }
    QStringList numbers;
    for (const uint16_t serial : serials) {
        numbers << QString::number(serial);
    }
    return QCoreApplication::translate("PortOutageNotice",
                                       "Not answering, so not measured: %1. They are asked again every %2 "
                                       "minutes and measured as soon as they answer.")
        .arg(numbers.join(QStringLiteral(", ")))
        .arg(kAbsentRetrySeconds / 60);
}

void PortOutageNotice::Lost(const PortOutage& outage, const QDateTime& at) {
    state_ = State::kLost;
    outage_ = outage;
    lostAt_ = at;
}

void PortOutageNotice::Back(uint32_t gapSeconds, const QDateTime& at) {
    if (state_ != State::kLost) {
        return;
    }
    state_ = State::kBack;
    gapSeconds_ = gapSeconds;
    backAt_ = at;
}

QString PortOutageNotice::Text() const {
    const QString device = QString::fromStdString(outage_.device);
    switch (state_) {
    case State::kLost: {
        const QString last =
            outage_.lastStoredStamp != 0
                ? QString::fromStdString(StampText(outage_.lastStoredStamp))
                : QCoreApplication::translate("PortOutageNotice", "none in this measurement");
        return QCoreApplication::translate(
                   "PortOutageNotice",
                   "Connection to %1 lost at %2. Last stored values: %3. The port is tried every %4 s; "
                   "measuring goes on by itself when the device answers again.")
            .arg(device, When(lostAt_), last)
            .arg(outage_.retrySeconds);
    }
    case State::kBack:
        return QCoreApplication::translate("PortOutageNotice",
                                           "Connection to %1 back at %2 after a gap of %3 (since %4); "
                                           "measuring goes on.")
            .arg(device, When(backAt_), QString::fromStdString(FormatCountdown(gapSeconds_)), When(lostAt_));
    case State::kNone:
        break;
    }
    return {};
}

} // namespace terrix

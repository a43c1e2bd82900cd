#include "gui/base/bus_activity.h"

#include "gui/toolkit/message_box.h"

#include <QCoreApplication>

#include <atomic>
#include <map>

namespace terrix {

namespace {

struct RunningEntry {
    QString what;
    // Shared with the activity's worker thread, which polls it at its safe points.
    std::shared_ptr<std::atomic<bool>> cancel;
};

// User-interface thread only, like the contexts' windows.
std::map<const BusContext*, RunningEntry>& RunningActivities() {
    static std::map<const BusContext*, RunningEntry> running;
    return running;
}

} // namespace

QString BusBusyMeasuringText() {
    return QCoreApplication::translate(
        "terrix::BusActivity", "The measuring loop is using the bus, so bus commands must wait.\nStop "
                               "the measuring loop in the measuring circuit window, then try again.");
}

BusActivity::BusActivity(BusContext& context, QWidget* owner, QString what) : context_(context) {
    // The measuring loop first: it holds the port until it is stopped, so "wait until it has finished"
    // would never come true.
    if (PortUser::IsReserved(context.portContext)) {
        refusal_ = BusBusyMeasuringText();
        return;
    }
    auto& running = RunningActivities();
    if (const auto it = running.find(&context); it != running.end()) {
        refusal_ = QCoreApplication::translate("terrix::BusActivity",
                                               "The bus is busy (%1).\nPlease wait until that has finished.")
                       .arg(it->second.what);
        return;
    }
    running.emplace(&context, RunningEntry{std::move(what), std::make_shared<std::atomic<bool>>(false)});
    granted_ = true;
    if (owner != nullptr) {
        BusContext* busContext = &context;
        operation_ = std::make_unique<WindowOperation>(owner, [busContext] { RequestCancel(*busContext); });
    }
    Q_EMIT BusActivitySignals::Instance().busyChanged(&context_, true);
}

BusActivity::~BusActivity() {
    if (!granted_) {
        return;
    }
    operation_.reset();
    RunningActivities().erase(&context_);
    Q_EMIT BusActivitySignals::Instance().busyChanged(&context_, false);
}

void BusActivity::ShowRefusal(QWidget* parent) const {
    if (!granted_) {
        ShowMessage(parent, refusal_, QString(), MessageIcon::Warning);
    }
}

bool BusActivity::CancelRequested() const {
    const auto it = RunningActivities().find(&context_);
    return granted_ && it != RunningActivities().end() && it->second.cancel->load();
}

std::shared_ptr<const std::atomic<bool>> BusActivity::CancelFlag() const {
    const auto it = RunningActivities().find(&context_);
    return granted_ && it != RunningActivities().end() ? it->second.cancel : nullptr;
}

bool BusActivity::IsBusy(const BusContext& context) {
    return RunningActivities().count(&context) != 0;
}

QString BusActivity::Running(const BusContext& context) {
    const auto it = RunningActivities().find(&context);
    return it != RunningActivities().end() ? it->second.what : QString();
}

void BusActivity::RequestCancel(const BusContext& context) {
    if (const auto it = RunningActivities().find(&context); it != RunningActivities().end()) {
        it->second.cancel->store(true);
    }
}

BusActivitySignals& BusActivitySignals::Instance() {
    static BusActivitySignals instance;
    return instance;
}

} // namespace terrix

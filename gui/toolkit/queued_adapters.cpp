#include "gui/toolkit/queued_adapters.h"

namespace terrix {

QueuedPoster::QueuedPoster(QObject* receiver) : receiver_(receiver) {
    if (receiver_ != nullptr) {
        // Runs in the receiver's destructor, before Qt discards the calls still queued for it; from then on
        // nothing is posted to it.
        destroyed_ = QObject::connect(receiver_, &QObject::destroyed, [this] { Detach(); });
    }
}

QueuedPoster::~QueuedPoster() {
    QObject::disconnect(destroyed_);
    Detach();
}

void QueuedPoster::Post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    if (receiver_ != nullptr) {
        QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
    }
}

void QueuedPoster::Detach() {
    std::lock_guard lock(mutex_);
    receiver_ = nullptr;
}

QueuedBusTraceObserver::QueuedBusTraceObserver(QObject* receiver,
                                               std::function<void(const BusTraceEvent&)> onFrame)
    : onFrame_(std::make_shared<const std::function<void(const BusTraceEvent&)>>(std::move(onFrame))),
      poster_(receiver) {}

QueuedBusTraceObserver::~QueuedBusTraceObserver() {
    Uninstall();
}

void QueuedBusTraceObserver::Install() {
    SetBusTraceObserver(this);
    installed_ = true;
}

void QueuedBusTraceObserver::Uninstall() {
    if (installed_) {
        // Takes the bus trace's lock: a frame being reported on another thread is finished first.
        SetBusTraceObserver(nullptr);
        installed_ = false;
    }
}

void QueuedBusTraceObserver::OnFrame(const BusTraceEvent& event) {
    if (*onFrame_) {
        poster_.Post([f = onFrame_, copy = event] { (*f)(copy); });
    }
}

} // namespace terrix

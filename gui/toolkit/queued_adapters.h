#pragma once
// Adapters that carry calls from another thread (the measuring loop's timer thread, or whichever thread
// runs a bus transaction) to a window on the user-interface thread. Each call becomes a queued call bound to
// the receiving window: it runs later on the window's thread, and a call still queued when the window is
// deleted is dropped, never delivered to freed memory.
//
// A listener that posts through a QueuedPoster is declared before what calls it (members go in reverse
// order, so the caller, e.g. the measuring loop, is shut down and stops calling before the poster goes).

#include "core/bus/bus_trace.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace terrix {

// Posts functions to a receiver until it is deleted or Detach is called; safe to use from any thread.
class QueuedPoster {
public:
    explicit QueuedPoster(QObject* receiver);
    ~QueuedPoster();
    QueuedPoster(const QueuedPoster&) = delete;
    QueuedPoster& operator=(const QueuedPoster&) = delete;

    // Runs `call` later on the receiver's thread; nothing once the receiver is gone or detached.
    void Post(std::function<void()> call);
    // No call is posted after this returns (calls already queued still run while the receiver lives).
    void Detach();

private:
    std::mutex mutex_;
    QObject* receiver_;
    QMetaObject::Connection destroyed_;
};

// Receives every bus frame while installed (one observer at a time, process-wide) and hands a copy to
// `onFrame` on the receiver's thread. Uninstalled when destroyed.
class QueuedBusTraceObserver final : public BusTraceObserver {
public:
    QueuedBusTraceObserver(QObject* receiver, std::function<void(const BusTraceEvent&)> onFrame);
    ~QueuedBusTraceObserver() override;

    void Install();
    // Returns once no call of the bus is inside OnFrame any more.
    void Uninstall();
    bool IsInstalled() const { return installed_; }

    void OnFrame(const BusTraceEvent& event) override;

private:
    std::shared_ptr<const std::function<void(const BusTraceEvent&)>> onFrame_;
    QueuedPoster poster_;
    bool installed_ = false;
};

} // namespace terrix

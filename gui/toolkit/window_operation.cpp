#include "gui/toolkit/window_operation.h"

#include <QCoreApplication>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace terrix {

namespace {

bool g_everythingCloses = false;

struct Running {
    const WindowOperation* operation;
    QPointer<QWidget> window;
    std::function<void()> requestStop;
    std::function<void()> end;
};

struct PendingClose {
    QPointer<QWidget> window;
    std::function<void()> close;
};

std::vector<Running>& RunningOperations() {
    static std::vector<Running> running;
    return running;
}

std::vector<PendingClose>& PendingCloses() {
    static std::vector<PendingClose> pending;
    return pending;
}

// `inner` is `outer` or lies inside it, across window boundaries (a dialog's parent is its owner window).
bool Contains(const QWidget* outer, const QWidget* inner) {
    for (const QWidget* w = inner; w != nullptr; w = w->parentWidget()) {
        if (w == outer) {
            return true;
        }
    }
    return false;
}

// Closes every window that waited for its operations and has none left. Runs queued: the operation that
// ended may still have callers on the stack that use the window.
void ClosePendingWindows() {
    auto& pending = PendingCloses();
    std::vector<PendingClose> due;
    for (auto it = pending.begin(); it != pending.end();) {
        if (it->window.isNull()) {
            it = pending.erase(it);
        } else if (!WindowOperation::Runs(it->window)) {
            due.push_back(std::move(*it));
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    for (PendingClose& entry : due) {
        if (!entry.window.isNull()) {
            entry.close();
        }
    }
}

} // namespace

WindowOperation::WindowOperation(QWidget* window, std::function<void()> requestStop,
                                 std::function<void()> end) {
    RunningOperations().push_back(Running{this, window, std::move(requestStop), std::move(end)});
    // Opened inside a window that is already closing (a dialog started before the close was seen): stop at
    // once, the window waits for this operation too.
    if (ClosingAround(window) && RunningOperations().back().requestStop) {
        RunningOperations().back().requestStop();
    }
}

WindowOperation::~WindowOperation() {
    auto& running = RunningOperations();
    running.erase(std::remove_if(running.begin(), running.end(),
                                 [this](const Running& r) { return r.operation == this; }),
                  running.end());
    if (!PendingCloses().empty()) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &ClosePendingWindows, Qt::QueuedConnection);
    }
}

bool WindowOperation::Runs(const QWidget* window) {
    const auto& running = RunningOperations();
    return std::any_of(running.begin(), running.end(), [window](const Running& r) {
        return !r.window.isNull() && Contains(window, r.window);
    });
}

bool WindowOperation::ClosingAround(const QWidget* widget) {
    if (g_everythingCloses) {
        return true;
    }
    const auto& pending = PendingCloses();
    return std::any_of(pending.begin(), pending.end(), [widget](const PendingClose& p) {
        return !p.window.isNull() && Contains(p.window, widget);
    });
}

void WindowOperation::CloseEverything(bool everything) {
    g_everythingCloses = everything;
}

bool WindowOperation::EverythingCloses() {
    return g_everythingCloses;
}

bool WindowOperation::DeferClose(QWidget* window, std::function<void()> close) {
    if (!Runs(window)) {
        return false;
    }
    auto& pending = PendingCloses();
    const bool known = std::any_of(pending.begin(), pending.end(),
                                   [window](const PendingClose& p) { return p.window == window; });
    if (!known) {
        pending.push_back(PendingClose{window, std::move(close)});
    }
    // Copied first: a stop request may end an operation and so change the list. Newest first, so that the
    // modal window in front closes before the one it was opened from.
    std::vector<std::function<void()>> stops;
    const auto& running = RunningOperations();
    for (auto r = running.rbegin(); r != running.rend(); ++r) {
        if (!r->window.isNull() && Contains(window, r->window) && r->requestStop) {
            stops.push_back(r->requestStop);
        }
    }
    for (const auto& stop : stops) {
        stop();
    }
    return true;
}

void WindowOperation::EndAll(const QWidget* window) {
    // Copied first: ending an operation removes it from the list.
    std::vector<std::function<void()>> ends;
    for (const Running& r : RunningOperations()) {
        if (r.window == window && r.end) {
            ends.push_back(r.end);
        }
    }
    for (const auto& end : ends) {
        end();
    }
}

} // namespace terrix

#pragma once
// Work that a window owns and that is still running: its code on the stack below an event loop (a bus
// wait, a modal dialog it runs) or a job it started. Deleting the window meanwhile would pull the objects
// that work uses from under it, so closing a window (or a window that contains it) while one of its
// operations runs only asks the operations to stop; the window closes once the last of them has ended.
//
// A modal window is such an operation of the window that opened it (RunModal registers it and closes the
// modal window when asked to stop); a window registers the work it runs below one itself:
//
//     WindowOperation operation(this);        // for as long as the dialog runs
//     CSomeDlg dialog(context_, this, record);
//     RunModal(dialog);
//
// User-interface thread only.

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace terrix {

class WindowOperation {
public:
    // `window` owns the operation; `requestStop` (may be empty) asks the work to end at its next safe point;
    // `end` (may be empty) stops it and returns once it has ended, for a window deleted under it.
    explicit WindowOperation(QWidget* window, std::function<void()> requestStop = {},
                             std::function<void()> end = {});
    ~WindowOperation();
    WindowOperation(const WindowOperation&) = delete;
    WindowOperation& operator=(const WindowOperation&) = delete;

    // True while an operation of `window`, or of a window inside it (its child windows at any depth), runs.
    static bool Runs(const QWidget* window);
    // True when `widget` or a window around it is waiting to close, or everything closes: a dialog it would
    // open now is refused and a question it would ask is not asked.
    static bool ClosingAround(const QWidget* widget);
    // The session ends (true): from now on every window closes without asking anything.
    static void CloseEverything(bool everything);
    static bool EverythingCloses();

    // When operations of `window` run: asks them to stop, remembers that the window is closing and calls
    // `close` (queued, after the stack has unwound) once none runs any more; returns true. Otherwise returns
    // false and the caller closes the window now.
    static bool DeferClose(QWidget* window, std::function<void()> close);
    // Ends the operations of `window` that can be ended from outside (a window that is being deleted).
    static void EndAll(const QWidget* window);
};

} // namespace terrix

#include "gui/base/session_end.h"
#include "gui/base/session_end_os.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <windows.h>

namespace terrix::session_os {

namespace {

// Windows ends a session in two steps. WM_QUERYENDSESSION asks each program; Qt answers it with the session
// manager's commit request, which begins the end here (SessionEnd::Begin) and lets the session end.
// WM_ENDSESSION then says that it ends: once a program returns from it, Windows may stop the process at any
// moment. So that a running measurement still ends after its current module with whole records, as on
// SIGTERM, the first WM_ENDSESSION is held until the main window has closed, its work included. Windows
// shows the reason registered here meanwhile, and lets the user cut it short.
class EndSessionFilter final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
        if (eventType != "windows_generic_MSG") {
            return false;
        }
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_QUERYENDSESSION) {
            ExplainWait();
        } else if (msg->message == WM_ENDSESSION && msg->wParam != 0 && !held_) {
            held_ = true;
            SessionEnd::Begin(); // also when the commit request was not seen (a forced shutdown)
            WaitForMainWindow();
            if (reasonWindow_ != nullptr) {
                ::ShutdownBlockReasonDestroy(reasonWindow_);
                reasonWindow_ = nullptr;
            }
            *result = 0;
            return false; // Qt's own handling follows (aboutToQuit)
        }
        return false;
    }

private:
    void ExplainWait() {
        QWidget* main = SessionEnd::MainWindow();
        if (main == nullptr || reasonWindow_ != nullptr) {
            return;
        }
        reasonWindow_ = reinterpret_cast<HWND>(main->winId());
        const QString reason = QCoreApplication::translate(
            "SessionEnd", "Terrix ends the running work: a measurement stops after the current module.");
        ::ShutdownBlockReasonCreate(reasonWindow_, reinterpret_cast<const wchar_t*>(reason.utf16()));
    }

    // The frame stays open while an operation runs and closes once it has ended (the end of the program
    // ends this loop as well).
    static void WaitForMainWindow() {
        const auto closed = [] {
            const QWidget* main = SessionEnd::MainWindow();
            return main == nullptr || !main->isVisible();
        };
        if (closed()) {
            return;
        }
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (closed()) {
                loop.quit();
            }
        });
        poll.start(50);
        loop.exec();
    }

    bool held_ = false;
    HWND reasonWindow_ = nullptr;
};

} // namespace

void Hook(QWidget* /*mainWindow*/) {
    static EndSessionFilter filter;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
}

} // namespace terrix::session_os

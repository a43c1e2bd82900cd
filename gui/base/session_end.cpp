#include "gui/base/session_end.h"

#include "gui/base/session_end_os.h"
#include "gui/toolkit/window_operation.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>
#include <QTimer>
#include <QWidget>

namespace terrix {

namespace {

bool g_ending = false;
QPointer<QWidget> g_mainWindow;

} // namespace

void SessionEnd::Install(QWidget* mainWindow) {
    g_mainWindow = mainWindow;
    g_ending = false; // a new main window is a new session
    WindowOperation::CloseEverything(false);
    static bool hooked = false;
    if (hooked) {
        return;
    }
    hooked = true;
    session_os::Hook(mainWindow);
    // Logging out: the session manager asks first; nothing may wait for an answer then.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::commitDataRequest, mainWindow,
                         [](QSessionManager&) { Begin(); });
    }
}

bool SessionEnd::Ending() {
    return g_ending;
}

QWidget* SessionEnd::MainWindow() {
    return g_mainWindow.data();
}

void SessionEnd::Begin() {
    const bool first = !g_ending;
    g_ending = true;
    WindowOperation::CloseEverything(true);
    if (g_mainWindow == nullptr) {
        return;
    }
    const auto closeMain = [] {
        if (g_mainWindow != nullptr && g_mainWindow->isVisible()) {
            g_mainWindow->close();
        }
    };
    // From the event loop, not from inside whatever handler got here. Closing closes the modal windows
    // from the top down and waits for the running work; it is said again each second, so that whatever
    // that work opened at its end (a message about the cancelled operation) closes too.
    QTimer::singleShot(0, g_mainWindow.data(), closeMain);
    if (first) {
        auto* again = new QTimer(g_mainWindow.data());
        QObject::connect(again, &QTimer::timeout, again, closeMain);
        again->start(1000);
    }
}

} // namespace terrix

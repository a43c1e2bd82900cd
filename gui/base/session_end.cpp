#include "gui/base/session_end.h"

#include "gui/toolkit/window_operation.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace terrix {

namespace {

bool g_ending = false;
QPointer<QWidget> g_mainWindow;
int g_pipe[2] = {-1, -1};

extern "C" void OnSessionSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1); // a full pipe already has a wake-up
}

} // namespace

void SessionEnd::Install(QWidget* mainWindow) {
    g_mainWindow = mainWindow;
    g_ending = false; // a new main window is a new session
    WindowOperation::CloseEverything(false);
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        Begin();
    });
    struct sigaction action {};
    action.sa_handler = OnSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        sigaction(signal, &action, nullptr);
    }
    // Logging out: the session manager asks first; nothing may wait for an answer then.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::commitDataRequest, mainWindow,
                         [](QSessionManager&) { Begin(); });
    }
}

bool SessionEnd::Ending() {
    return g_ending;
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

#include "gui/base/session_end.h"

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
    g_ending = true;
    if (g_mainWindow != nullptr) {
        // From the event loop, not from inside whatever handler got here.
        QTimer::singleShot(0, g_mainWindow.data(), [] {
            if (g_mainWindow != nullptr) {
                g_mainWindow->close();
            }
        });
    }
}

} // namespace terrix

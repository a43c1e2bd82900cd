#include "gui/base/session_end.h"
#include "gui/base/session_end_os.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace terrix::session_os {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnSessionSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1); // a full pipe already has a wake-up
}

} // namespace

// SIGTERM, SIGHUP and Ctrl+C on the terminal reach the event loop through a pipe (a signal handler may do
// nothing else).
void Hook(QWidget* mainWindow) {
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        SessionEnd::Begin();
    });
    struct sigaction action {};
    action.sa_handler = OnSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        sigaction(signal, &action, nullptr);
    }
}

} // namespace terrix::session_os

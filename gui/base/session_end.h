#pragma once
// The end of the session (logout, shutdown, SIGTERM, SIGHUP, Ctrl+C on the terminal) closes the main window
// without any question: a running measurement stops after its current module, its files keep whole
// records, and the program ends. The session manager's commit request starts it on every system; the
// system's own notices (signals, Windows' end-of-session messages) are caught in session_end_*.cpp.

class QWidget;

namespace terrix {

class SessionEnd {
public:
    // Closes `mainWindow` when the session ends; a session begins with it. The signals are caught once.
    static void Install(QWidget* mainWindow);
    // True once the session is ending: windows close without asking.
    static bool Ending();
    // The main window of the session; nullptr once it is gone.
    static QWidget* MainWindow();
    // Marks the session as ending and closes the main window (what a signal leads to).
    static void Begin();
};

} // namespace terrix

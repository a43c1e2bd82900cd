#pragma once
// The system's half of session_end.cpp (session_end_posix.cpp, session_end_win.cpp): how the end of the
// session reaches SessionEnd::Begin() besides the session manager's commit request.

class QWidget;

namespace terrix::session_os {

// Catches the system's own notices of the session's end for the process (once; later calls only follow
// the new main window).
void Hook(QWidget* mainWindow);

} // namespace terrix::session_os

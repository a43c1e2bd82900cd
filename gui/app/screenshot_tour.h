#pragma once
// A short scripted walk through the main frame, its Bus menu and the about box, in English and in German,
// saving a screenshot of each step into a folder. Run by `terrix --screenshots <dir>` on an X server (the
// screenshot test uses Xvfb); the program ends when the tour is done, with status 0 when every picture was
// saved.

#include <QString>

namespace terrix {

class CMainFrame;

void StartScreenshotTour(CMainFrame* frame, const QString& directory);

} // namespace terrix

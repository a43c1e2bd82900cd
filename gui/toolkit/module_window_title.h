#pragma once
// The title of a window that acts on one module: the window's own text, then the module's serial number and
// station, so that two probes of the same type can be told apart ("Change Reset Baudrate – 2001 (station
// 3)"). Windows build it again on a language change, like their other texts.
//
// Window managers cut a title that is wider than its window, often in the middle where the serial stands
// ("Change Statio…001 (station 5)"). SetModuleWindowTitle therefore also keeps a line at the top of the
// window's body that names the module, shown while the window is too narrow for its whole title.

#include <QString>

#include <cstdint>

class QLabel;
class QWidget;

namespace terrix {

struct ModuleRecord;

QString ModuleWindowTitle(const QString& text, uint16_t serialNo, uint8_t station);
QString ModuleWindowTitle(const QString& text, const ModuleRecord& record);
// For a window whose own text already names the module ("2003 (PX-TAVIK2)"): only the station follows.
QString StationWindowTitle(const QString& text, uint8_t station);

// Sets the title of `window` and the text of its module line. The line goes at the top of the window's
// layout once it has one (a vertical box layout; a window with another layout names the module in its body
// itself).
void SetModuleWindowTitle(QWidget* window, const QString& text, const ModuleRecord& record);
// The module line of a window titled by SetModuleWindowTitle, or null.
QLabel* ModuleTitleLine(const QWidget* window);
// Whether a title bar as wide as `window` shows `title` whole, beside the window's icon and buttons. An
// estimate (the title bar's font is the window manager's): the window's font in bold.
bool TitleFitsWindow(const QWidget* window, const QString& title);
// The window width at which TitleFitsWindow becomes true: the minimum width of a compact dialog whose title
// would otherwise be cut.
int TitleBarWidth(const QWidget* window, const QString& title);

} // namespace terrix

#pragma once
// The size a list window opens with when no placement is stored: wide enough that its list shows every
// column without scrolling sideways, as far as the screen allows. A stored placement is the user's choice
// and is never overridden by this.

#include <QRect>

class QTableView;
class QWidget;

namespace terrix {

// `window` widened by what the list lacks (`columnsWidth` needed, `listWidth` given), about the same centre,
// then moved into `available` (the screen's work area): never wider than `available` (the list scrolls
// then), never narrower than `window`, and its height unchanged.
QRect WidenedToShowColumns(const QRect& window, int listWidth, int columnsWidth, const QRect& available);

// Applies WidenedToShowColumns to a laid-out window and its list (with room for a vertical scroll bar), on
// the window's screen.
void WidenToShowColumns(QWidget* window, const QTableView* list);

} // namespace terrix

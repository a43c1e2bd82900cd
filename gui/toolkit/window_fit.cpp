#include "gui/toolkit/window_fit.h"

#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace terrix {

QRect WidenedToShowColumns(const QRect& window, int listWidth, int columnsWidth, const QRect& available) {
    const int lacking = std::max(0, columnsWidth - listWidth);
    const int width = std::max(window.width(), std::min(window.width() + lacking, available.width()));
    QRect result(window.x() - (width - window.width()) / 2, window.y(), width, window.height());
    // Into the work area, the left edge winning where the window is wider than it.
    if (result.right() > available.right()) {
        result.moveRight(available.right());
    }
    if (result.left() < available.left()) {
        result.moveLeft(available.left());
    }
    return result;
}

void WidenToShowColumns(QWidget* window, const QTableView* list) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        return;
    }
    // The columns, the list's frame and a vertical scroll bar, which a long list shows.
    const int needed = list->horizontalHeader()->length() + 2 * list->frameWidth() +
                       list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    // The work area less the window manager's frame, which the window's own geometry does not include.
    const int frame = window->frameGeometry().width() - window->width();
    const QRect available = screen->availableGeometry().adjusted(0, 0, -std::max(0, frame), 0);
    window->setGeometry(WidenedToShowColumns(window->geometry(), list->width(), needed, available));
}

} // namespace terrix

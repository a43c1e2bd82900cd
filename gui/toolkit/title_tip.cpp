#include "gui/toolkit/title_tip.h"

#include <QApplication>
#include <QPainter>

namespace terrix {

ZTitleTip::ZTitleTip(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                         Qt::WindowDoesNotAcceptFocus),
      owner_(owner) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
}

bool ZTitleTip::Show(const QRect& cell, const QString& text, int xOffset) {
    if (owner_ == nullptr || text.isEmpty() || cell.isEmpty() || isVisible() ||
        QApplication::activeWindow() == nullptr) {
        return false;
    }
    const QFont font = owner_->font();
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    // Fits when the text, its offset on both sides and a small margin stay inside the cell.
    if (textWidth + xOffset + 3 <= cell.width() - xOffset) {
        return false;
    }
    text_ = text;
    hoverRect_ = cell.adjusted(-1, -1, 0, 1);
    setFont(font);
    const QPoint topLeft = owner_->mapToGlobal(QPoint(cell.left() + xOffset, cell.top()));
    setGeometry(QRect(topLeft, QSize(textWidth + 3, cell.height())));
    show();
    raise();
    return true;
}

bool ZTitleTip::MouseMoved(const QPoint& ownerPos) {
    if (!isVisible() || hoverRect_.contains(ownerPos)) {
        return false;
    }
    hide();
    return true;
}

void ZTitleTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

} // namespace terrix

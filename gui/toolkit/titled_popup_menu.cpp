#include "gui/toolkit/titled_popup_menu.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QWidgetAction>

namespace terrix {

CTitledPopupMenu::CTitledPopupMenu(QWidget* parent) : QMenu(parent) {}

QAction* CTitledPopupMenu::AddCommand(const QString& text, int commandId) {
    QAction* action = addAction(text);
    action->setData(commandId);
    return action;
}

void CTitledPopupMenu::SetMenuTitle(const QString& text) {
    title_ = text;
    titleLabel_ = new QLabel(text);
    titleLabel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    titleLabel_->setLineWidth(1);
    titleLabel_->setAutoFillBackground(true);
    titleLabel_->setTextFormat(Qt::PlainText);
    titleAction_ = new QWidgetAction(this);
    titleAction_->setDefaultWidget(titleLabel_);
    titleAction_->setEnabled(false);
    insertAction(actions().isEmpty() ? nullptr : actions().constFirst(), titleAction_);
    StyleTitle();
}

void CTitledPopupMenu::StyleTitle() {
    if (titleLabel_ == nullptr) {
        return;
    }
    // The caption colours are the highlight pair of the palette; the line is disabled (it is no command) but
    // keeps them rather than the greyed look of a disabled item.
    QPalette palette = titleLabel_->palette();
    const QPalette& source = QApplication::palette(this);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, source.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(group, QPalette::WindowText,
                         source.color(QPalette::Active, QPalette::HighlightedText));
    }
    titleLabel_->setPalette(palette);
    QFont font = this->font();
    font.setWeight(QFont::Bold);
    titleLabel_->setFont(font);
    // Width: the text, a check-mark column and a small margin, as the menu's own items are measured.
    const int checkWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const QFontMetrics metrics(font);
    titleLabel_->setContentsMargins(2, 1, 2, 1);
    titleLabel_->setMinimumWidth(metrics.horizontalAdvance(title_) + checkWidth + 8 + 2);
    titleLabel_->setMinimumHeight(metrics.height() + 2);
}

void CTitledPopupMenu::changeEvent(QEvent* event) {
    QMenu::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        StyleTitle();
    }
}

void CTitledPopupMenu::Track(const QPoint& globalPos) {
    setAttribute(Qt::WA_DeleteOnClose);
    popup(globalPos);
}

} // namespace terrix

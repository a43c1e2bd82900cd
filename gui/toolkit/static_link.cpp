#include "gui/toolkit/static_link.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>

namespace terrix {

namespace {

CStaticLink::Opener& CurrentOpener() {
    static CStaticLink::Opener opener;
    return opener;
}

} // namespace

CStaticLink::CStaticLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    ApplyColor();
}

CStaticLink::Opener CStaticLink::SetOpener(Opener opener) {
    Opener previous = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return previous;
}

bool CStaticLink::Open() {
    const QUrl url = QUrl::fromUserInput(text());
    const bool opened = CurrentOpener() ? CurrentOpener()(url) : QDesktopServices::openUrl(url);
    if (opened) {
        color_ = kVisited;
        ApplyColor();
    } else {
        QApplication::beep();
    }
    return opened;
}

void CStaticLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Open();
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void CStaticLink::ApplyColor() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color_);
    setPalette(palette);
    update();
}

} // namespace terrix

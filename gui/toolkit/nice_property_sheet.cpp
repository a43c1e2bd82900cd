#include "gui/toolkit/nice_property_sheet.h"

#include <QApplication>
#include <QKeyEvent>

namespace terrix {

namespace {

bool IsMnemonicKey(const QKeyEvent* event) {
    return (event->modifiers() & Qt::AltModifier) && event->key() >= 33 && event->key() <= 0xFF;
}

} // namespace

CNicePropertySheet::CNicePropertySheet(QWidget* parent) : QTabWidget(parent) {
    // Keys go to the focused control inside the sheet; the sheet looks at them on their way there.
    qApp->installEventFilter(this);
}

CNicePropertySheet::~CNicePropertySheet() {
    qApp->removeEventFilter(this);
}

int CNicePropertySheet::PageForMnemonic(const QKeyEvent* event) const {
    if (!IsMnemonicKey(event)) {
        return -1;
    }
    const QString search = QLatin1Char('&') + QChar(event->key()).toUpper();
    for (int i = 0; i < count(); ++i) {
        if (tabText(i).left(79).toUpper().contains(search)) {
            return i;
        }
    }
    return -1;
}

bool CNicePropertySheet::SelectPageByMnemonic(const QKeyEvent* event) {
    const int page = PageForMnemonic(event);
    if (page < 0) {
        return false;
    }
    setCurrentIndex(page);
    return true;
}

bool CNicePropertySheet::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) {
        return QTabWidget::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != this && !isAncestorOf(widget))) {
        return QTabWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // Claim the key before the window's shortcuts see it, when it names a page.
        if (PageForMnemonic(key) >= 0) {
            key->accept();
            return true;
        }
        return false;
    }
    return SelectPageByMnemonic(key);
}

bool CNicePropertySheetCtrl::Create(QWidget* parent, QWidget* placeholder) {
    if (parent == nullptr || placeholder == nullptr) {
        return false;
    }
    setParent(parent);
    const QRect place(placeholder->mapTo(parent, QPoint(0, 0)), placeholder->size());
    placeholder->setEnabled(false);
    placeholder->hide();
    setGeometry(place);
    setFocusPolicy(Qt::TabFocus);
    setCurrentIndex(0);
    show();
    return true;
}

} // namespace terrix

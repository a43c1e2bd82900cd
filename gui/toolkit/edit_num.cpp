#include "gui/toolkit/edit_num.h"

#include "gui/toolkit/message_box.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace terrix {

namespace {

// A key that types a character into the field (backspace included), not a command such as Ctrl+C.
bool IsCharacter(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        return false;
    }
    return text.at(0).isPrint() || text.at(0) == QLatin1Char('\b');
}

} // namespace

CEditNumBase::CEditNumBase(QWidget* parent) : QLineEdit(parent) {
    // Dropped text would bypass the checks.
    setAcceptDrops(false);
}

void CEditNumBase::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        event->accept();
        return;
    }
    if (!IsCharacter(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (discarding_ || event->text() == QLatin1String(" ")) {
        return;
    }
    QLineEdit::keyPressEvent(event);
    const int code = ValidateWindowText();
    if (code == kValid) {
        TakeTypedText();
        Q_EMIT valueEdited();
    } else if (code != kIncomplete) {
        RestorePreviousValue();
        selectAll();
        DiscardTypeAhead();
    }
}

void CEditNumBase::DiscardTypeAhead() {
    // Keys already waiting for this field were typed against the rejected text: drop those posted to it and
    // ignore characters until the event loop has delivered what the window system had queued.
    QCoreApplication::removePostedEvents(this, QEvent::KeyPress);
    discarding_ = true;
    QTimer::singleShot(0, this, [this] { discarding_ = false; });
}

bool CEditNumBase::Paste(QClipboard::Mode mode) {
    const QMimeData* mime = QApplication::clipboard()->mimeData(mode);
    if (mime == nullptr || !mime->hasText() || isReadOnly()) {
        return false;
    }
    QString result = text();
    if (hasSelectedText()) {
        result.replace(selectionStart(), selectedText().size(), mime->text());
    } else {
        result.insert(cursorPosition(), mime->text());
    }
    return SetTextChecked(result);
}

void CEditNumBase::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection on X11; it goes through the same check.
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        Paste(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CEditNumBase::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { Paste(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CEditNumBase::ShowValidationMessage(const QString& text) {
    if (messages_) {
        ShowMessage(this, text, QString(), MessageIcon::Stop);
    }
}

void CEditNumBase::ShowPasteNotice(int code, const QString& result) {
    if (!messages_) {
        return;
    }
    QString text;
    switch (code) {
    case kTooLow:
        text = QStringLiteral("The resulting value becomes too low: ");
        break;
    case kTooHigh:
        text = QStringLiteral("The resulting value becomes too high: ");
        break;
    default:
        text = QStringLiteral("The format of the resulting string is wrong: ");
        break;
    }
    text += result + QStringLiteral("\"\nPaste Command Ignored");
    ShowMessage(this, text, QStringLiteral("Paste Notice"), MessageIcon::Information);
}

} // namespace terrix

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
    // Dropped text and input-method commits would bypass the checks; digits need neither.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
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
    // The field's own menu, so that its Paste goes through the same check as Ctrl+V.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool editable = !isReadOnly();
    const auto add = [menu](const QString& text, bool enabled, const char* name, auto slot) {
        QAction* action = menu->addAction(text, slot);
        action->setEnabled(enabled);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    add(tr("&Undo"), editable && isUndoAvailable(), "edit-undo", [this] { undo(); });
    add(tr("&Redo"), editable && isRedoAvailable(), "edit-redo", [this] { redo(); });
    menu->addSeparator();
    add(tr("Cu&t"), editable && hasSelectedText(), "edit-cut", [this] { cut(); });
    add(tr("&Copy"), hasSelectedText(), "edit-copy", [this] { copy(); });
    add(tr("&Paste"), editable, "edit-paste", [this] { Paste(); });
    add(tr("Delete"), editable && hasSelectedText(), "edit-delete", [this] { del(); });
    menu->addSeparator();
    add(tr("Select All"), !text().isEmpty(), "select-all", [this] { selectAll(); });
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
        text = tr("The resulting value becomes too low: %1\"\nPaste Command Ignored");
        break;
    case kTooHigh:
        text = tr("The resulting value becomes too high: %1\"\nPaste Command Ignored");
        break;
    default:
        text = tr("The format of the resulting string is wrong: %1\"\nPaste Command Ignored");
        break;
    }
    ShowMessage(this, text.arg(result), tr("Paste Notice"), MessageIcon::Information);
}

} // namespace terrix

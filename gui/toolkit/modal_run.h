#pragma once
// The one place where a modal window (dialog, message box, file dialog) runs its own event loop. A modal
// loop lies on the stack of the window that opened it, so it runs as an operation of that window (see
// WindowOperation): closing that window, or a window around it (the main window when the session ends),
// first closes the modal window as Escape would, and deletes nothing until the loop has returned. A dialog
// asked for while a window around it is closing is not shown at all and answers as if rejected.
//
// User-interface thread only.

#include <QString>

class QDialog;
class QWidget;

namespace terrix {

// Runs `dialog` modally as an operation of its parent and returns its result (Rejected without showing it
// when a window around it is closing; a message box, `evenWhileClosing`, is still shown then, unless the
// session ends).
int RunModal(QDialog& dialog, bool evenWhileClosing = false);

// The file dialogs of the program, run through RunModal; an empty path when cancelled or closed.
QString AskOpenFileName(QWidget* parent, const QString& caption = {}, const QString& dir = {},
                        const QString& filter = {});
QString AskSaveFileName(QWidget* parent, const QString& caption = {}, const QString& dir = {},
                        const QString& filter = {});
QString AskExistingDirectory(QWidget* parent, const QString& caption = {}, const QString& dir = {});

} // namespace terrix

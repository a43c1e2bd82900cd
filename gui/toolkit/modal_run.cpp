#include "gui/toolkit/modal_run.h"

#include "gui/toolkit/window_operation.h"

#include <QDialog>
#include <QFileDialog>
#include <QPointer>

#include <memory>

namespace terrix {

int RunModal(QDialog& dialog, bool evenWhileClosing) {
    if (WindowOperation::ClosingAround(&dialog) &&
        (!evenWhileClosing || WindowOperation::EverythingCloses())) {
        dialog.setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    // Without a parent (a message before the main window exists) the dialog is its own owner: nothing
    // around it can close.
    QWidget* owner = dialog.parentWidget() != nullptr ? dialog.parentWidget() : &dialog;
    const QPointer<QDialog> guard(&dialog);
    // Armed once registered: a message shown in a window that already waits to close stays until read.
    auto armed = std::make_shared<bool>(false);
    // The stop comes queued from whoever closes: reject() of a dialog may ask or wait, and must not run
    // inside the close handler of the window around it.
    const WindowOperation operation(owner, [guard, armed] {
        if (guard == nullptr || !*armed) {
            return;
        }
        QMetaObject::invokeMethod(
            guard.data(),
            [guard] {
                if (guard != nullptr && guard->isVisible()) {
                    guard->reject();
                }
            },
            Qt::QueuedConnection);
    });
    *armed = true;
    return dialog.QDialog::exec(); // the only modal loop of the program
}

namespace {

QString RunFileDialog(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                      QFileDialog::AcceptMode accept, QFileDialog::FileMode mode) {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    if (mode == QFileDialog::Directory) {
        dialog.setOption(QFileDialog::ShowDirsOnly);
    }
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
    return RunFileDialog(parent, caption, dir, filter, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
    return RunFileDialog(parent, caption, dir, filter, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

QString AskExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) {
    return RunFileDialog(parent, caption, dir, {}, QFileDialog::AcceptOpen, QFileDialog::Directory);
}

} // namespace terrix

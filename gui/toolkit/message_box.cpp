#include "gui/toolkit/message_box.h"

#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/window_operation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

namespace terrix {

namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// What Escape answers: a box closed from outside (its window closing) says no to what it asked.
QMessageBox::StandardButton EscapeAnswer(QMessageBox::StandardButtons buttons) {
    for (const auto button : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons.testFlag(button)) {
            return button;
        }
    }
    return QMessageBox::NoButton;
}

} // namespace

QMessageBox::StandardButton ShowMessage(const MessageRequest& request) {
    // The session ends: nothing is asked or shown any more, and nothing waits for an answer.
    if (WindowOperation::EverythingCloses()) {
        return EscapeAnswer(request.buttons);
    }
    if (Handler()) {
        // Whatever stands in for the box may wait in a loop of its own: an operation of the window too.
        const WindowOperation operation(request.parent);
        return Handler()(request);
    }
    // A box without caption shows the program's name, as the platform's message boxes did.
    const QString caption = request.caption.isEmpty() ? QApplication::applicationName() : request.caption;
    QMessageBox box(ToQt(request.icon), caption, request.text, request.buttons, request.parent);
    if (request.defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(request.defaultButton);
    }
    // The buttons speak the program's language, not the toolkit's.
    const struct {
        QMessageBox::StandardButton button;
        QString text;
    } texts[] = {
        {QMessageBox::Ok, QCoreApplication::translate("terrix::MessageBox", "OK")},
        {QMessageBox::Cancel, QCoreApplication::translate("terrix::MessageBox", "Cancel")},
        {QMessageBox::Yes, QCoreApplication::translate("terrix::MessageBox", "&Yes")},
        {QMessageBox::No, QCoreApplication::translate("terrix::MessageBox", "&No")},
    };
    for (const auto& entry : texts) {
        if (QAbstractButton* button = box.button(entry.button)) {
            button->setText(entry.text);
        }
    }
    RunModal(box, true);
    QAbstractButton* clicked = box.clickedButton();
    return clicked != nullptr ? box.standardButton(clicked) : EscapeAnswer(request.buttons);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                        MessageIcon icon, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
    return ShowMessage(MessageRequest{parent, text, caption, icon, buttons, defaultButton});
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace terrix

#pragma once
// Every message box of the program goes through ShowMessage, so that one place decides how a message is
// shown; tests install a handler that records the message and gives the answer instead of a modal box.

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace terrix {

enum class MessageIcon { None, Information, Question, Warning, Stop };

struct MessageRequest {
    QWidget* parent = nullptr;
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

using MessageHandler = std::function<QMessageBox::StandardButton(const MessageRequest&)>;

// Shows the message (modal) and returns the button that closed it. A box closed because a window around it
// closes, or not shown since the session ends, answers as Escape would: Cancel, else No, else OK.
QMessageBox::StandardButton ShowMessage(const MessageRequest& request);
QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& caption = {},
                                        MessageIcon icon = MessageIcon::None,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Replaces the modal box; an empty handler restores it. Returns the previous handler.
MessageHandler SetMessageHandler(MessageHandler handler);

} // namespace terrix

#pragma once
// A menu command delivered to the window that handles it (the numbered command of a popup menu item).

#include <QEvent>

namespace terrix {

class CCommandEvent : public QEvent {
public:
    explicit CCommandEvent(int commandId) : QEvent(EventType()), commandId_(commandId) {}
    int CommandId() const { return commandId_; }

    static QEvent::Type EventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

private:
    int commandId_;
};

} // namespace terrix

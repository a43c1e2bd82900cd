#include "gui/toolkit/language_change.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace terrix {

namespace {

// Lives as the widget's child, so it goes with the widget.
class LanguageChangeFilter : public QObject {
public:
    LanguageChangeFilter(QWidget* widget, std::function<void()> retranslate)
        : QObject(widget), retranslate_(std::move(retranslate)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::LanguageChange) {
            retranslate_();
        }
        return false;
    }

private:
    std::function<void()> retranslate_;
};

} // namespace

void RetranslateOnLanguageChange(QWidget* widget, std::function<void()> retranslate) {
    new LanguageChangeFilter(widget, std::move(retranslate));
}

} // namespace terrix

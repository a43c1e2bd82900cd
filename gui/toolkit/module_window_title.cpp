#include "gui/toolkit/module_window_title.h"

#include "core/inventory/module_record.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace terrix {

namespace {

constexpr const char* kLineName = "moduleTitleLine";
constexpr const char* kKeeperName = "moduleTitleLineKeeper";

// Keeps the module line of one window in its layout and shown while the title does not fit.
class TitleLineKeeper final : public QObject {
public:
    explicit TitleLineKeeper(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QLatin1String(kKeeperName));
        line_ = new QLabel(window);
        line_->setObjectName(QLatin1String(kLineName));
        // Wrapped to the width the window has: the line never widens it (which would change whether the
        // title fits, and so whether the line shows).
        line_->setWordWrap(true);
        line_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = line_->font();
        bold.setBold(true);
        line_->setFont(bold);
        line_->hide();
        window->installEventFilter(this);
    }
    QLabel* Line() const { return line_; }

    void Update() {
        if (!placed_) {
            if (auto* box = qobject_cast<QVBoxLayout*>(window_->layout())) {
                box->insertWidget(0, line_);
                placed_ = true;
            }
        }
        const bool show = placed_ && !TitleFitsWindow(window_, window_->windowTitle());
        if (line_->isHidden() == show) {
            line_->setVisible(show);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
                                   event->type() == QEvent::WindowTitleChange)) {
            Update();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* window_;
    QLabel* line_ = nullptr;
    bool placed_ = false;
};

// Found by its name: the class has no meta-object of its own to be found by.
TitleLineKeeper* KeeperOf(const QWidget* window) {
    return static_cast<TitleLineKeeper*>(
        window->findChild<QObject*>(QLatin1String(kKeeperName), Qt::FindDirectChildrenOnly));
}

} // namespace

QString ModuleWindowTitle(const QString& text, uint16_t serialNo, uint8_t station) {
    //: A window's title, the serial number of its module and the module's station address.
    return QCoreApplication::translate("terrix::ModuleWindowTitle", "%1 – %2 (station %3)")
        .arg(text)
        .arg(serialNo)
        .arg(station);
}

QString ModuleWindowTitle(const QString& text, const ModuleRecord& record) {
    return ModuleWindowTitle(text, record.SerialNo(), record.iaStation);
}

QString StationWindowTitle(const QString& text, uint8_t station) {
    //: A window's title that names its module already, and the module's station address.
    return QCoreApplication::translate("terrix::ModuleWindowTitle", "%1 – station %2").arg(text).arg(station);
}

void SetModuleWindowTitle(QWidget* window, const QString& text, const ModuleRecord& record) {
    TitleLineKeeper* keeper = KeeperOf(window);
    if (keeper == nullptr) {
        keeper = new TitleLineKeeper(window);
    }
    QString module = QString::number(record.SerialNo());
    if (!record.ModuleName().empty()) {
        module += QStringLiteral(" (%1)").arg(QString::fromStdString(record.ModuleName()));
    }
    //: The line in a window's body that names its module ("40218 (PX-TAVIK2XV)") when the title is cut off.
    keeper->Line()->setText(QCoreApplication::translate("terrix::ModuleWindowTitle", "%1, station %2")
                                .arg(module)
                                .arg(record.iaStation));
    window->setWindowTitle(ModuleWindowTitle(text, record));
    keeper->Update();
}

QLabel* ModuleTitleLine(const QWidget* window) {
    const TitleLineKeeper* keeper = KeeperOf(window);
    return keeper != nullptr ? keeper->Line() : nullptr;
}

int TitleBarWidth(const QWidget* window, const QString& title) {
    QFont font = window->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The window's icon, three buttons and the margins: about eight lines' height in common themes (Openbox
    // cuts "Scanning Bus for Modules" in a window 270 pixels wide).
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

bool TitleFitsWindow(const QWidget* window, const QString& title) {
    return TitleBarWidth(window, title) <= window->width();
}

} // namespace terrix

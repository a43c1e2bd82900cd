#include "gui/app/screenshot_tour.h"

#include "gui/app/language.h"
#include "gui/app/main_frame.h"
#include "gui/toolkit/about_dlg.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace terrix {

namespace {

constexpr int kSettleMs = 400; // time for the X server to draw what was just shown

class Tour : public QObject {
public:
    Tour(CMainFrame* frame, const QString& directory) : QObject(frame), frame_(frame), dir_(directory) {}

    void Start() {
        QDir().mkpath(dir_);
        for (const auto& [language, suffix] : {std::pair{kLangEnglish, "en"}, std::pair{kLangGerman, "de"}}) {
            const QString tag = QLatin1String(suffix);
            steps_.push_back([this, language = language] {
                frame_->OnLanguage(language);
                frame_->setGeometry(40, 40, 760, 480);
                frame_->BringForward();
            });
            steps_.push_back([this, tag] { Shoot(QStringLiteral("main_%1.png").arg(tag), {}); });
            steps_.push_back([this] {
                QMenu* menu = frame_->BusMenu();
                menu->popup(
                    frame_->mapToGlobal(frame_->menuBar()->actionGeometry(menu->menuAction()).bottomLeft()));
                popup_ = menu;
            });
            steps_.push_back([this] {
                // The port list beside it, with the device behind each port.
                QMenu* ports = frame_->PortMenu();
                ports->popup(popup_->mapToGlobal(popup_->actionGeometry(ports->menuAction()).topRight()));
                subPopup_ = ports;
            });
            steps_.push_back([this, tag] {
                Shoot(QStringLiteral("bus_menu_%1.png").arg(tag), {popup_, subPopup_});
                for (QMenu* menu : {subPopup_.data(), popup_.data()}) {
                    if (menu != nullptr) {
                        menu->close();
                    }
                }
            });
            steps_.push_back([this] {
                about_ = new CAboutDlg(ProgramVersionInfo(), frame_);
                about_->setAttribute(Qt::WA_DeleteOnClose);
                about_->show();
                about_->move(frame_->geometry().center() - about_->rect().center());
            });
            steps_.push_back([this, tag] {
                Shoot(QStringLiteral("about_%1.png").arg(tag), {about_});
                if (about_ != nullptr) {
                    about_->close();
                }
            });
        }
        Next();
    }

private:
    void Next() {
        if (next_ >= steps_.size()) {
            QCoreApplication::exit(failures_ == 0 ? 0 : 1);
            return;
        }
        steps_[next_++]();
        QTimer::singleShot(kSettleMs, this, [this] { Next(); });
    }

    // Saves the part of the screen covered by the frame and `extras` (menus or a dialog over it).
    void Shoot(const QString& name, std::initializer_list<QWidget*> extras) {
        QScreen* screen = frame_->screen();
        QRect area = frame_->frameGeometry();
        for (QWidget* extra : extras) {
            if (extra != nullptr && extra->isVisible()) {
                area = area.united(extra->frameGeometry());
            }
        }
        const QPixmap shot = screen != nullptr
                                 ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                 : QPixmap();
        const QString path = QDir(dir_).filePath(name);
        if (shot.isNull() || !shot.save(path, "PNG")) {
            qWarning("terrix: screenshot %s could not be taken", qPrintable(path));
            ++failures_;
            return;
        }
        qInfo("terrix: saved %s", qPrintable(path));
    }

    QPointer<CMainFrame> frame_;
    QString dir_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    int failures_ = 0;
    QPointer<QMenu> popup_;
    QPointer<QMenu> subPopup_;
    QPointer<QWidget> about_;
};

} // namespace

void StartScreenshotTour(CMainFrame* frame, const QString& directory) {
    auto* tour = new Tour(frame, directory);
    QTimer::singleShot(kSettleMs, tour, [tour] { tour->Start(); });
}

} // namespace terrix

#include "gui/tour/screenshot_tour.h"

#include "gui/base/language.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/about_dlg.h"
#include "gui/tour/tour_steps.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <limits>
#include <thread>

namespace terrix {

TourMessageAnswer::TourMessageAnswer(QMessageBox::StandardButton preferred)
    : previous_(SetMessageHandler([preferred](const MessageRequest& request) {
          std::fprintf(stderr, "terrix: tour message: %s\n", qPrintable(request.text));
          return request.buttons.testFlag(preferred) ? preferred : QMessageBox::Ok;
      })) {}

TourMessageAnswer::~TourMessageAnswer() {
    SetMessageHandler(std::move(previous_));
}

namespace {

bool ShowMainFrame(TourContext& tour) {
    return tour.Shoot(QStringLiteral("main"));
}

bool ShowBusMenu(TourContext& tour) {
    CMainFrame& frame = tour.Frame();
    QMenu* menu = frame.BusMenu();
    menu->popup(frame.mapToGlobal(frame.menuBar()->actionGeometry(menu->menuAction()).bottomLeft()));
    TourContext::Settle();
    // The port list beside it, with the device behind each port.
    QMenu* ports = frame.PortMenu();
    ports->popup(menu->mapToGlobal(menu->actionGeometry(ports->menuAction()).topRight()));
    TourContext::Settle();
    const bool shot = tour.Shoot(QStringLiteral("bus_menu"), {menu, ports});
    ports->close();
    menu->close();
    return shot;
}

// The menu that follows the Bus menu in the menu bar: the maintenance commands (scanning the saved stations,
// creating and resolving collisions). Found by its place, so a renamed menu is still pictured.
bool ShowMaintenanceMenu(TourContext& tour) {
    CMainFrame& frame = tour.Frame();
    const QList<QAction*> bar = frame.menuBar()->actions();
    const qsizetype bus = bar.indexOf(frame.BusMenu()->menuAction());
    QMenu* menu = bus >= 0 && bus + 1 < bar.size() ? bar[bus + 1]->menu() : nullptr;
    if (menu == nullptr) {
        std::fprintf(stderr, "terrix: no menu after the Bus menu\n");
        return false;
    }
    menu->popup(frame.mapToGlobal(frame.menuBar()->actionGeometry(menu->menuAction()).bottomLeft()));
    TourContext::Settle();
    const bool shot = tour.Shoot(QStringLiteral("maintenance_menu"), {menu});
    menu->close();
    return shot;
}

bool ShowAboutBox(TourContext& tour) {
    CAboutDlg about(ProgramVersionInfo(), &tour.Frame());
    about.show();
    about.move(tour.Frame().geometry().center() - about.rect().center());
    TourContext::Settle();
    const bool shot = tour.Shoot(QStringLiteral("about"), {&about});
    about.close();
    return shot;
}

} // namespace

void RegisterTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("main frame"), ShowMainFrame);
    tour.AddStep(QStringLiteral("bus menu"), ShowBusMenu);
    tour.AddStep(QStringLiteral("maintenance menu"), ShowMaintenanceMenu);
    tour.AddStep(QStringLiteral("about box"), ShowAboutBox);
    AddBusTourSteps(tour); // first: the scan saves the bus the later steps show
    // Window work adds its steps here, e.g. tour.AddStep("scanning dialog", ShowScanDialog).
    AddCircuitTourSteps(tour);   // after the scan: it shows the bus the scan found
    AddMeasValueTourSteps(tour); // after the circuit window's measuring round: its values
    AddPublishTourSteps(tour);
    AddConfigTourSteps(tour); // last: they use the bus the earlier steps scanned
}

void TourContext::Settle(int ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        QCoreApplication::processEvents({}, 10);
    } while (elapsed.elapsed() < ms);
}

bool TourContext::SettleUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < limitMs) {
        QCoreApplication::processEvents({}, 10);
    }
    Settle(); // what the end of the job changed is laid out and painted
    return done();
}

void TourContext::RunBusWork(const std::function<void()>& work) {
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work();
        finished = true;
    });
    SettleUntil([&] { return finished.load(); }, std::numeric_limits<int>::max());
    worker.join();
}

bool TourContext::Shoot(const QString& picture, std::initializer_list<QWidget*> windows, bool withFrame) {
    // Everything in global coordinates: the frame's and each window's place on the screen.
    std::vector<QWidget*> parts;
    if (withFrame) {
        parts.push_back(&frame_);
    }
    for (QWidget* window : windows) {
        if (window != nullptr && window->isVisible()) {
            parts.push_back(window);
        }
    }
    const QString path = QDir(dir_).filePath(QStringLiteral("%1_%2.png").arg(picture, language_));
    QRect area;
    for (QWidget* part : parts) {
        area = area.united(QRect(part->mapToGlobal(QPoint(0, 0)), part->size()));
    }
    if (area.isEmpty()) {
        std::fprintf(stderr, "terrix: nothing visible to save as %s\n", qPrintable(path));
        return false;
    }
    QPixmap shot(area.size());
    shot.fill(frame_.palette().color(QPalette::Window));
    QPainter painter(&shot);
    for (QWidget* part : parts) {
        painter.drawPixmap(part->mapToGlobal(QPoint(0, 0)) - area.topLeft(), part->grab());
    }
    painter.end();
    if (!shot.save(path, "PNG")) {
        std::fprintf(stderr, "terrix: could not save %s\n", qPrintable(path));
        return false;
    }
    std::fprintf(stderr, "terrix: saved %s\n", qPrintable(path));
    return true;
}

void CScreenshotTour::AddStep(const QString& name, TourStep step) {
    steps_.emplace_back(name, std::move(step));
}

int CScreenshotTour::Run(CMainFrame& frame, const QString& directory) {
    QDir().mkpath(directory);
    const uint16_t previous = CurrentLanguage();
    int failures = 0;
    for (const auto& [language, tag] : {std::pair{kLangEnglish, "en"}, std::pair{kLangGerman, "de"}}) {
        frame.OnLanguage(language);
        frame.setGeometry(40, 40, 760, 480);
        frame.BringForward();
        TourContext::Settle(100);
        TourContext tour(frame, directory, QLatin1String(tag));
        for (const auto& [name, step] : steps_) {
            if (!step(tour)) {
                std::fprintf(stderr, "terrix: screenshot step \"%s\" (%s) failed\n", qPrintable(name), tag);
                ++failures;
            }
            TourContext::Settle();
        }
    }
    // The tour leaves the stored language as it found it.
    if (previous != 0) {
        frame.OnLanguage(previous);
    }
    return failures;
}

void StartScreenshotTour(CMainFrame* frame, const QString& directory) {
    QPointer<CMainFrame> guarded = frame;
    QTimer::singleShot(0, frame, [guarded, directory] {
        CScreenshotTour tour;
        RegisterTourSteps(tour);
        const int failures = guarded != nullptr ? tour.Run(*guarded, directory) : 1;
        QCoreApplication::exit(failures == 0 ? 0 : 1);
    });
}

} // namespace terrix

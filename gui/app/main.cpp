// terrix: the desktop program.

#include "core/platform/data_paths.h"
#include "core/platform/path_text.h"
#include "core/publish/background_stop.h"
#include "gui/app/terrix_app.h"
#include "gui/frame/main_frame.h"
#include "gui/tour/screenshot_tour.h"
#include "terrix_version.h"

#if __has_include("sim/sim_scheme.h")
#include "sim/sim_scheme.h"
#define TERRIX_HAVE_SIM 1
#endif

#include <QApplication>
#include <QCommandLineParser>

#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt sets the user's locale for the C library; numbers in files and fields are read the C way.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Terrix"));
    QApplication::setApplicationVersion(QStringLiteral(TERRIX_VERSION));
    // The desktop file's name, so that a desktop shows the window with the installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TERRIX_APP_ID));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Maintenance tool for the sensor modules of an NKP-Bus."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Directory of the settings, module and measurement files."), QStringLiteral("dir"));
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QStringLiteral("Save screenshots of the main windows into <dir> and end."), QStringLiteral("dir"));
    parser.addOption(dataDir);
    parser.addOption(screenshots);
    parser.process(app);
    if (parser.isSet(dataDir)) {
        terrix::SetDataDir(terrix::PathFromText(parser.value(dataDir).toStdString()));
    }

#ifdef TERRIX_HAVE_SIM
    // A port device "sim" opens the built-in virtual bus.
    terrix::RegisterSimTransportScheme();
#endif

    terrix::CTerrixApp terrixApp;
    if (!terrixApp.InitInstance()) {
        return 0;
    }
    if (parser.isSet(screenshots)) {
        terrix::StartScreenshotTour(terrixApp.MainFrame(), parser.value(screenshots));
    }
    const int status = QApplication::exec();
    // A publisher stopped while the window closed may still be saving its cursors.
    terrix::WaitForBackgroundStops();
    return status;
}

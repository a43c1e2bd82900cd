#include "gui/tour/tour_steps.h"

#include "gui/frame/main_frame.h"
#include "gui/publish/publish_dlg.h"
#include "gui/tour/screenshot_tour.h"

#include <QElapsedTimer>

namespace terrix {

namespace {

// Example settings, not the stored ones (the dialog is never confirmed); port 1 of the machine itself
// refuses at once, so the picture shows how a failed test reads.
bool ShowPublishDialog(TourContext& tour) {
    CPublishDlg dialog(&tour.Frame());
    PublishForm form;
    form.server = "mqtt://127.0.0.1:1";
    form.prefix = "farm/north";
    form.user = "logger";
    dialog.SetForm(form);
    dialog.show();
    dialog.adjustSize();
    dialog.move(tour.Frame().geometry().center() - dialog.rect().center());
    dialog.OnTest();
    QElapsedTimer elapsed;
    elapsed.start();
    while (dialog.Testing() && elapsed.elapsed() < 15000) {
        TourContext::Settle(50);
    }
    TourContext::Settle(100);
    const bool shot = !dialog.Testing() && tour.Shoot(QStringLiteral("publish"), {&dialog});
    dialog.hide();
    return shot;
}

} // namespace

void AddPublishTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("publish values"), ShowPublishDialog);
}

} // namespace terrix

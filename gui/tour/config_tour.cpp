// The screenshot tour's pictures of the configuration dialogs: each opened for the XV module of the bus with
// the values read from it, pictured, and closed without writing anything.

#include "core/busops/bus_scan.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"
#include "gui/config/active_calib_dlg.h"
#include "gui/config/app_params_dlg.h"
#include "gui/config/coefficients_dlg.h"
#include "gui/config/error66_dlg.h"
#include "gui/config/offset_dlg.h"
#include "gui/config/reset_baud_dlg.h"
#include "gui/config/user_data_dlg.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/tour/screenshot_tour.h"
#include "gui/tour/tour_steps.h"

#include <algorithm>
#include <cstdio>

namespace terrix {

namespace {

ModuleRecord* FindXv(const CBusList& list) {
    for (uint32_t i = 0; i < list.Count(); ++i) {
        ModuleRecord* record = list.GetAt(i);
        if (record->bIsTavikXV != 0 && record->enModuleState == msIdentified) {
            return record;
        }
    }
    return nullptr;
}

// The XV module of the bus: from the list the earlier steps left, else the saved bus, else a scan.
ModuleRecord* TourXvModule(BusContext& context) {
    if (ModuleRecord* xv = FindXv(context.busList)) {
        return xv;
    }
    if (context.busList.IsEmpty()) {
        LoadBusInfo(context.busList);
        if (ModuleRecord* xv = FindXv(context.busList)) {
            return xv;
        }
        TourContext::RunBusWork([&context] {
            PortUser user(&context.portContext);
            BusScan(context, user, UnitName, [](const ScanProgress&) { return true; });
            user.Release();
        });
    }
    return FindXv(context.busList);
}

bool Shoot(TourContext& tour, CPlacementDialog& dialog, const char* picture) {
    dialog.show();
    dialog.move(tour.Frame().geometry().center() - dialog.rect().center());
    TourContext::Settle(200);
    const bool shot = tour.Shoot(QString::fromLatin1(picture), {&dialog});
    dialog.hide();
    return shot;
}

// Opens a bus dialog of type Dialog for the XV module, lets its own jobs open the port and read the module,
// lets `show` prepare it and pictures it.
template <typename Dialog, typename Show> TourStep BusDialogStep(const char* picture, Show show) {
    return [picture, show](TourContext& tour) {
        BusContext& context = *tour.Frame().GetBusContext();
        TourMessageAnswer messages(QMessageBox::No);
        ModuleRecord* xv = TourXvModule(context);
        if (xv == nullptr) {
            std::fprintf(stderr, "terrix: no XV module on the bus for \"%s\"\n", picture);
            return false;
        }
        Dialog dialog(context, &tour.Frame(), *xv);
        if (!dialog.Open()) {
            return false;
        }
        if (!TourContext::SettleUntil([&dialog] { return !dialog.Busy(); })) {
            std::fprintf(stderr, "terrix: \"%s\" did not finish reading the module\n", picture);
            return false;
        }
        show(dialog);
        return Shoot(tour, dialog, picture);
    };
}

bool ShowUserData(TourContext& tour) {
    BusContext& context = *tour.Frame().GetBusContext();
    TourMessageAnswer messages(QMessageBox::No);
    ModuleRecord* xv = TourXvModule(context);
    if (xv == nullptr) {
        return false;
    }
    CUserDataDlg dialog(&tour.Frame(), *xv);
    return Shoot(tour, dialog, "user_data");
}

} // namespace

void AddConfigTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("coefficients"),
                 BusDialogStep<CCoefficientsDlg>("coefficients", [](CCoefficientsDlg& d) {
                     d.resize(d.sizeHint().expandedTo(QSize(1000, 640)));
                     d.CalibListView()->Select(std::max(d.Workspace().ActivePosition(), 0) % 16);
                 }));
    tour.AddStep(QStringLiteral("application parameters"),
                 BusDialogStep<CAppParamsDlg>("app_params", [](CAppParamsDlg&) {}));
    tour.AddStep(QStringLiteral("active calibration"),
                 BusDialogStep<CActiveCalibDlg>("active_calib", [](CActiveCalibDlg&) {}));
    tour.AddStep(QStringLiteral("offset"), BusDialogStep<COffsetDlg>("offset", [](COffsetDlg&) {}));
    tour.AddStep(QStringLiteral("error66 limit"), BusDialogStep<CError66Dlg>("error66", [](CError66Dlg&) {}));
    tour.AddStep(QStringLiteral("reset baud rate"),
                 BusDialogStep<CResetBaudDlg>("reset_baud", [](CResetBaudDlg&) {}));
    tour.AddStep(QStringLiteral("user data"), ShowUserData);
}

} // namespace terrix

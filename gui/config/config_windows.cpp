#include "gui/config/config_windows.h"

#include "gui/base/window_contracts.h"
#include "gui/config/active_calib_dlg.h"
#include "gui/config/app_params_dlg.h"
#include "gui/config/coefficients_dlg.h"
#include "gui/config/error66_dlg.h"
#include "gui/config/offset_dlg.h"
#include "gui/config/reset_baud_dlg.h"
#include "gui/config/user_data_dlg.h"

namespace terrix {

void RegisterConfigDialogs(FrameWindows& windows) {
    ModuleWindows& module = windows.moduleWindows;
    module.coefficients = RunCoefficientsDialog;
    module.applicationParameters = RunAppParamsDialog;
    module.activeCalibration = RunActiveCalibDialog;
    module.offset = RunOffsetDialog;
    module.error66Limit = RunError66Dialog;
    module.resetBaud = RunResetBaudDialog;
    module.userData = [](BusContext&, QWidget* owner, ModuleRecord& record) {
        return RunUserDataDialog(owner, record);
    };
}

} // namespace terrix

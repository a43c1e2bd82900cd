#include "gui/app/terrix_app.h"

#include "core/platform/data_paths.h"
#include "core/platform/pump_wait.h"
#include "core/platform/path_text.h"
#include "gui/app/single_instance.h"
#include "gui/app/toolkit_check.h"
#include "gui/app/window_table.h"
#include "gui/base/language.h"
#include "gui/base/session_end.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/string_catalogue.h"

#include <QCoreApplication>

namespace terrix {

CTerrixApp::CTerrixApp() = default;

CTerrixApp::~CTerrixApp() = default;

bool CTerrixApp::InitInstance() {
    // 1. Language first: every later message, those of the next two steps included, is in it. A missing
    //    language file is no reason to stop; the copy built into the program serves.
    LoadLanguageModule(QLatin1String(SelectLanguage(0).moduleName), true);

    // 2. One copy only.
    instance_ = std::make_unique<CSingleInstance>(QString::fromStdString(PathText(DataDir())));
    const CSingleInstance::Start start = instance_->TakeLock();
    if (start == CSingleInstance::Start::kFailed) {
        // No other copy runs: the data folder is at fault, and the message says how.
        ShowMessage(nullptr, instance_->FailureText(), QStringLiteral("Terrix"), MessageIcon::Stop);
        return false;
    }
    if (start == CSingleInstance::Start::kOtherCopy) {
        ShowMessage(nullptr, Text(24578), QString(), MessageIcon::Information);
        if (!instance_->ActivateFirst()) {
            ShowMessage(nullptr, Text(24579), QString(), MessageIcon::Information);
        }
        return false;
    }

    // 3. The toolkit the program runs with.
    QString required;
    if (!ToolkitSufficient(&required)) {
        ShowMessage(nullptr, Text(24577).arg(required));
        return false;
    }

    // 4. The organisation under which the toolkit keeps its own settings; the program keeps none there.
    QCoreApplication::setOrganizationName(QStringLiteral("ORVA GmbH"));
    QCoreApplication::setApplicationName(QStringLiteral("Terrix"));

    // The windows run their bus work as jobs on worker threads; a bus wait on this thread would freeze
    // them (and aborts a debug build).
    ForbidBusWaitsOnThisThread();

    // 5.-7. The frame with its document and view, and the windows its commands open.
    frame_ = std::make_unique<CMainFrame>(AllFrameWindows());
    CMainFrame* frame = frame_.get();
    frame->ListSavedBus();
    instance_->SetActivateHandler([frame] { return frame->BringForward(); });
    // Logout and SIGTERM end a running measurement after its current module, without a question.
    SessionEnd::Install(frame);
    frame_->show();
    return true;
}

} // namespace terrix

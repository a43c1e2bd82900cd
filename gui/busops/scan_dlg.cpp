#include "gui/busops/scan_dlg.h"

#include "core/busops/scan_session.h"
#include "core/inventory/unit_names.h"
#include "gui/base/bus_job.h"
#include "gui/base/window_contracts.h"
#include "gui/busops/module_at_station.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/read_only_field.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/window_operation.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

CScanDlg::CScanDlg(BusContext& context, QWidget* owner, uint32_t modeFlags)
    : CPlacementDialog(owner), context_(context), mode_(modeFlags) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    const bool detailed = (mode_ & kDetailed) != 0;
    auto* layout = new QVBoxLayout(this);

    if (detailed) {
        nowGroup_ = new QGroupBox(this);
        auto* now = new QFormLayout(nowGroup_);
        stationLabel_ = new QLabel(nowGroup_);
        station_ = ReadOnlyField(nowGroup_, 5);
        now->addRow(stationLabel_, station_);
        layout->addWidget(nowGroup_);
    }

    doneGroup_ = new QGroupBox(this);
    auto* done = new QHBoxLayout(doneGroup_);
    percent_ = ReadOnlyField(doneGroup_, 3);
    progress_ = new QProgressBar(doneGroup_);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMinimumWidth(160);
    percent_->setText(QStringLiteral("0"));
    done->addWidget(percent_);
    done->addWidget(new QLabel(QStringLiteral("%"), doneGroup_));
    done->addWidget(progress_, 1);
    layout->addWidget(doneGroup_);

    foundGroup_ = new QGroupBox(this);
    auto* found = new QFormLayout(foundGroup_);
    modulesLabel_ = new QLabel(foundGroup_);
    collisionsLabel_ = new QLabel(foundGroup_);
    modules_ = ReadOnlyField(foundGroup_, 5);
    collisions_ = ReadOnlyField(foundGroup_, 5);
    found->addRow(modulesLabel_, modules_);
    found->addRow(collisionsLabel_, collisions_);
    layout->addWidget(foundGroup_);

    if (detailed) {
        lastGroup_ = new QGroupBox(this);
        auto* last = new QFormLayout(lastGroup_);
        lastStationLabel_ = new QLabel(lastGroup_);
        serialLabel_ = new QLabel(lastGroup_);
        nameLabel_ = new QLabel(lastGroup_);
        codeLabel_ = new QLabel(lastGroup_);
        lastStation_ = ReadOnlyField(lastGroup_, 5);
        serial_ = ReadOnlyField(lastGroup_, 5);
        name_ = ReadOnlyField(lastGroup_, 16);
        name_->setAlignment(Qt::AlignLeft);
        code_ = ReadOnlyField(lastGroup_, 5);
        last->addRow(lastStationLabel_, lastStation_);
        last->addRow(serialLabel_, serial_);
        last->addRow(nameLabel_, name_);
        last->addRow(codeLabel_, code_);
        layout->addWidget(lastGroup_);
    }

    // Both layouts keep "Start": after a cancel the user may scan again without reopening the dialog.
    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    start_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, &CScanDlg::OnStart);
    connect(cancel_, &QPushButton::clicked, this, &CScanDlg::reject);

    // Drawn over the whole dialog while the port opens and the modules are brought to 9600 baud.
    banner_ = new QLabel(this);
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setWordWrap(true); // the German texts are longer than the compact dialog is wide
    banner_->setAutoFillBackground(true);
    banner_->setFrameShape(QFrame::Panel);
    QFont bannerFont = banner_->font();
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.3);
    bannerFont.setBold(true);
    banner_->setFont(bannerFont);
    banner_->hide();

    Retranslate();
    ShowCounts(context_.busList.Count(), context_.busList.CollisionCount());
}

CScanDlg::~CScanDlg() = default;

void CScanDlg::Retranslate() {
    setWindowTitle(tr("Scanning Bus for Modules"));
    // The compact dialog is narrower than its title, which the window manager would cut.
    setMinimumWidth(TitleBarWidth(this, windowTitle()));
    if (nowGroup_ != nullptr) {
        nowGroup_->setTitle(tr("Scanning now"));
        stationLabel_->setText(tr("Station no.:"));
        lastGroup_->setTitle(tr("Last found module"));
        lastStationLabel_->setText(tr("Station no.:"));
        serialLabel_->setText(tr("Serial no.:"));
        nameLabel_->setText(tr("Module name:"));
        codeLabel_->setText(tr("Module code:"));
    }
    doneGroup_->setTitle(tr("Scanned until now"));
    foundGroup_->setTitle(tr("Found until now"));
    modulesLabel_->setText(tr("Num. of modules:"));
    collisionsLabel_->setText(tr("Num. of collisions:"));
    start_->setText(tr("&Start"));
    cancel_->setText(tr("Cancel"));
}

void CScanDlg::showEvent(QShowEvent* event) {
    CPlacementDialog::showEvent(event);
    if (!started_) {
        // The scan starts without a click, once the dialog is on the screen.
        started_ = true;
        QMetaObject::invokeMethod(this, &CScanDlg::OnStart, Qt::QueuedConnection);
    }
}

void CScanDlg::resizeEvent(QResizeEvent* event) {
    CPlacementDialog::resizeEvent(event);
    banner_->setGeometry(rect());
}

QString CScanDlg::ModulesText() const {
    return modules_->text();
}

QString CScanDlg::CollisionsText() const {
    return collisions_->text();
}

QString CScanDlg::BannerText() const {
    return banner_->isVisible() ? banner_->text() : QString();
}

void CScanDlg::ShowBanner(const QString& text) {
    banner_->setText(text);
    banner_->setGeometry(rect());
    banner_->raise();
    banner_->show();
}

void CScanDlg::ShowCounts(uint32_t modules, uint32_t collisions) {
    modules_->setText(QString::number(modules));
    collisions_->setText(QString::number(collisions));
}

void CScanDlg::reject() {
    if (scanning_) {
        // Only a request: the scan sees it at its next report and stops there.
        cancelRequested_ = true;
        cancel_->setEnabled(false);
        BusJob::RequestStop(this);
        return;
    }
    CPlacementDialog::reject();
}

void CScanDlg::OnStart() {
    if (scanning_) {
        return;
    }
    ScanSessionOptions options;
    options.forgetSavedBus = (mode_ & kForgetBus) != 0;
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [&context = context_, options, this](BusJobControl& job) {
            // Every report is copied here, on the worker, and shown by the dialog later.
            const ProgressCallback progress = [&context, &job, this](const ScanProgress& report) {
                job.Post([this, view = MakeScanReport(report, context.busList, false)] { ShowReport(view); });
                return !job.StopRequested();
            };
            return ScanForModules(context, options, UnitName, progress);
        },
        [this](ScanSessionResult result) { ScanDone(std::move(result)); });
    if (!started) {
        return;
    }
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    cancel_->setFocus();
    scanning_ = true;
    cancelRequested_ = false;
    ShowBanner(QString());
}

void CScanDlg::ScanDone(ScanSessionResult result) {
    banner_->hide();
    if (station_ != nullptr) {
        station_->clear();
    }
    ShowCounts(context_.busList.Count(), context_.busList.CollisionCount());
    if (result.stopped && !cancelRequested_) {
        // Somebody else stopped the scan: the program or the window is closing. Go without further ado.
        scanning_ = false;
        CPlacementDialog::reject();
        return;
    }
    if (result.collisionsLeft > 0 && !WindowOperation::ClosingAround(this)) {
        ResolveThenFinish(std::move(result));
        return;
    }
    FinishScan(std::move(result));
}

void CScanDlg::ResolveThenFinish(ScanSessionResult result) {
    // The resolution belongs to this scan: a cancel pressed during the scan does not stop it.
    cancelRequested_ = false;
    auto* dialog = new CResolveCollisionsDlg(context_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->SetForwarding([self = QPointer<CScanDlg>(this)](const ScanReport& report) {
        if (self != nullptr) {
            self->ShowReport(report);
        }
    });
    // The scanning dialog waits (without a nested loop) until the resolution dialog has gone.
    auto operation = std::make_shared<WindowOperation>(this);
    connect(dialog, &QDialog::finished, this, [this, result, operation]() mutable {
        operation.reset();
        FinishScan(std::move(result));
    });
    dialog->open();
}

void CScanDlg::FinishScan(ScanSessionResult result) {
    // Saving writes the bus state and a file per module: on the worker too, so the window stays live.
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [&context = context_, result](BusJobControl&) mutable {
            FinishScanSession(context, result);
            return result;
        },
        [this](const ScanSessionResult& finished) { ShowScanEnd(finished); });
    if (!started) {
        // Nothing else may take the bus between a scan and its save; should it happen, the save is done
        // here rather than lost.
        FinishScanSession(context_, result);
        ShowScanEnd(result);
    }
}

void CScanDlg::ShowScanEnd(const ScanSessionResult& result) {
    scanning_ = false;
    if (result.scanOk && !result.stopped) {
        // The last probed station reports 99 %; a finished scan says so.
        percent_->setText(QStringLiteral("100"));
        progress_->setValue(100);
    }
    ShowCounts(context_.busList.Count(), context_.busList.CollisionCount());

    if (result.startupError != 0) {
        QString text;
        const int id = StartupErrorTextId(result.startupError);
        text = id != 0 ? FindText(TextKind::String, id)
                       : QString::fromStdString(StartupErrorText(result.startupError));
        if (result.startupError == kErrorPortOpen || result.startupError == kErrorCableCheck) {
            // Why the device could not be opened, and the cure where there is one (permissions).
            const QString reason = PortFailureText(context_.portContext);
            if (!reason.isEmpty()) {
                text += QStringLiteral("\n\n") + reason;
            }
        }
        ShowMessage(this, text, windowTitle(), MessageIcon::Warning);
    }
    if (result.listEmpty && !result.stopped) {
        // A stopped scan has not looked at the bus: "no module found" would be a claim it cannot make.
        ShowMessage(this, Text(24654), windowTitle(), MessageIcon::Warning);
    } else if (result.saveFailed) {
        ShowMessage(this,
                    tr("The bus state could not be saved:\n%1")
                        .arg(CoreText(context_.busList.LastFileError().Message())),
                    windowTitle(), MessageIcon::Warning);
    }
    if (WindowOperation::ClosingAround(this)) {
        CPlacementDialog::reject(); // the program is closing
        return;
    }
    if (cancelRequested_) {
        start_->setEnabled(true);
        cancel_->setEnabled(true);
        start_->setFocus();
        return;
    }
    accept(); // the frame brings up the circuit window with the new bus
}

void CScanDlg::ShowReport(const ScanReport& report) {
    switch (report.event) {
    case kEventOpeningPort:
        ShowBanner(Text(24647));
        break;
    case kEventResynchronising:
        ShowBanner(Text(24648));
        break;
    case kEventProbing:
        banner_->hide();
        if (station_ != nullptr) {
            station_->setText(QString::number(report.station));
        }
        percent_->setText(QString::number(report.percent));
        progress_->setValue(static_cast<int>(report.percent));
        break;
    case kEventIdentified:
        if (lastStation_ != nullptr && report.identified) {
            const ModuleRecord& record = *report.identified;
            lastStation_->setText(QString::number(record.iaStation));
            code_->setText(QString::number(record.stationInfo.yModuleId));
            name_->setText(QString::fromStdString(record.ModuleName()));
            serial_->setText(QString::number(record.SerialNo()));
        }
        ShowCounts(report.modules, report.collisions);
        break;
    case kEventNotIdentified:
    case kEventResolutionDone:
        ShowCounts(report.modules, report.collisions);
        break;
    default:
        break;
    }
}

void RegisterScanDialog(FrameWindows& windows) {
    windows.runScan = [](BusContext& context, QWidget* owner, int mode) {
        CScanDlg dialog(context, owner,
                        static_cast<uint32_t>(mode) & (CScanDlg::kDetailed | CScanDlg::kForgetBus));
        return RunModal(dialog) == QDialog::Accepted; // a finished scan accepts, a cancelled one rejects
    };
}

} // namespace terrix

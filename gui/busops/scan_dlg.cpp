#include "gui/busops/scan_dlg.h"

#include "core/busops/scan_session.h"
#include "core/inventory/unit_names.h"
#include "gui/app/bus_activity.h"
#include "gui/app/frame_windows.h"
#include "gui/busops/module_at_station.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/string_catalogue.h"

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

namespace {

QLineEdit* ReadOnlyField(QWidget* parent, int minimumChars) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight);
    const int width = edit->fontMetrics().horizontalAdvance(QString(minimumChars, QLatin1Char('0'))) + 16;
    edit->setMinimumWidth(width);
    if (minimumChars < 8) {
        edit->setMaximumWidth(width); // numbers stay compact; the progress bar takes the room
    }
    return edit;
}

} // namespace

CScanDlg::CScanDlg(BusContext& context, QWidget* owner, uint32_t modeFlags)
    : CPlacementDialog(owner), context_(context), mode_(modeFlags) {
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
    banner_->setAutoFillBackground(true);
    banner_->setFrameShape(QFrame::Panel);
    QFont bannerFont = banner_->font();
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.3);
    bannerFont.setBold(true);
    banner_->setFont(bannerFont);
    banner_->hide();

    Retranslate();
    RefreshCounts();
}

CScanDlg::~CScanDlg() = default;

void CScanDlg::Retranslate() {
    setWindowTitle(tr("Scanning Bus for Modules"));
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

void CScanDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        Retranslate();
    }
    CPlacementDialog::changeEvent(event);
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

void CScanDlg::RefreshCounts() {
    modules_->setText(QString::number(context_.busList.Count()));
    collisions_->setText(QString::number(context_.busList.CollisionCount()));
}

void CScanDlg::reject() {
    if (scanning_) {
        // Only a flag: the scan sees it at its next report and stops there.
        cancelRequested_ = true;
        cancel_->setEnabled(false);
        return;
    }
    CPlacementDialog::reject();
}

void CScanDlg::OnStart() {
    if (scanning_) {
        return;
    }
    BusActivity activity(context_, this, windowTitle());
    if (!activity) {
        activity.ShowRefusal(this);
        return;
    }
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    cancel_->setFocus();
    scanning_ = true;
    cancelRequested_ = false;
    activity_ = &activity;
    RunScan(activity);
    activity_ = nullptr;
    scanning_ = false;
    if (activity.CancelRequested()) {
        // The program is closing: go without further ado.
        CPlacementDialog::reject();
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

void CScanDlg::RunScan(BusActivity& activity) {
    ShowBanner(QString());
    ScanSessionOptions options;
    options.forgetSavedBus = (mode_ & kForgetBus) != 0;
    QPointer<CScanDlg> self(this);
    const ProgressCallback progress = [this](const terrix::ScanProgress& report) {
        return ScanProgress(report);
    };
    const CollisionResolver resolver = [this, self, &activity](PortUser& portUser) {
        banner_->hide();
        if (station_ != nullptr) {
            station_->clear();
        }
        RefreshCounts();
        // The resolution belongs to this scan: a cancel pressed during the scan does not stop it.
        cancelRequested_ = false;
        CResolveCollisionsDlg dialog(context_, this);
        dialog.SetForwarding(&portUser, &activity, [self](const terrix::ScanProgress& report) {
            return self == nullptr || self->ScanProgress(report);
        });
        dialog.exec();
    };
    const ScanSessionResult result = RunScanSession(context_, options, UnitName, progress, resolver);
    banner_->hide();
    if (result.scanOk && !result.stopped) {
        // The last probed station reports 99 %; a finished scan says so.
        percent_->setText(QStringLiteral("100"));
        progress_->setValue(100);
    }
    if (station_ != nullptr) {
        station_->clear();
    }
    RefreshCounts();

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
}

bool CScanDlg::ScanProgress(const terrix::ScanProgress& report) {
    if (!inProgress_) {
        inProgress_ = true;
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
            if (lastStation_ != nullptr && report.record != nullptr) {
                lastStation_->setText(QString::number(report.record->iaStation));
                code_->setText(QString::number(report.record->stationInfo.yModuleId));
                name_->setText(QString::fromStdString(report.record->ModuleName()));
                serial_->setText(QString::number(report.record->SerialNo()));
            }
            RefreshCounts();
            break;
        case kEventNotIdentified:
        case kEventResolutionDone:
            RefreshCounts();
            break;
        default:
            break;
        }
        inProgress_ = false;
    }
    return !cancelRequested_ && !(activity_ != nullptr && activity_->CancelRequested());
}

void RegisterScanDialog(FrameWindows& windows) {
    windows.runScan = [](BusContext& context, QWidget* owner, int mode) {
        CScanDlg dialog(context, owner,
                        static_cast<uint32_t>(mode) & (CScanDlg::kDetailed | CScanDlg::kForgetBus));
        return dialog.exec() == QDialog::Accepted; // a finished scan accepts, a cancelled one rejects
    };
}

} // namespace terrix

#include "gui/circuit/meas_circuit_dlg.h"

#include "gui/base/bus_job.h"
#include "gui/base/session_end.h"
#include "gui/busops/module_at_station.h"
#include "gui/circuit/bus_dialogs.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/read_only_field.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/titled_popup_menu.h"
#include "gui/toolkit/window_fit.h"
#include "gui/toolkit/window_operation.h"
#include "core/platform/path_text.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstdlib>

namespace terrix {

namespace {

constexpr const char* kSection = "MeasCircDlg";
using C = MeasCircuitController;
using M = MeasCircuitModel;

QLabel* NoticeLine(QWidget* parent, Qt::TextFormat format) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(format);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMargin(4);
    label->hide();
    return label;
}

// The colour of a line that wants attention.
constexpr const char* kAttention = "QLabel { background: #ffe0a0; color: black; }";

} // namespace

// ---- registration -------------------------------------------------------------------------------------

void RegisterCircuitWindows(FrameWindows& windows) {
    windows.createCircuitWindow = [](BusContext& context, QWidget* owner,
                                     const ModuleWindows& moduleWindows) -> CPlacementDialog* {
        return new CMeasCircuitDlg(context, owner, moduleWindows);
    };
    windows.runCreateCollisions = [](BusContext& context, QWidget* owner) {
        CCreateCollisionsDlg dialog(context, owner);
        RunModal(dialog);
    };
}

// ---- set-up -------------------------------------------------------------------------------------------

CMeasCircuitDlg::CMeasCircuitDlg(BusContext& context, QWidget* owner, ModuleWindows windows,
                                 MeasLoopOptions loopOptions)
    : CPlacementDialog(owner), context_(context), windows_(std::move(windows)),
      controller_(context, windows_, std::move(loopOptions)),
      valueWindows_(new MeasValueWindows(context, this, controller_.Loop(), windows_.createValueWindow)) {
    SetResizable(true);
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    BuildControls();
    CreateActions();
    Retranslate();
    ConnectController();
    countEdit_->setText(QString::number(controller_.ModuleCount()));
    rateEdit_->setText(QString::number(controller_.InitialRate()));
    UpdateCommandStates();
}

CMeasCircuitDlg::~CMeasCircuitDlg() {
    StopAndRelease();
}

void CMeasCircuitDlg::OnInitDialog() {
    CPlacementDialog::OnInitDialog();
    if (!LoadWindowPlacement(kSection)) {
        // First open: every column in view where the screen is wide enough (the layout's own width cuts
        // the value columns off).
        WidenToShowColumns(this, list_);
    }
    list_->LoadColumns(kSection); // fractions of the restored size
    FitColumns(); // widths saved in the other language, or at another size, may cut titles and values
    // Columns fitted to this language's titles may no longer fit the list: once it is laid out, the window
    // grows by what they lack (as far as the screen allows) rather than hide the last column.
    QMetaObject::invokeMethod(
        this, [this] { WidenToShowColumns(this, list_); }, Qt::QueuedConnection);
    list_->setFocus();
    list_->SelectFirstOnce();
}

void CMeasCircuitDlg::BuildControls() {
    list_ = new CReportListCtrl(this);
    list_->setModel(controller_.Model());
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->horizontalHeader()->setContextMenuPolicy(Qt::PreventContextMenu);
    list_->setIconSize(QSize(16, 16));
    for (int c = 0; c < M::kColumnCount; ++c) {
        list_->setColumnWidth(c, M::ColumnWidth(c));
    }
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                controller_.SetCurrentRow(current.isValid() ? current.row() : -1);
            });
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        controller_.SetCurrentRow(index.row());
        OnDisplayValues();
    });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowContextMenu(pos, false); });
    list_->installEventFilter(this); // the menu key opens the menu at the current row

    countEdit_ = ReadOnlyField(this, 5);
    countdownEdit_ = ReadOnlyField(this, 7); // HH:MM:SS
    rateEdit_ = new QLineEdit(this);
    rateEdit_->setValidator(new QIntValidator(0, 86400 * 7, rateEdit_));
    rateEdit_->setAlignment(Qt::AlignRight);
    rateEdit_->setFixedWidth(70);
    countLabel_ = new QLabel(this);
    nextLabel_ = new QLabel(this);
    inLabel_ = new QLabel(this);
    rateLabel_ = new QLabel(this);
    rateLabel_->setBuddy(rateEdit_);

    const auto button = [this](void (CMeasCircuitDlg::*handler)()) {
        auto* b = new QPushButton(this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    loopButton_ = button(&CMeasCircuitDlg::OnMeasLoop);
    singleButton_ = button(&CMeasCircuitDlg::OnSingleMeas);
    displayButton_ = button(&CMeasCircuitDlg::OnDisplayValues);
    displayButton_->setDefault(true);
    eraseButton_ = button(&CMeasCircuitDlg::OnErase);
    displayAllButton_ = button(&CMeasCircuitDlg::OnDisplayAll);
    eraseAllButton_ = button(&CMeasCircuitDlg::OnEraseAll);
    offsetButton_ = button(&CMeasCircuitDlg::OnOffset);
    coeffButton_ = button(&CMeasCircuitDlg::OnCoefficients);
    convTimeButton_ = button(&CMeasCircuitDlg::OnConversionTime);
    appParamsButton_ = button(&CMeasCircuitDlg::OnAppParams);
    haltButton_ = button(&CMeasCircuitDlg::OnHaltState);
    copyButton_ = button(&CMeasCircuitDlg::OnCopyFiles);
    copyButton_->setIcon(style()->standardIcon(QStyle::SP_DriveFDIcon));
    closeButton_ = new QPushButton(this);
    closeButton_->setAutoDefault(false);
    connect(closeButton_, &QPushButton::clicked, this, &CMeasCircuitDlg::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(countLabel_);
    top->addWidget(countEdit_);
    top->addSpacing(16);
    top->addWidget(nextLabel_);
    top->addWidget(inLabel_);
    top->addWidget(countdownEdit_);
    top->addSpacing(16);
    top->addWidget(rateLabel_);
    top->addWidget(rateEdit_);
    top->addWidget(new QLabel(QStringLiteral("[s]"), this));
    top->addStretch(1);

    auto* grid = new QGridLayout;
    const QList<QList<QPushButton*>> rows = {
        {loopButton_, singleButton_, displayButton_, eraseButton_, displayAllButton_, eraseAllButton_},
        {offsetButton_, coeffButton_, convTimeButton_, appParamsButton_, haltButton_, copyButton_}};
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid->addWidget(rows[r][c], r, c);
        }
    }
    grid->setColumnStretch(6, 1);
    grid->addWidget(closeButton_, 1, 7);

    outageLabel_ = NoticeLine(this, Qt::AutoText);
    publishLabel_ = NoticeLine(this, Qt::PlainText);
    absentLabel_ = NoticeLine(this, Qt::PlainText);
    absentLabel_->setStyleSheet(QString::fromLatin1(kAttention));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(outageLabel_);
    layout->addWidget(absentLabel_);
    layout->addWidget(publishLabel_);
    layout->addWidget(list_, 1);
    layout->addLayout(grid);

    // Keyboard order: the list first, then the measuring controls, then the commands.
    QWidget* order[] = {list_,           rateEdit_,         loopButton_,     singleButton_, displayButton_,
                        eraseButton_,    displayAllButton_, eraseAllButton_, offsetButton_, coeffButton_,
                        convTimeButton_, appParamsButton_,  haltButton_,     copyButton_,   closeButton_};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void CMeasCircuitDlg::ConnectController() {
    // A rebuilt list keeps the controller's current row (the row a command worked on; none after a removal).
    connect(controller_.Model(), &QAbstractItemModel::modelReset, this, [this] {
        const int keep = controller_.CurrentRow();
        if (keep >= 0 && keep < controller_.Model()->rowCount()) {
            list_->Select(keep);
        } else {
            controller_.SetCurrentRow(-1);
        }
        countEdit_->setText(QString::number(controller_.ModuleCount()));
    });
    connect(&controller_, &C::commandsChanged, this, &CMeasCircuitDlg::UpdateCommandStates);
    connect(&controller_, &C::runChanged, this, [this] {
        Retranslate(); // the pressed button's caption
        UpdateCommandStates();
    });
    connect(&controller_, &C::countdownChanged, countdownEdit_, &QLineEdit::setText);
    connect(&controller_, &C::outageChanged, this, &CMeasCircuitDlg::ShowOutage);
    connect(&controller_, &C::absentChanged, this, [this] {
        absentLabel_->setText(controller_.AbsentText());
        absentLabel_->setVisible(!absentLabel_->text().isEmpty());
    });
    connect(&controller_, &C::publishingChanged, this, &CMeasCircuitDlg::ShowPublishing);
    connect(&controller_, &C::newValue, valueWindows_, &MeasValueWindows::Refresh);
    connect(&controller_, &C::storeFailed, this,
            [this](const QString& text) { ShowMessage(this, text, windowTitle(), MessageIcon::Warning); });
}

void CMeasCircuitDlg::CreateActions() {
    const std::pair<int, void (CMeasCircuitDlg::*)()> commands[] = {
        {C::ID_DISPLAY_VALUES, &CMeasCircuitDlg::OnDisplayValues},
        {C::ID_EDIT_USER_INFO, &CMeasCircuitDlg::OnEditUserInfo},
        {C::ID_ACTIVATE, &CMeasCircuitDlg::OnActivate},
        {C::ID_REMOVE, &CMeasCircuitDlg::OnRemove},
        {C::ID_RESCAN, &CMeasCircuitDlg::OnRescan},
        {C::ID_STATION_NUMBER, &CMeasCircuitDlg::OnStationNumber},
        {C::ID_RECREATE_ASCII, &CMeasCircuitDlg::OnRecreateAscii},
        {C::ID_RESET_BAUD, &CMeasCircuitDlg::OnResetBaud},
        {C::ID_ERROR66, &CMeasCircuitDlg::OnError66},
        {C::ID_ACTIVE_CALIB, &CMeasCircuitDlg::OnActiveCalib},
    };
    for (const auto& [id, handler] : commands) {
        auto* action = new QAction(this);
        action->setData(id);
        connect(action, &QAction::triggered, this, handler);
        actions_.push_back(action);
    }
}

QAction* CMeasCircuitDlg::MenuAction(int commandId) const {
    for (QAction* action : actions_) {
        if (action->data().toInt() == commandId) {
            return action;
        }
    }
    return nullptr;
}

void CMeasCircuitDlg::FitColumns() {
    list_->FitColumnsToTitles();
    // A whole time stamp ("dd.mm.yyyy hh:mm:ss") and both values of a two-channel probe, which the
    // specified widths cut in common fonts.
    list_->FitColumnToText(M::kColLastMeas, QStringLiteral("00.00.0000 00:00:00"));
    list_->FitColumnToText(M::kColValue, QStringLiteral("100.000 %   -00.000 \u00b0C"));
}

void CMeasCircuitDlg::Retranslate() {
    setWindowTitle(tr("Measuring circuit"));
    controller_.Model()->Retranslate();
    FitColumns();
    list_->SetEmptyText(Text(32790));
    countLabel_->setText(tr("# modules:"));
    nextLabel_->setText(tr("Next measuring"));
    inLabel_->setText(tr("in:"));
    rateLabel_->setText(tr("Meas. &rate:"));
    const CircuitRun run = controller_.Running();
    loopButton_->setText(run == CircuitRun::kLoop ? Text(24777) : tr("&Meas. loop"));
    singleButton_->setText(run == CircuitRun::kSingle ? Text(24777) : tr("&Single meas."));
    displayButton_->setText(tr("&Display meas. values"));
    eraseButton_->setText(tr("&Erase meas. values"));
    displayAllButton_->setText(tr("Display &all meas. vals."));
    eraseAllButton_->setText(tr("Erase all meas. &vals."));
    offsetButton_->setText(tr("&Offset correct."));
    coeffButton_->setText(tr("&Calibr. coeff."));
    convTimeButton_->setText(tr("Convers. &time"));
    appParamsButton_->setText(tr("Appli. Paras"));
    haltButton_->setText(tr("HaltMState"));
    copyButton_->setText(tr("Copy measurement &files..."));
    closeButton_->setText(tr("Close"));
    for (QAction* action : actions_) {
        action->setText(FindText(TextKind::Label, action->data().toInt()));
    }
    ShowOutage();
    absentLabel_->setText(controller_.AbsentText());
    ShowPublishing();
}

// ---- showing ------------------------------------------------------------------------------------------

void CMeasCircuitDlg::UpdateCommandStates() {
    const CircuitCommands c = controller_.Commands();
    singleButton_->setEnabled(c.singleMeas);
    loopButton_->setEnabled(c.measLoop);
    rateEdit_->setEnabled(c.rateEdit);
    displayButton_->setEnabled(c.display);
    eraseButton_->setEnabled(c.erase);
    displayAllButton_->setEnabled(c.displayAll);
    eraseAllButton_->setEnabled(c.eraseAll);
    offsetButton_->setEnabled(c.offset);
    coeffButton_->setEnabled(c.coefficients);
    convTimeButton_->setEnabled(c.conversionTime);
    appParamsButton_->setEnabled(c.applicationParameters);
    haltButton_->setEnabled(c.haltState);
    copyButton_->setEnabled(c.copyFiles);
    const std::pair<int, bool> menu[] = {{C::ID_DISPLAY_VALUES, c.menuDisplay},
                                         {C::ID_EDIT_USER_INFO, c.menuUserData},
                                         {C::ID_ACTIVATE, c.menuActivate},
                                         {C::ID_REMOVE, c.menuRemove},
                                         {C::ID_RESCAN, c.menuRescan},
                                         {C::ID_STATION_NUMBER, c.menuStationNumber},
                                         {C::ID_RECREATE_ASCII, c.menuRecreateAscii},
                                         {C::ID_RESET_BAUD, c.menuResetBaud},
                                         {C::ID_ERROR66, c.menuError66},
                                         {C::ID_ACTIVE_CALIB, c.menuActiveCalib}};
    for (const auto& [id, enabled] : menu) {
        MenuAction(id)->setEnabled(enabled);
    }
}

void CMeasCircuitDlg::ShowOutage() {
    const PortOutageNotice& outage = controller_.Outage();
    const QString text = outage.Text();
    outageLabel_->setText(text);
    outageLabel_->setStyleSheet(outage.PortLost()
                                    ? QString::fromLatin1(kAttention)
                                    : QStringLiteral("QLabel { background: #d8f0d0; color: black; }"));
    outageLabel_->setVisible(!text.isEmpty());
}

void CMeasCircuitDlg::ShowPublishing() {
    const C::PublishLine line = controller_.Publishing();
    publishLabel_->setText(line.text);
    publishLabel_->setToolTip(line.tip);
    publishLabel_->setStyleSheet(line.good ? QString() : QString::fromLatin1(kAttention));
    publishLabel_->setVisible(!line.text.isEmpty());
}

CTitledPopupMenu* CMeasCircuitDlg::BuildContextMenu() {
    auto* menu = new CTitledPopupMenu(this);
    for (QAction* action : actions_) {
        menu->addAction(action);
    }
    menu->SetMenuTitle(controller_.MenuTitle());
    return menu;
}

bool CMeasCircuitDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        const int current = controller_.CurrentRow();
        const QRect row = current >= 0 ? list_->visualRect(list_->model()->index(current, 0)) : QRect();
        ShowContextMenu(row.isValid() ? QPoint(row.left() + 5, row.bottom()) : QPoint(5, 5), true);
        return true;
    }
    return CPlacementDialog::eventFilter(watched, event);
}

void CMeasCircuitDlg::ShowContextMenu(const QPoint& viewportPos, bool fromKeyboard) {
    if (controller_.ModuleCount() == 0) {
        return;
    }
    if (fromKeyboard) {
        BuildContextMenu()->Track(list_->viewport()->mapToGlobal(viewportPos));
        return;
    }
    // Only the rows' area opens the menu, not the header or the strip just below it.
    const QRect trigger = list_->viewport()->rect().adjusted(0, 2, 0, 0);
    if (!trigger.contains(viewportPos)) {
        return;
    }
    const QModelIndex index = list_->indexAt(viewportPos);
    if (index.isValid()) {
        list_->Select(index.row());
        controller_.SetCurrentRow(index.row());
    }
    BuildContextMenu()->Track(list_->viewport()->mapToGlobal(viewportPos + QPoint(0, 5)));
}

bool CMeasCircuitDlg::Allowed(int command) {
    const C::Verdict verdict = controller_.Check(command);
    if (!verdict.allowed) {
        Warn(verdict.refusal);
    }
    return verdict.allowed;
}

void CMeasCircuitDlg::Warn(const QString& text) {
    if (!text.isEmpty()) {
        ShowMessage(this, text, windowTitle(), MessageIcon::Warning);
    }
}

// ---- measuring and closing ----------------------------------------------------------------------------

void CMeasCircuitDlg::OnSingleMeas() {
    StartMeasuring(CircuitRun::kSingle);
}

void CMeasCircuitDlg::OnMeasLoop() {
    StartMeasuring(CircuitRun::kLoop);
}

void CMeasCircuitDlg::StartMeasuring(CircuitRun run) {
    Warn(controller_.StartOrStop(run, rateEdit_->text(), windowTitle()));
}

void CMeasCircuitDlg::StopAndRelease() {
    if (controller_.IsShutDown()) {
        return;
    }
    valueWindows_->CloseAll(); // they read the stores that go with the loop's slots
    controller_.Shutdown();
}

void CMeasCircuitDlg::reject() {
    if (DeferCloseWhileBusy(false)) {
        return; // a module dialog or bus command of this window is still running
    }
    // A measurement left running is not ended by a stray Escape; the end of the session asks nothing.
    if (!controller_.IsShutDown() && controller_.IsMeasuring() && !SessionEnd::Ending() &&
        ShowMessage(this, StopMeasuringQuestion(), windowTitle(), MessageIcon::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    if (!controller_.IsShutDown()) {
        SaveWindowPlacement(kSection);
        list_->SaveColumns(kSection);
    }
    StopAndRelease();
    CPlacementDialog::reject();
}

// ---- value windows and stored values ---------------------------------------------------------------

void CMeasCircuitDlg::OnDisplayValues() {
    if (Allowed(C::ID_DISPLAY_VALUES)) {
        valueWindows_->Open(controller_.CurrentRow(), true);
    }
}

void CMeasCircuitDlg::OnDisplayAll() {
    if (!Allowed(C::ID_DISPLAY_ALL)) {
        return;
    }
    const QScreen* screen = QGuiApplication::screenAt(pos()) != nullptr ? QGuiApplication::screenAt(pos())
                                                                        : QGuiApplication::primaryScreen();
    valueWindows_->OpenAll(screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
}

bool CMeasCircuitDlg::EraseRow(int row, bool confirm) {
    if (!controller_.HasStoredValues(row)) {
        return true;
    }
    if (confirm && ShowMessage(this, Text(24667), windowTitle(), MessageIcon::Question,
                               QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return false;
    }
    const QString failure = controller_.EraseValues(row);
    if (!failure.isEmpty()) {
        Warn(failure);
        return false;
    }
    if (const ModuleRecord* record = controller_.Loop().RecordAt(static_cast<uint32_t>(row))) {
        valueWindows_->Refresh(record->SerialNo()); // it reads the now empty store again
    }
    return true;
}

void CMeasCircuitDlg::OnErase() {
    if (Allowed(C::ID_ERASE)) {
        EraseRow(controller_.CurrentRow(), true);
    }
}

void CMeasCircuitDlg::OnEraseAll() {
    if (!Allowed(C::ID_ERASE_ALL) || !controller_.AnyStoredValues() ||
        ShowMessage(this, Text(24668), windowTitle(), MessageIcon::Question,
                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    for (int row = 0; row < controller_.Model()->rowCount(); ++row) {
        EraseRow(row, false);
    }
}

void CMeasCircuitDlg::OnRecreateAscii() {
    if (!Allowed(C::ID_RECREATE_ASCII) || !controller_.CanRecreateAscii()) {
        return;
    }
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = controller_.RecreateAscii(&error);
    QApplication::restoreOverrideCursor();
    if (ok) {
        ShowMessage(this, Text(24786), windowTitle(), MessageIcon::Information);
    } else {
        ShowMessage(this, Text(24787) + QLatin1Char('\n') + error, windowTitle(), MessageIcon::Stop);
    }
}

void CMeasCircuitDlg::OnCopyFiles() {
    if (!Allowed(C::ID_COPY_FILES) || ShowMessage(this, Text(24767), Text(24766), MessageIcon::Question,
                                                  QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const char* user = std::getenv("USER");
    const std::filesystem::path home = PathFromText(QDir::homePath().toStdString());
    const QString start =
        QString::fromStdString(PathText(RemovableMediaStart(user != nullptr ? user : "", home)));
    const QString folder =
        chooseFolder_ ? chooseFolder_(start) : AskExistingDirectory(this, Text(24766), start);
    if (folder.isEmpty()) {
        return;
    }
    bool allCopied = false;
    const QString report = controller_.CopyFiles(folder, &allCopied);
    ShowMessage(this, report, Text(24766), allCopied ? MessageIcon::Information : MessageIcon::Warning);
}

// ---- module commands ----------------------------------------------------------------------------------

void CMeasCircuitDlg::OnRescan() {
    if (!Allowed(C::ID_RESCAN)) {
        return;
    }
    // The worker identifies the module into a copy; the bus list is not touched until the job has ended.
    const int row = controller_.CurrentRow();
    const ModuleRecord* record = controller_.CurrentRecord();
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [&port = context_.portContext, copy = *record](BusJobControl&) { return C::Rescan(port, copy); },
        [this, row, record](const C::RescanOutcome& outcome) {
            controller_.SetJobRunning(false);
            if (!outcome.portOpened) {
                Warn(PortFailureText(context_.portContext));
            } else if (!ShowStationCheck(this, outcome.check)) {
                return;
            } else if (!outcome.identified) {
                Warn(Text(24671));
            } else {
                controller_.ApplyRescan(row, record, outcome.record);
                list_->setFocus();
            }
        });
    if (started) {
        controller_.SetJobRunning(true);
    }
}

void CMeasCircuitDlg::OnActivate() {
    if (!Allowed(C::ID_ACTIVATE)) {
        return;
    }
    Warn(controller_.ToggleActive());
}

void CMeasCircuitDlg::OnRemove() {
    if (!Allowed(C::ID_REMOVE) ||
        ShowMessage(this, Text(24717), windowTitle(), MessageIcon::Information,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    valueWindows_->Close(controller_.CurrentRecord()->SerialNo());
    Warn(controller_.RemoveCurrent());
    list_->setFocus();
}

void CMeasCircuitDlg::RunModuleDialog(int command, const ModuleWindows::ModalDialog& dialog) {
    if (!Allowed(command)) {
        return;
    }
    const int row = controller_.CurrentRow();
    {
        // The dialog is a local of the entry with this window as its parent: the window stays until it ended.
        WindowOperation operation(this);
        if (!dialog(context_, this, *controller_.CurrentRecord())) {
            return;
        }
    }
    Warn(controller_.SaveDialogChange(row));
}

void CMeasCircuitDlg::OnEditUserInfo() {
    // Allowed while measuring, when the loop copies the record on its thread: the dialog edits a copy, and
    // place and comment go back into the record under the loop's lock.
    const ModuleWindows::ModalDialog onCopy = [this](BusContext& context, QWidget* owner,
                                                     ModuleRecord& record) {
        ModuleRecord copy = record;
        if (!windows_.userData || !windows_.userData(context, owner, copy)) {
            return false;
        }
        return controller_.Loop().ChangeRecord(static_cast<uint32_t>(controller_.CurrentRow()),
                                               [&copy](ModuleRecord& shared) {
                                                   shared.szLocation = copy.szLocation;
                                                   shared.szComment = copy.szComment;
                                               });
    };
    RunModuleDialog(C::ID_EDIT_USER_INFO, onCopy);
}
void CMeasCircuitDlg::OnStationNumber() {
    RunModuleDialog(C::ID_STATION_NUMBER, windows_.changeStationNumber);
}
void CMeasCircuitDlg::OnResetBaud() {
    RunModuleDialog(C::ID_RESET_BAUD, windows_.resetBaud);
}
void CMeasCircuitDlg::OnError66() {
    RunModuleDialog(C::ID_ERROR66, windows_.error66Limit);
}
void CMeasCircuitDlg::OnActiveCalib() {
    RunModuleDialog(C::ID_ACTIVE_CALIB, windows_.activeCalibration);
}
void CMeasCircuitDlg::OnOffset() {
    RunModuleDialog(C::ID_OFFSET, windows_.offset);
}
void CMeasCircuitDlg::OnCoefficients() {
    RunModuleDialog(C::ID_COEFFICIENTS, windows_.coefficients);
}
void CMeasCircuitDlg::OnConversionTime() {
    RunModuleDialog(C::ID_CONVERSION_TIME, windows_.changeConversionTime);
}
void CMeasCircuitDlg::OnAppParams() {
    RunModuleDialog(C::ID_APP_PARAMS, windows_.applicationParameters);
}

void CMeasCircuitDlg::OnHaltState() {
    if (!Allowed(C::ID_HALT_STATE)) {
        return;
    }
    WindowOperation operation(this);
    CHaltMeasStateDlg dialog(context_, this, *controller_.CurrentRecord());
    RunModal(dialog);
}

} // namespace terrix

#include "gui/frame/main_frame.h"

#include "core/circuit/measuring_guard.h"
#include "core/inventory/bus_info_file.h"
#include "core/platform/com_port.h"
#include "gui/base/bus_activity.h"
#include "gui/base/measuring_status.h"
#include "gui/base/session_end.h"
#include "gui/toolkit/about_dlg.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/window_operation.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QTimerEvent>
#include <QToolBar>

#include <vector>

namespace terrix {

namespace {

QString CommandLabel(int id) {
    switch (id) {
    case ID_BUS_SERIAL_PORTS:
        return CMainFrame::tr("Serial &ports...");
    case ID_BUS_TRAFFIC:
        return CMainFrame::tr("Bus &traffic...");
    case ID_BUS_PUBLISH:
        return CMainFrame::tr("Publish &values...");
    default:
        return FindText(TextKind::Label, id);
    }
}

// "prompt\ntip"
QString CommandPrompt(int id) {
    switch (id) {
    case ID_BUS_SERIAL_PORTS:
        return CMainFrame::tr("Choose the device behind each COM port\nSerial ports");
    case ID_BUS_TRAFFIC:
        return CMainFrame::tr("Show the frames that go over the bus\nBus traffic");
    case ID_BUS_PUBLISH:
        return CMainFrame::tr("Send every stored value to an MQTT broker\nPublish values");
    default:
        return FindText(TextKind::Prompt, id);
    }
}

constexpr int kPortCommands[] = {ID_BUS_COM1, ID_BUS_COM2, ID_BUS_COM3, ID_BUS_COM4};

// Commands that use the bus: disabled while a bus operation runs.
constexpr int kBusCommands[] = {ID_BUS_COM1,
                                ID_BUS_COM2,
                                ID_BUS_COM3,
                                ID_BUS_COM4,
                                ID_BUS_SCAN_COMPLETELY,
                                ID_BUS_SCAN_KNOWN,
                                ID_MAINT_SCAN_BUS,
                                ID_MAINT_CREATE_COLLISION,
                                ID_MAINT_RESOLVE_COLLISIONS,
                                ID_BUS_SERIAL_PORTS};

// Items with no handler in this program; they are shown, but disabled.
constexpr int kUnhandledCommands[] = {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP,
                                      ID_EDIT_UNDO,  ID_EDIT_CUT,           ID_EDIT_COPY,
                                      ID_EDIT_PASTE, ID_INSERT_CHART,       ID_MAINT_MEASURE};

QString StripMnemonic(QString text) {
    text.remove(QLatin1Char('&'));
    return text;
}

// The context as the frame starts with it: COM port 1, nothing open, no error, an empty bus list.
std::unique_ptr<BusContext> MakeFrameBusContext() {
    auto context = std::make_unique<BusContext>();
    context->portContext.nPortNo = 1;
    return context;
}

// Records that stand for the saved bus: none has been identified in this run.
uint32_t SavedOnlyCount(const CBusList& list) {
    for (uint32_t i = 0; i < list.Count(); ++i) {
        if (list.GetAt(i)->enModuleState != msNotIdentified) {
            return 0;
        }
    }
    return list.Count();
}

} // namespace

CMainFrame::CMainFrame(FrameWindows windows, QWidget* parent)
    : QMainWindow(parent), windows_(std::move(windows)), busContext_(MakeFrameBusContext()) {
    setWindowIcon(QIcon(QStringLiteral(":/icons/terrix.png")));
    view_ = new CTerrixView(this);
    setCentralWidget(view_);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ReloadMenuBar();
    ReloadToolBar();
    ReloadStatusBar();
    UpdateTitle();
    resize(760, 480);
    timerId_ = startTimer(1000);
    connect(&BusActivitySignals::Instance(), &BusActivitySignals::busyChanged, this,
            &CMainFrame::OnBusyChanged);
    connect(&MeasuringStatus::Instance(), &MeasuringStatus::changed, this, &CMainFrame::UpdateMeasuringPane);
}

CMainFrame::~CMainFrame() {
    if (timerId_ != 0) {
        killTimer(timerId_);
    }
    // Child windows (a modeless window closed with deleteLater included) are deleted while the bus context
    // they work on still exists; the QWidget destructor would delete them only after it is gone.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            windows.emplace_back(child);
        }
    }
    for (const QPointer<QWidget>& window : windows) {
        delete window.data(); // null when an earlier window's destructor took it along
    }
    busContext_.reset();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A measurement left running for hours is not ended by a stray click; the end of the session asks
    // nothing.
    if (!closePending_ && !SessionEnd::Ending() && MeasuringGuard::IsMeasuring(busContext_->portContext) &&
        ShowMessage(this, StopMeasuringQuestion(), windowTitle(), MessageIcon::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    // A running operation (a scan, a module dialog, the measuring loop) is asked to stop; the frame closes
    // once it has ended, since the operation's objects are children of the frame or still on the stack.
    const bool busy = BusActivity::IsBusy(*busContext_);
    if (busy) {
        BusActivity::RequestCancel(*busContext_);
        closePending_ = true;
    }
    const QPointer<CMainFrame> self(this);
    const bool deferred = WindowOperation::DeferClose(this, [self] { self->close(); });
    if (busy || deferred) {
        event->ignore();
        return;
    }
    // Guarded: closing one window may delete others (the circuit window deletes its value windows).
    QList<QPointer<QWidget>> children;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        children.append(child);
    }
    for (const QPointer<QWidget>& child : children) {
        if (child != nullptr && child->isWindow() && child->isVisible() && !child->close()) {
            // The window stays open (it asked whether to discard a change, and the answer was no).
            closePending_ = false;
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::OnBusyChanged(BusContext* context, bool busy) {
    if (context != busContext_.get()) {
        return;
    }
    UpdateCommandStates();
    if (!busy) {
        UpdateScanHint(); // a bus operation may have filled the bus list
    }
    if (!busy && closePending_) {
        closePending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

QAction* CMainFrame::Action(int commandId) const {
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int commandId) {
    auto* action = new QAction(this);
    action->setData(commandId);
    actions_[commandId] = action;
    if (menu != nullptr) {
        menu->addAction(action);
    }
    return action;
}

void CMainFrame::CreateMenus() {
    fileMenu_ = menuBar()->addMenu(QString());
    AddCommand(fileMenu_, ID_FILE_NEW)->setShortcut(QKeySequence::New);
    AddCommand(fileMenu_, ID_FILE_OPEN)->setShortcut(QKeySequence::Open);
    AddCommand(fileMenu_, ID_FILE_SAVE)->setShortcut(QKeySequence::Save);
    AddCommand(fileMenu_, ID_FILE_SAVE_AS);
    fileMenu_->addSeparator();
    AddCommand(fileMenu_, ID_FILE_PRINT)->setShortcut(QKeySequence::Print);
    AddCommand(fileMenu_, ID_FILE_PRINT_PREVIEW);
    AddCommand(fileMenu_, ID_FILE_PRINT_SETUP);
    fileMenu_->addSeparator();
    AddCommand(fileMenu_, ID_APP_EXIT);

    editMenu_ = menuBar()->addMenu(QString());
    AddCommand(editMenu_, ID_EDIT_UNDO)->setShortcut(QKeySequence::Undo);
    editMenu_->addSeparator();
    AddCommand(editMenu_, ID_EDIT_CUT)->setShortcut(QKeySequence::Cut);
    AddCommand(editMenu_, ID_EDIT_COPY)->setShortcut(QKeySequence::Copy);
    AddCommand(editMenu_, ID_EDIT_PASTE)->setShortcut(QKeySequence::Paste);

    viewMenu_ = menuBar()->addMenu(QString());
    QAction* toolbar = AddCommand(viewMenu_, ID_VIEW_TOOLBAR);
    QAction* statusbar = AddCommand(viewMenu_, ID_VIEW_STATUS_BAR);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    statusbar->setCheckable(true);
    statusbar->setChecked(true);
    languageMenu_ = viewMenu_->addMenu(QString());
    // One language at a time, and the menu shows which.
    auto* languages = new QActionGroup(this);
    languages->setExclusive(true);
    for (const int id : {ID_VIEW_GERMAN, ID_VIEW_ENGLISH}) {
        QAction* action = AddCommand(languageMenu_, id);
        action->setCheckable(true);
        languages->addAction(action);
    }
    miscMenu_ = viewMenu_->addMenu(QString());
    AddCommand(miscMenu_, ID_INSERT_CHART);

    busMenu_ = menuBar()->addMenu(QString());
    portMenu_ = busMenu_->addMenu(QString());
    portGroup_ = new QActionGroup(this);
    portGroup_->setExclusive(true);
    for (int port = 1; port <= 4; ++port) {
        QAction* action = AddCommand(portMenu_, kPortCommands[port - 1]);
        action->setCheckable(true);
        portGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, port] { OnSelectPort(port); });
    }
    // The device behind a port can change in the settings file while the program runs.
    connect(portMenu_, &QMenu::aboutToShow, this, &CMainFrame::UpdatePortItems);
    AddCommand(busMenu_, ID_BUS_SERIAL_PORTS);
    busMenu_->addSeparator();
    AddCommand(busMenu_, ID_BUS_DISPLAY);
    AddCommand(busMenu_, ID_BUS_SCAN_COMPLETELY);
    AddCommand(busMenu_, ID_BUS_SCAN_KNOWN);
    busMenu_->addSeparator();
    AddCommand(busMenu_, ID_BUS_TRAFFIC);
    AddCommand(busMenu_, ID_BUS_PUBLISH);

    maintenanceMenu_ = menuBar()->addMenu(QString());
    AddCommand(maintenanceMenu_, ID_MAINT_FORGET_BUS_INFO);
    AddCommand(maintenanceMenu_, ID_MAINT_SCAN_BUS);
    maintenanceMenu_->addSeparator();
    AddCommand(maintenanceMenu_, ID_MAINT_CREATE_COLLISION);
    AddCommand(maintenanceMenu_, ID_MAINT_RESOLVE_COLLISIONS);
    maintenanceMenu_->addSeparator();
    AddCommand(maintenanceMenu_, ID_MAINT_MEASURE);

    helpMenu_ = menuBar()->addMenu(QString());
    AddCommand(helpMenu_, ID_APP_ABOUT);

    connect(Action(ID_FILE_NEW), &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(Action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(ID_FILE_SAVE), &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(Action(ID_FILE_SAVE_AS), &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    connect(Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(Action(ID_APP_ABOUT), &QAction::triggered, this, &CMainFrame::OnAbout);
    connect(Action(ID_VIEW_GERMAN), &QAction::triggered, this, [this] { OnLanguage(kLangGerman); });
    connect(Action(ID_VIEW_ENGLISH), &QAction::triggered, this, [this] { OnLanguage(kLangEnglish); });
    connect(Action(ID_MAINT_FORGET_BUS_INFO), &QAction::triggered, this, &CMainFrame::OnForgetBusInfo);
    connect(Action(ID_BUS_DISPLAY), &QAction::triggered, this, &CMainFrame::OnDisplay);
    connect(Action(ID_BUS_SCAN_KNOWN), &QAction::triggered, this, [this] { OnScan(0); });
    connect(Action(ID_MAINT_SCAN_BUS), &QAction::triggered, this, [this] { OnScan(1); });
    connect(Action(ID_BUS_SCAN_COMPLETELY), &QAction::triggered, this, [this] { OnScan(2); });
    connect(Action(ID_MAINT_CREATE_COLLISION), &QAction::triggered, this,
            [this] { RunModal(windows_.runCreateCollisions); });
    connect(Action(ID_MAINT_RESOLVE_COLLISIONS), &QAction::triggered, this, &CMainFrame::OnResolveCollisions);
    connect(Action(ID_BUS_SERIAL_PORTS), &QAction::triggered, this,
            [this] { RunModal(windows_.runSerialPorts); });
    connect(Action(ID_BUS_TRAFFIC), &QAction::triggered, this, &CMainFrame::OnTrafficMonitor);
    connect(Action(ID_BUS_PUBLISH), &QAction::triggered, this,
            [this] { RunModal(windows_.runPublishSettings); });
    // Opening a menu shows the current state of the commands that depend on other windows.
    for (QMenu* menu : {busMenu_, maintenanceMenu_}) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
    UpdateCommandStates();
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setMovable(true);
    toolBar_->setIconSize(QSize(16, 15));
    // New, Open | Save | Cut, Copy, Paste | Print | About; id 0 is a separator.
    const struct {
        int id;
        const char* icon;
    } buttons[] = {
        {ID_FILE_NEW, "new"}, {ID_FILE_OPEN, "open"},   {0, nullptr},           {ID_FILE_SAVE, "save"},
        {0, nullptr},         {ID_EDIT_CUT, "cut"},     {ID_EDIT_COPY, "copy"}, {ID_EDIT_PASTE, "paste"},
        {0, nullptr},         {ID_FILE_PRINT, "print"}, {0, nullptr},           {ID_APP_ABOUT, "about"}};
    for (const auto& button : buttons) {
        if (button.id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = Action(button.id);
        action->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(button.icon))));
        toolBar_->addAction(action);
    }
    connect(Action(ID_VIEW_TOOLBAR), &QAction::toggled, toolBar_, &QToolBar::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, Action(ID_VIEW_TOOLBAR), &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
    messagePane_ = new QLabel(this);
    statusBar()->addWidget(messagePane_, 1);
    measuringPane_ = new QLabel(this);
    measuringPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    measuringPane_->hide();
    statusBar()->addPermanentWidget(measuringPane_);
    clockPane_ = new QLabel(this);
    clockPane_->setAlignment(Qt::AlignCenter);
    clockPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(clockPane_);
    connect(Action(ID_VIEW_STATUS_BAR), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    // The clock shows a time before the first tick.
    UpdateClock();
}

void CMainFrame::UpdateClock() {
    if (firstUpdate_) {
        firstUpdate_ = false;
        clockPane_->setEnabled(true);
    }
    clockPane_->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void CMainFrame::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timerId_) {
        UpdateClock();
    }
    QMainWindow::timerEvent(event);
}

void CMainFrame::ReloadMenuBar() {
    fileMenu_->setTitle(PopupTitle(MenuPopup::File));
    editMenu_->setTitle(PopupTitle(MenuPopup::Edit));
    viewMenu_->setTitle(PopupTitle(MenuPopup::View));
    languageMenu_->setTitle(PopupTitle(MenuPopup::Language));
    miscMenu_->setTitle(PopupTitle(MenuPopup::Misc));
    busMenu_->setTitle(PopupTitle(MenuPopup::Bus));
    portMenu_->setTitle(PopupTitle(MenuPopup::SerialComport));
    maintenanceMenu_->setTitle(PopupTitle(MenuPopup::Maintenance));
    helpMenu_->setTitle(PopupTitle(MenuPopup::Help));
    for (const auto& [id, action] : actions_) {
        action->setText(CommandLabel(id));
        action->setStatusTip(CommandPrompt(id).section(QLatin1Char('\n'), 0, 0));
    }
    // Only the German key table has Ctrl+B for "scan completely".
    Action(ID_BUS_SCAN_COMPLETELY)
        ->setShortcut(CurrentLanguage() == kLangGerman ? QKeySequence(Qt::CTRL | Qt::Key_B) : QKeySequence());
    // Also after a failed switch: the mark stays on the language still shown.
    Action(CurrentLanguage() == kLangGerman ? ID_VIEW_GERMAN : ID_VIEW_ENGLISH)->setChecked(true);
    UpdatePortItems();
}

void CMainFrame::ReloadToolBar() {
    toolBar_->setWindowTitle(StripMnemonic(MenuText(ID_VIEW_TOOLBAR)));
    for (const auto& [id, action] : actions_) {
        const QString prompt = CommandPrompt(id);
        const QString tip = prompt.section(QLatin1Char('\n'), 1, 1);
        action->setToolTip(tip.isEmpty() ? StripMnemonic(action->text()) : tip);
    }
}

void CMainFrame::UpdateMeasuringPane() {
    const QString text = LoopStatusText(MeasuringStatus::Instance().Shown(busContext_.get()));
    measuringPane_->setText(text);
    measuringPane_->setVisible(!text.isEmpty());
}

void CMainFrame::ReloadStatusBar() {
    messagePane_->setText(Text(57345));
    UpdateMeasuringPane();
    const QFontMetrics metrics(clockPane_->font());
    clockPane_->setMinimumWidth(metrics.horizontalAdvance(Text(101)) + 12);
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ReloadMenuBar();
        ReloadToolBar();
        ReloadStatusBar();
    }
    QMainWindow::changeEvent(event);
}

void CMainFrame::UpdatePortItems() {
    for (int port = 1; port <= 4; ++port) {
        const int id = kPortCommands[port - 1];
        QAction* action = Action(id);
        action->setText(
            QStringLiteral("%1 (%2)").arg(CommandLabel(id), QString::fromStdString(PortDeviceName(port))));
        action->setChecked(busContext_->portContext.nPortNo == port);
    }
}

void CMainFrame::UpdateCommandStates() {
    for (int id : kUnhandledCommands) {
        Action(id)->setEnabled(false);
    }
    Action(ID_BUS_DISPLAY)->setEnabled(static_cast<bool>(windows_.createCircuitWindow));
    Action(ID_BUS_TRAFFIC)->setEnabled(static_cast<bool>(windows_.createTrafficMonitor));
    Action(ID_BUS_PUBLISH)->setEnabled(static_cast<bool>(windows_.runPublishSettings));
    for (int id : {ID_BUS_SCAN_COMPLETELY, ID_BUS_SCAN_KNOWN, ID_MAINT_SCAN_BUS}) {
        Action(id)->setEnabled(static_cast<bool>(windows_.runScan));
    }
    Action(ID_MAINT_CREATE_COLLISION)->setEnabled(static_cast<bool>(windows_.runCreateCollisions));
    Action(ID_MAINT_RESOLVE_COLLISIONS)->setEnabled(static_cast<bool>(windows_.runResolveCollisions));
    Action(ID_BUS_SERIAL_PORTS)->setEnabled(static_cast<bool>(windows_.runSerialPorts));
    if (BusActivity::IsBusy(*busContext_)) {
        for (int id : kBusCommands) {
            Action(id)->setEnabled(false);
        }
    } else {
        for (int id : kPortCommands) {
            Action(id)->setEnabled(true);
        }
    }
}

void CMainFrame::ListSavedBus() {
    if (!busContext_->busList.IsEmpty() || BusActivity::IsBusy(*busContext_)) {
        return;
    }
    LoadBusInfo(busContext_->busList);
    UpdateScanHint();
}

void CMainFrame::UpdateScanHint() {
    const CBusList& list = busContext_->busList;
    const uint32_t saved = SavedOnlyCount(list);
    view_->SetScanHintShown(!scanFinished_ && (list.IsEmpty() || saved > 0), saved);
}

void CMainFrame::RunModal(const std::function<void(BusContext&, QWidget*)>& run) {
    if (run) {
        WindowOperation operation(this); // the window is a local of `run`, with the frame as its parent
        run(*busContext_, this);
    }
}

void CMainFrame::UpdateTitle() {
    const QString title = document_.Title();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Terrix") : title + QStringLiteral(" - Terrix"));
}

void CMainFrame::OnSelectPort(int portNumber) {
    // Only the number changes; the windows that talk to the bus open the port when they need it.
    if (portNumber >= 1 && portNumber <= 4) {
        busContext_->portContext.nPortNo = portNumber;
    }
    UpdatePortItems();
}

void CMainFrame::OnForgetBusInfo() {
    const QString caption = windowTitle();
    if (busContext_ == nullptr) {
        ShowMessage(this, QString::fromUtf8("Konnte Buszustand nicht verwerfen.\nInterner Programm-Fehler!"),
                    caption);
        return;
    }
    // Only the stored state goes; the records in memory stay as they are.
    InventoryFileError error;
    if (!ForgetBusInfo(&error)) {
        // The stored state is still there: say so, and why, rather than report success.
        // The heading is German in both languages, as the success message; the reason is the user's.
        ShowMessage(this,
                    QString::fromUtf8("Konnte Buszustand nicht verwerfen.\n") + CoreText(error.Message()),
                    caption, MessageIcon::Warning);
        return;
    }
    ShowMessage(
        this,
        QString::fromUtf8("Aktueller Buszustand wurde verworfen.\nBeim nächsten Mal wird der Bus komplett "
                          "abgesucht."),
        caption);
}

void CMainFrame::OnLanguage(uint16_t primary) {
    if (!SwitchLanguage(primary)) {
        ShowMessage(this, primary == kLangGerman ? QStringLiteral("Error loading German resources!")
                                                 : QStringLiteral("Error loading English resources!"));
        ReloadMenuBar(); // the click checked the item of the language that did not load
    }
}

void CMainFrame::OnChildClosed(QWidget* child) {
    if (child == nullptr) {
        return;
    }
    if (child == circuitWindow_) {
        circuitWindow_ = nullptr;
    }
    if (child == trafficMonitor_) {
        trafficMonitor_ = nullptr;
    }
}

namespace {

// Brings an open window forward, or creates one with `create` and shows it modeless; the frame forgets it
// when it reports its end.
void OpenOnce(CMainFrame* frame, QPointer<QWidget>& window,
              const std::function<CPlacementDialog*(BusContext&, QWidget*)>& create) {
    if (window != nullptr) {
        window->raise();
        window->activateWindow();
        return;
    }
    if (!create) {
        return;
    }
    CPlacementDialog* created = create(*frame->GetBusContext(), frame);
    if (created == nullptr) {
        return;
    }
    window = created;
    QObject::connect(created, &CPlacementDialog::childClosed, frame, &CMainFrame::OnChildClosed);
    created->Create();
    created->showNormal();
}

} // namespace

void CMainFrame::OnDisplay() {
    UpdateScanHint();
    // A scan or resolution that ended because the session ends brings back no window.
    if (WindowOperation::ClosingAround(this)) {
        return;
    }
    std::function<CPlacementDialog*(BusContext&, QWidget*)> create;
    if (windows_.createCircuitWindow) {
        create = [this](BusContext& context, QWidget* owner) {
            return windows_.createCircuitWindow(context, owner, windows_.moduleWindows);
        };
    }
    OpenOnce(this, circuitWindow_, create);
}

void CMainFrame::OnTrafficMonitor() {
    OpenOnce(this, trafficMonitor_, windows_.createTrafficMonitor);
}

bool CMainFrame::CloseCircuitWindow() {
    // A scan or a resolution deletes and rebuilds the records whose rows (and measuring slots) the circuit
    // window holds: it goes first, through its own close path, which may refuse (it then stays open).
    if (circuitWindow_ != nullptr) {
        circuitWindow_->close();
    }
    return circuitWindow_ == nullptr;
}

void CMainFrame::OnResolveCollisions() {
    if (!windows_.runResolveCollisions) {
        return;
    }
    const bool wasOpen = circuitWindow_ != nullptr;
    if (!CloseCircuitWindow()) {
        return;
    }
    {
        WindowOperation operation(this);
        windows_.runResolveCollisions(*busContext_, this);
    }
    if (wasOpen) {
        QMetaObject::invokeMethod(this, &CMainFrame::OnDisplay, Qt::QueuedConnection);
    }
}

void CMainFrame::OnScan(int mode) {
    if (!windows_.runScan) {
        return;
    }
    const bool wasOpen = circuitWindow_ != nullptr;
    if (!CloseCircuitWindow()) {
        return;
    }
    bool finished = false;
    {
        WindowOperation operation(this);
        finished = windows_.runScan(*busContext_, this, mode);
    }
    scanFinished_ = scanFinished_ || finished;
    UpdateScanHint();
    update();
    // After a finished scan the circuit window opens with the new bus state once the dialog has gone; a
    // cancelled scan only brings back a window that was open before.
    if (finished || wasOpen) {
        QMetaObject::invokeMethod(this, &CMainFrame::OnDisplay, Qt::QueuedConnection);
    }
}

void CMainFrame::OnAbout() {
    CAboutDlg about(ProgramVersionInfo(), this);
    terrix::RunModal(about);
}

void CMainFrame::OnFileNew() {
    document_.OnNewDocument();
    UpdateTitle();
}

void CMainFrame::OnFileOpen() {
    const QString path = AskOpenFileName(this);
    if (path.isEmpty()) {
        return;
    }
    document_.OnOpenDocument(path);
    UpdateTitle();
}

void CMainFrame::OnFileSave() {
    if (document_.PathName().isEmpty()) {
        OnFileSaveAs();
        return;
    }
    QString error;
    if (!document_.OnSaveDocument(document_.PathName(), &error)) {
        ShowMessage(this, error, windowTitle(), MessageIcon::Warning);
    }
}

void CMainFrame::OnFileSaveAs() {
    const QString path = AskSaveFileName(this);
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!document_.OnSaveDocument(path, &error)) {
        ShowMessage(this, error, windowTitle(), MessageIcon::Warning);
        return;
    }
    UpdateTitle();
}

bool CMainFrame::BringForward() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace terrix

#include "gui/app/main_frame.h"

#include "core/platform/com_port.h"
#include "core/platform/ini_section.h"
#include "gui/app/frame_windows.h"
#include "gui/app/string_catalogue.h"
#include "gui/toolkit/about_dlg.h"
#include "gui/toolkit/message_box.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTime>
#include <QTimerEvent>
#include <QToolBar>

#include <cstring>

namespace terrix {

namespace {

// Menu label and status prompt ("prompt\ntip") of each command; both are numbered texts of the catalogue.
struct CommandText {
    int id;
    const char* label;
    const char* prompt;
};

constexpr CommandText kCommandTexts[] = {
    {ID_FILE_NEW, "&New", "Create a new document\nNew"},
    {ID_FILE_OPEN, "&Open...", "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "&Save", "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name\nSave As"},
    {ID_FILE_PRINT, "&Print...", "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Display full pages\nPrint Preview"},
    {ID_FILE_PRINT_SETUP, "P&rint Setup...", "Change the printer and printing options\nPrint Setup"},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents\nExit"},
    {ID_EDIT_UNDO, "&Undo", "Undo the last action\nUndo"},
    {ID_EDIT_CUT, "Cu&t", "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_COPY, "&Copy", "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_PASTE, "&Paste", "Insert Clipboard contents\nPaste"},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar"},
    {ID_VIEW_GERMAN, "&german", "Switch the user interface to German\nGerman"},
    {ID_VIEW_ENGLISH, "&english", "Switch the user interface to English\nEnglish"},
    {ID_INSERT_CHART, "Insert &chart", "Insert a chart\nInsert chart"},
    {ID_BUS_COM1, "Serial Comport1", "Use serial port COM1 for the NKP-Bus\nCOM1"},
    {ID_BUS_COM2, "Serial Comport2", "Use serial port COM2 for the NKP-Bus\nCOM2"},
    {ID_BUS_COM3, "Serial Comport3", "Use serial port COM3 for the NKP-Bus\nCOM3"},
    {ID_BUS_COM4, "Serial Comport4", "Use serial port COM4 for the NKP-Bus\nCOM4"},
    {ID_BUS_DISPLAY, "&display", "Lists all found modules"},
    {ID_BUS_SCAN_COMPLETELY, "&scan completely", "Scan the whole bus for modules\nScan completely"},
    {ID_BUS_SCAN_KNOWN, "scan only for known modules",
     "Scan the bus for the known modules only\nScan for known modules"},
    {ID_MAINT_FORGET_BUS_INFO, "&Forget bus info", "Forget all module info"},
    {ID_MAINT_SCAN_BUS, "&Scan bus", "Scan the bus for modules\nScan bus"},
    {ID_MAINT_CREATE_COLLISION, "Create &collision on bus",
     "Give every known module the same station number\nCreate collision"},
    {ID_MAINT_RESOLVE_COLLISIONS, "&Resolve collisions",
     "Resolve the address collisions on the bus\nResolve collisions"},
    {ID_MAINT_MEASURE, "&Measure", "Measure\nMeasure"},
    {ID_APP_ABOUT, "&About Terrix...", "Display program information, version number and copyright\nAbout"},
};

constexpr int kPortCommands[] = {ID_BUS_COM1, ID_BUS_COM2, ID_BUS_COM3, ID_BUS_COM4};

// Items with no handler in this program; they are shown, but disabled.
constexpr int kUnhandledCommands[] = {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP,
                                      ID_EDIT_UNDO,  ID_EDIT_CUT,           ID_EDIT_COPY,
                                      ID_EDIT_PASTE, ID_INSERT_CHART,       ID_MAINT_MEASURE};

const CommandText* FindText(int id) {
    for (const CommandText& text : kCommandTexts) {
        if (text.id == id) {
            return &text;
        }
    }
    return nullptr;
}

QString Numbered(const char* source, int id) {
    return CatalogueText(source, QByteArray::number(id).constData());
}

QString Popup(const char* source) {
    return CatalogueText(source, "128");
}

QString StripMnemonic(QString text) {
    text.remove(QLatin1Char('&'));
    return text;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), busContext_(MakeFrameBusContext()) {
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
}

CMainFrame::~CMainFrame() {
    if (timerId_ != 0) {
        killTimer(timerId_);
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
    AddCommand(languageMenu_, ID_VIEW_GERMAN);
    AddCommand(languageMenu_, ID_VIEW_ENGLISH);
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
    busMenu_->addSeparator();
    AddCommand(busMenu_, ID_BUS_DISPLAY);
    AddCommand(busMenu_, ID_BUS_SCAN_COMPLETELY);
    AddCommand(busMenu_, ID_BUS_SCAN_KNOWN);

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
    connect(Action(ID_MAINT_CREATE_COLLISION), &QAction::triggered, this, [this] {
        if (RegisteredFrameWindows().runCreateCollisions) {
            RegisteredFrameWindows().runCreateCollisions(*this);
        }
    });
    connect(Action(ID_MAINT_RESOLVE_COLLISIONS), &QAction::triggered, this, [this] {
        if (RegisteredFrameWindows().runResolveCollisions) {
            RegisteredFrameWindows().runResolveCollisions(*this);
        }
    });
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

bool CMainFrame::ReloadMenuBar() {
    fileMenu_->setTitle(Popup("&File"));
    editMenu_->setTitle(Popup("&Edit"));
    viewMenu_->setTitle(Popup("&View"));
    languageMenu_->setTitle(Popup("&Language"));
    miscMenu_->setTitle(Popup("&Misc."));
    busMenu_->setTitle(Popup("&Bus"));
    portMenu_->setTitle(Popup("Serial &Comport"));
    maintenanceMenu_->setTitle(Popup("&Maintenance"));
    helpMenu_->setTitle(Popup("&?"));
    for (const auto& [id, action] : actions_) {
        const CommandText* text = FindText(id);
        if (text == nullptr) {
            continue;
        }
        action->setText(Numbered(text->label, id));
        action->setStatusTip(Numbered(text->prompt, id).section(QLatin1Char('\n'), 0, 0));
    }
    // Only the German key table has Ctrl+B for "scan completely".
    Action(ID_BUS_SCAN_COMPLETELY)
        ->setShortcut(CurrentLanguage() == kLangGerman ? QKeySequence(Qt::CTRL | Qt::Key_B) : QKeySequence());
    UpdatePortItems();
    return true;
}

bool CMainFrame::ReloadToolBar() {
    toolBar_->setWindowTitle(StripMnemonic(Numbered("&Toolbar", ID_VIEW_TOOLBAR)));
    for (const auto& [id, action] : actions_) {
        const CommandText* text = FindText(id);
        if (text == nullptr) {
            continue;
        }
        const QString prompt = Numbered(text->prompt, id);
        const QString tip = prompt.section(QLatin1Char('\n'), 1, 1);
        action->setToolTip(tip.isEmpty() ? StripMnemonic(action->text()) : tip);
    }
    return true;
}

bool CMainFrame::ReloadStatusBar() {
    messagePane_->setText(CatalogueText("Ready", "57345"));
    const QFontMetrics metrics(clockPane_->font());
    clockPane_->setMinimumWidth(metrics.horizontalAdvance(CatalogueText("hh:mm:ss", "101")) + 12);
    return true;
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
        const CommandText* text = FindText(id);
        action->setText(QStringLiteral("%1 (%2)").arg(Numbered(text->label, id),
                                                      QString::fromStdString(PortDeviceName(port))));
        action->setChecked(busContext_->portContext.nPortNo == port);
    }
}

void CMainFrame::UpdateCommandStates() {
    for (int id : kUnhandledCommands) {
        Action(id)->setEnabled(false);
    }
    const FrameWindows& windows = RegisteredFrameWindows();
    Action(ID_BUS_DISPLAY)->setEnabled(static_cast<bool>(windows.createCircuitWindow));
    for (int id : {ID_BUS_SCAN_COMPLETELY, ID_BUS_SCAN_KNOWN, ID_MAINT_SCAN_BUS}) {
        Action(id)->setEnabled(static_cast<bool>(windows.runScan));
    }
    Action(ID_MAINT_CREATE_COLLISION)->setEnabled(static_cast<bool>(windows.runCreateCollisions));
    Action(ID_MAINT_RESOLVE_COLLISIONS)->setEnabled(static_cast<bool>(windows.runResolveCollisions));
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
    CIniSection settings;
    if (!settings.ResetSection("BUS INFO")) {
        // The stored state is still there: say so, and why, rather than report success.
        ShowMessage(this,
                    QString::fromUtf8("Konnte Buszustand nicht verwerfen.\n%1: %2")
                        .arg(QString::fromStdString(settings.File().string()),
                             QString::fromLocal8Bit(std::strerror(settings.LastError()))),
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
    if (!SwitchLanguage(primary, this)) {
        ShowMessage(this, primary == kLangGerman ? QStringLiteral("Error loading German resources!")
                                                 : QStringLiteral("Error loading English resources!"));
    }
}

void CMainFrame::OnChildClosed(QWidget* child) {
    if (child != nullptr && child == circuitWindow_) {
        circuitWindow_ = nullptr;
    }
}

void CMainFrame::OnDisplay() {
    if (circuitWindow_ != nullptr) {
        circuitWindow_->raise();
        circuitWindow_->activateWindow();
        return;
    }
    const FrameWindows& windows = RegisteredFrameWindows();
    if (!windows.createCircuitWindow) {
        return;
    }
    circuitWindow_ = windows.createCircuitWindow(*this);
    if (circuitWindow_ != nullptr) {
        circuitWindow_->showNormal();
    }
}

void CMainFrame::OnScan(int mode) {
    const FrameWindows& windows = RegisteredFrameWindows();
    if (!windows.runScan) {
        return;
    }
    windows.runScan(*this, mode);
    update();
    // The circuit window opens (or comes forward) with the new bus state once the dialog has gone.
    QMetaObject::invokeMethod(this, &CMainFrame::OnDisplay, Qt::QueuedConnection);
}

void CMainFrame::OnAbout() {
    CAboutDlg about(ProgramVersionInfo(), this);
    about.exec();
}

void CMainFrame::OnFileNew() {
    document_.OnNewDocument();
    UpdateTitle();
}

void CMainFrame::OnFileOpen() {
    const QString path = QFileDialog::getOpenFileName(this);
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
    const QString path = QFileDialog::getSaveFileName(this);
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

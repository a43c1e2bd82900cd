#pragma once
// The program's main window: menus, tool bar and a status bar with a clock. It owns the bus context for the
// whole run, selects the COM port, forgets the stored bus state on command, switches the language, and
// keeps at most one measuring circuit window open.

#include "core/inventory/bus_context.h"
#include "gui/base/language.h"
#include "gui/base/window_contracts.h"
#include "gui/frame/terrix_doc.h"
#include "gui/toolkit/placement_dialog.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace terrix {

// Command numbers of the frame's menu and tool bar items.
enum FrameCommand : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_INSERT_CHART = 32771,
    ID_BUS_SCAN_COMPLETELY = 32773,
    ID_BUS_DISPLAY = 32775,
    ID_MAINT_MEASURE = 32776,
    ID_VIEW_GERMAN = 32777,
    ID_VIEW_ENGLISH = 32778,
    ID_MAINT_CREATE_COLLISION = 32780,
    ID_MAINT_RESOLVE_COLLISIONS = 32782,
    ID_BUS_SCAN_KNOWN = 32784,
    ID_MAINT_FORGET_BUS_INFO = 32786,
    ID_MAINT_SCAN_BUS = 32787,
    ID_BUS_COM1 = 32819,
    ID_BUS_COM2 = 32820,
    ID_BUS_COM3 = 32821,
    ID_BUS_COM4 = 32824,
    // Commands of this program that have no resource number of their own.
    ID_BUS_SERIAL_PORTS = 32840,
    ID_BUS_TRAFFIC = 32841,
    ID_BUS_PUBLISH = 32842,
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `windows`: what the Bus and Maintenance commands open (AllFrameWindows() in the program).
    explicit CMainFrame(FrameWindows windows = {}, QWidget* parent = nullptr);
    // Child windows go first (their destructors may still use the bus context), then the context.
    ~CMainFrame() override;

    QAction* Action(int commandId) const;
    QMenu* BusMenu() const { return busMenu_; }
    QMenu* PortMenu() const { return portMenu_; }
    QLabel* ClockPane() const { return clockPane_; }
    // Whether a measuring loop runs on the frame's bus and when its next round is due; hidden without one.
    QLabel* MeasuringPane() const { return measuringPane_; }
    QLabel* MessagePane() const { return messagePane_; }
    QToolBar* ToolBar() const { return toolBar_; }
    CTerrixDoc& Document() { return document_; }
    CTerrixView* View() const { return view_; }

    BusContext* GetBusContext() { return busContext_.get(); }
    // At start-up: lists the bus the last scan saved, its modules not identified until a scan finds them,
    // so that without a bus (or in a folder filled by the collector) their stored values can still be
    // listed and plotted. Does nothing once the list holds records.
    void ListSavedBus();
    // A modeless window has gone (its childClosed signal): the circuit window or monitor is forgotten.
    void OnChildClosed(QWidget* child);
    QWidget* CircuitWindow() const { return circuitWindow_; }
    QWidget* TrafficMonitor() const { return trafficMonitor_; }

    // Texts of the menus, the tool bar and the status bar in the current language (again after a switch).
    void ReloadMenuBar();
    void ReloadToolBar();
    void ReloadStatusBar();

    // Restores, raises and activates the window (a second start asks for this).
    bool BringForward();

    // The commands.
    void OnSelectPort(int portNumber);
    void OnForgetBusInfo();
    void OnLanguage(uint16_t primary);
    void OnDisplay();
    // Both close the circuit window first (its rows point at the records they rebuild).
    void OnScan(int mode);
    void OnResolveCollisions();
    void OnTrafficMonitor();
    void OnAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();

protected:
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Asks first while a measuring loop runs (not when the session ends). Closes every child window first
    // (each runs its own close path and may refuse); while a bus operation runs, the operation is asked to
    // stop and the frame closes once it has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void OnBusyChanged(BusContext* context, bool busy);
    // Runs a modal window's entry of the table, if there is one.
    void RunModal(const std::function<void(BusContext&, QWidget*)>& run);
    // Closes the circuit window; false when it refused and is still open.
    bool CloseCircuitWindow();
    QAction* AddCommand(QMenu* menu, int commandId);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateClock();
    void UpdateMeasuringPane();
    void UpdatePortItems();
    void UpdateCommandStates();
    void UpdateTitle();
    // The window's hint, while no scan has finished in this run and the list is empty or the saved bus.
    void UpdateScanHint();

    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* clockPane_ = nullptr;
    QLabel* measuringPane_ = nullptr;
    bool firstUpdate_ = true;
    int timerId_ = 0;
    FrameWindows windows_;
    std::unique_ptr<BusContext> busContext_;
    bool closePending_ = false;
    bool scanFinished_ = false;
    QPointer<QWidget> circuitWindow_;
    QPointer<QWidget> trafficMonitor_;
    CTerrixDoc document_;
    CTerrixView* view_ = nullptr;

    std::map<int, QAction*> actions_;
    QActionGroup* portGroup_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QMenu* miscMenu_ = nullptr;
    QMenu* busMenu_ = nullptr;
    QMenu* portMenu_ = nullptr;
    QMenu* maintenanceMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
};

} // namespace terrix

#pragma once
// The measured-value window of one module: every stored value of its value store as a list (row i is
// record i, read when the list draws it, so a file of millions of records opens at once), or, with the
// "Plot" button, as a plot. The toolbar moves the plot over the values and the list follows it. The
// circuit window opens it over the store of the module's measuring slot and passes new values on; the
// window follows them only while its list stands at the end.

#include "core/measure/csv_export.h"
#include "core/measure/plot_data.h"
#include "gui/base/window_contracts.h"
#include "gui/toolkit/placement_dialog.h"

#include <QString>

#include <limits>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QSpinBox;
class QStackedWidget;
class QToolBar;

namespace terrix {

class CMeasPlotWidget;
class CMeasValueList;
class CReportListCtrl;

// Command numbers of the window's toolbar.
enum MeasValueCommand {
    ID_MEAS_FIRST = 32792,
    ID_MEAS_PAGE_BACK = 32793,
    ID_MEAS_BACK = 32794,
    ID_MEAS_FORWARD = 32795,
    ID_MEAS_PAGE_FORWARD = 32796,
    ID_MEAS_LAST = 32797,
    ID_MEAS_MARKERS = 32798,
    ID_MEAS_PLOT = 32801,
    ID_MEAS_ERASE = 1123,
    // Commands of this program without a resource number of their own.
    ID_MEAS_COPY = 32850,
    ID_MEAS_EXPORT = 32851,
    ID_MEAS_SAVE_PICTURE = 32852,
};

// The settings-file section of a module's window placement and list columns: "Layout for <serial>".
std::string MeasValueLayoutSection(uint16_t serialNo);

// The samples per plot the spin control shows: what the user asked for (at least 1), limited only by what
// the control holds. More than the stored values is allowed: 40 over 10 values shows the 10, and the 40 as
// the values grow.
inline constexpr int64_t kSamplesPerPlotSpinMaximum = std::numeric_limits<int>::max();
int64_t SpinSamplesPerPlot(int64_t wanted);

class CMeasValueDlg : public CPlacementDialog, public MeasValueView {
    Q_OBJECT
public:
    // More rows than this are not put on the clipboard; "Export..." writes any number.
    static constexpr int64_t kMaxCopyRows = 100000;

    // `store` belongs to the module's measuring slot (bound to the module) and must outlive the window.
    CMeasValueDlg(BusContext& context, QWidget* owner, ModuleRecord& record, CMeasValueStore& store);
    ~CMeasValueDlg() override;

    CPlacementDialog* Window() override { return this; }
    // A value was appended (or, after an erase elsewhere, the store shrank): the list takes the store's
    // count and follows a new row only when it stood at the end.
    void OnNewValue() override;

    // The toolbar's commands.
    void Navigate(PlotMove move);
    void ToggleMarkers();
    void ShowPlot(bool plot);
    void SetSamplesPerPlot(int64_t wanted);
    // Erases the stored values, asking 24667 first when `confirm`; a failure is reported with 24669 and
    // the list then shows what is left. False when nothing was erased (no values, No, or the failure).
    bool EraseValues(bool confirm);
    // Copies the selected rows to the clipboard; false (with a message) when none or too many are selected.
    bool CopySelection();
    // "Export...": asks for the range and the format, then for the file.
    void OnExport();
    // Writes the values [begin, end) as CSV; false with a message naming the cause.
    bool ExportTo(const QString& path, uint32_t begin, uint32_t end, const CsvOptions& options);
    // "Save plot as picture...": asks for the file.
    void OnSavePicture();
    bool SavePictureTo(const QString& path);

    CMeasValueList* List() const { return values_; }
    CMeasPlotWidget* Plot() const { return plot_; }
    QLineEdit* FirstEdit() const { return firstEdit_; }
    QLineEdit* CountEdit() const { return countEdit_; }
    QSpinBox* SamplesSpin() const { return sppSpin_; }
    QAction* Action(int commandId) const;
    bool PlotShown() const;
    int64_t CurrentRow() const { return currentRow_; }
    int64_t WantedSamplesPerPlot() const { return wantedSpp_; }
    const CMeasValueStore& Store() const { return store_; }

public Q_SLOTS:
    void reject() override;

private:
    QAction* AddCommand(QToolBar* bar, int commandId, const QIcon& icon, const QKeySequence& key);
    void BuildColumns();
    QString ColumnTitle(size_t field) const;
    void RetranslateUi();
    QString CellText(int64_t record, int column);
    QVariant CellData(int64_t record, int column, int role);
    int StoreRowCount();
    void RefreshCounts();
    void OnPlotMoved(int64_t first);
    void OnRowSelected(int64_t record);
    void OnFirstEdited();
    void SaveLayout();

    BusContext& context_;
    ModuleRecord& record_;
    CMeasValueStore& store_;
    const uint16_t serialNo_;
    const std::string section_;
    std::vector<std::string> units_; // per field, UTF-8; empty where none
    std::unique_ptr<StorePlotSource> source_;
    CMeasRecord columns_; // titles and formats of the columns, apart from the store's records

    QMenuBar* menuBar_ = nullptr;
    QMenu* valuesMenu_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* firstLabel_ = nullptr;
    QLabel* sppLabel_ = nullptr;
    QLineEdit* firstEdit_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    QSpinBox* sppSpin_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    CMeasValueList* values_ = nullptr;
    CReportListCtrl* list_ = nullptr; // the table of values_
    CMeasPlotWidget* plot_ = nullptr;
    std::vector<std::pair<int, QAction*>> actions_;

    int64_t currentRow_ = -1;
    int64_t wantedSpp_ = kDefaultSamplesPerPlot;
    bool syncing_ = false; // the list follows the plot: its selection must not move the plot again
    bool layoutSaved_ = false;
};

// Registers the window as the circuit window's value window.
void RegisterMeasValueWindow(FrameWindows& windows);

} // namespace terrix

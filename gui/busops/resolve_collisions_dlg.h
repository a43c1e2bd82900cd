#pragma once
// The resolve-collisions dialog: the user picks how candidate serial numbers are produced (a range, the
// known modules, one serial), runs the resolution and watches its progress and the modules found. Opened
// from the Maintenance menu, and by the scanning dialog when a scan found collisions.

#include "core/busops/progress.h"
#include "core/inventory/bus_context.h"
#include "gui/busops/scan_report.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/nice_property_sheet.h"
#include "gui/toolkit/placement_dialog.h"

#include <functional>
#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace terrix {

class CReportListCtrl;
struct FrameWindows;

class CResolveCollisionsBySerNoRange : public QWidget {
    Q_OBJECT
public:
    explicit CResolveCollisionsBySerNoRange(QWidget* parent = nullptr);
    void Retranslate();
    CEditDWord* from = nullptr;
    CEditDWord* to = nullptr;

private:
    QGroupBox* group_ = nullptr;
    QLabel* fromLabel_ = nullptr;
    QLabel* toLabel_ = nullptr;
};

class CResolveCollisionsByKnownSerNos : public QWidget {
    Q_OBJECT
public:
    CResolveCollisionsByKnownSerNos(CBusList& busList, QWidget* parent = nullptr);
    void Retranslate();
    // Refills the list from the known-modules list.
    void Refill();
    void OnAdd();
    void OnDelete();
    CReportListCtrl* list = nullptr;
    CEditDWord* serial = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;

private:
    void UpdateDeleteButton();
    CBusList& busList_;
    // What the list shows: a copy of the known modules, taken while no resolution runs (one may reload
    // the known list on its worker thread).
    std::vector<ModuleRecord> rows_;
    QLabel* serialLabel_ = nullptr;
};

class CResolveCollisionsOneByOne : public QWidget {
    Q_OBJECT
public:
    explicit CResolveCollisionsOneByOne(QWidget* parent = nullptr);
    void Retranslate();
    CEditDWord* serial = nullptr;

private:
    QLabel* serialLabel_ = nullptr;
};

class CResolveCollisionsOpts : public CNicePropertySheetCtrl {
    Q_OBJECT
public:
    CResolveCollisionsOpts(CBusList& busList, QWidget* parent = nullptr);
    void Retranslate();
    CResolveCollisionsBySerNoRange* range = nullptr;
    CResolveCollisionsByKnownSerNos* known = nullptr;
    CResolveCollisionsOneByOne* single = nullptr;
};

class CResolveCollisionsDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CResolveCollisionsDlg(BusContext& context, QWidget* owner);
    ~CResolveCollisionsDlg() override;

    // Set by the scanning dialog when it opens this one between its scan and its save: every report is
    // also handed to `forward`, and the scanning dialog saves the bus afterwards.
    void SetForwarding(std::function<void(const ScanReport&)> forward);

    void ShowReport(const ScanReport& report);
    bool IsRunning() const { return running_; }

    CResolveCollisionsOpts* Sheet() const { return sheet_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CancelButton() const { return cancel_; }
    QProgressBar* ProgressBar() const { return progress_; }
    CReportListCtrl* FoundList() const { return found_; }
    QString ModulesText() const;
    QString CollisionsText() const;

    void reject() override;

public Q_SLOTS:
    void OnStart();

private:
    struct RunOutcome {
        bool ran = false;        // the port was taken and the resolution ran
        bool saveFailed = false; // ... but the bus could not be saved
    };
    void RunDone(const RunOutcome& outcome);
    void SetControlsEnabled(bool enabled);
    // Shows `rows` (a copy of the bus list) in the found list.
    void ShowFound(std::vector<ModuleRecord> rows);
    void ShowCounts(uint32_t entries, uint32_t collisions);
    void Retranslate();

    BusContext& context_;
    std::function<void(const ScanReport&)> forward_;
    std::vector<ModuleRecord> foundRows_;
    bool running_ = false;
    bool cancelRequested_ = false;
    CResolveCollisionsOpts* sheet_ = nullptr;
    QGroupBox* methods_ = nullptr;
    QGroupBox* searched_ = nullptr;
    QGroupBox* foundGroup_ = nullptr;
    QLineEdit* percent_ = nullptr;
    QProgressBar* progress_ = nullptr;
    CReportListCtrl* found_ = nullptr;
    QLabel* modulesLabel_ = nullptr;
    QLabel* collisionsLabel_ = nullptr;
    QLineEdit* modules_ = nullptr;
    QLineEdit* collisions_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// windows.runResolveCollisions: the dialog from the Maintenance menu.
void RegisterResolveCollisionsDialog(FrameWindows& windows);

} // namespace terrix

#pragma once
// The scanning dialog: runs a bus scan as soon as it is shown, shows what the scan does, turns the port's
// start-up errors into messages, hands collisions to the resolve-collisions dialog before anything is
// saved, and stores a complete bus. The scan runs as a bus job; the resolution is the resolve dialog's own
// job, opened between the scan and the save.

#include "core/busops/scan_session.h"
#include "core/inventory/bus_context.h"
#include "gui/busops/scan_report.h"
#include "gui/toolkit/placement_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace terrix {

struct FrameWindows;

class CScanDlg : public CPlacementDialog {
    Q_OBJECT
public:
    enum ModeFlags : uint32_t {
        kDetailed = 1,  // the station being probed and the last module found are shown too
        kForgetBus = 2, // forget the saved bus first, so that every station is probed
    };
    CScanDlg(BusContext& context, QWidget* owner, uint32_t modeFlags);
    ~CScanDlg() override;

    // Shows a report of the scan; the resolve-collisions dialog forwards its reports here as well.
    void ShowReport(const ScanReport& report);

    // True from the start of a scan until it has been finished (collisions resolved, bus saved).
    bool IsScanning() const { return scanning_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CancelButton() const { return cancel_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QString ModulesText() const;
    QString CollisionsText() const;
    // The banner shown while the port opens and the modules are resynchronised (empty once probing began).
    QString BannerText() const;

    void reject() override;

public Q_SLOTS:
    // Runs one scan (button "Start", and once by itself when the dialog is first shown).
    void OnStart();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ScanDone(ScanSessionResult result);
    void ResolveThenFinish(ScanSessionResult result);
    // Saves what the scan found (a job) and then shows how it ended.
    void FinishScan(ScanSessionResult result);
    void ShowScanEnd(const ScanSessionResult& result);
    void ShowBanner(const QString& text);
    void ShowCounts(uint32_t modules, uint32_t collisions);
    void Retranslate();

    BusContext& context_;
    uint32_t mode_;
    bool scanning_ = false;
    bool cancelRequested_ = false;
    bool started_ = false;
    QLabel* banner_ = nullptr;
    QGroupBox* nowGroup_ = nullptr;
    QGroupBox* doneGroup_ = nullptr;
    QGroupBox* foundGroup_ = nullptr;
    QGroupBox* lastGroup_ = nullptr;
    QLabel* stationLabel_ = nullptr;
    QLabel* modulesLabel_ = nullptr;
    QLabel* collisionsLabel_ = nullptr;
    QLabel* lastStationLabel_ = nullptr;
    QLabel* serialLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QLineEdit* station_ = nullptr;
    QLineEdit* percent_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLineEdit* modules_ = nullptr;
    QLineEdit* collisions_ = nullptr;
    QLineEdit* lastStation_ = nullptr;
    QLineEdit* serial_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* code_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// windows.runScan: the frame's modes 0 (known modules), 1 (scan bus) and 2 (scan completely) are the mode
// flags of the dialog.
void RegisterScanDialog(FrameWindows& windows);

} // namespace terrix

#pragma once
// "Material and Temperature Coefficients": the 16 calibrations of a module beside those of the calibration
// files (LOC directory or a chosen LOC file), the coefficients of the selected switch position, choosing
// the active calibration, and programming the file data into the module or into every XV module of the
// bus. The work itself is the CalibWorkspace's; the dialog answers its questions, shows its messages and
// its busy banner, and shows its lists.

#include "core/config/calib_workspace.h"
#include "gui/config/module_config_dialog.h"

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace terrix {

class CReportListCtrl;

class CCoefficientsDlg : public CModuleConfigDialog, private CalibDialogUi {
    Q_OBJECT
public:
    // Asks for a LOC file in `directory`; empty when the user cancelled.
    using LocFileChooser = std::function<QString(QWidget* parent, const QString& directory)>;

    CCoefficientsDlg(BusContext& context, QWidget* owner, ModuleRecord& record);
    ~CCoefficientsDlg() override;

    // The module buttons (the first also runs once the port has opened). Each asks on this thread, then
    // does its bus work in a job.
    void RereadModule();
    void RereadActive();
    void SetActiveCalibration();
    void ProgramModule();
    void ProgramAllModules();
    // The file buttons.
    void OpenLocFile();
    void RereadFiles();

    void SetLocFileChooser(LocFileChooser chooser) { chooseLocFile_ = std::move(chooser); }
    // Not while a job runs: the job works on it.
    const CalibWorkspace& Workspace() const { return *workspace_; }
    CReportListCtrl* CalibListView() const { return calibList_; }
    CReportListCtrl* CoeffListView() const { return coeffList_; }
    QPushButton* SetActiveButton() const { return setActive_; }
    QLineEdit* FileCommentField() const { return fileComment_; }
    // The busy banner's text; empty while none is shown.
    QString BannerText() const;

protected:
    void ReadModule() override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool AskYesNo(const std::string& text) override;
    void ShowMessage(const ConfigMessage& message) override;
    void SetBanner(const std::string& text) override;

    void Retranslate();
    void RefillCalibList();
    void RefillCoeffList();
    void ShowFileDescription();
    void OnCalibRowChanged();
    void PlaceBanner();
    // Runs `operation(CalibWorkspace&, CalibDialogUi&)` as a bus job; `done(result)` gets its result (a
    // value-initialised one when the module check refused) after the operation's messages were shown.
    template <class Operation, class Done> void RunCalibWork(Operation operation, Done done);

    // Shared with the job that runs; the dialog uses it only while none runs.
    std::shared_ptr<CalibWorkspace> workspace_;
    LocFileChooser chooseLocFile_;
    bool fileWork_ = false; // a LOC failure message then names the file concerned
    bool shownOnce_ = false;
    std::vector<CalibListRow> calibRows_;
    std::vector<CoeffListRow> coeffRows_;

    QGroupBox* moduleGroup_ = nullptr;
    QGroupBox* fileGroup_ = nullptr;
    QGroupBox* calibGroup_ = nullptr;
    QGroupBox* coeffGroup_ = nullptr;
    QLabel* labels_[6] = {};
    QLineEdit* serialNo_ = nullptr;
    QLineEdit* moduleName_ = nullptr;
    QLineEdit* station_ = nullptr;
    QPushButton* openLoc_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QLineEdit* directory_ = nullptr;
    QLineEdit* fileComment_ = nullptr;
    CReportListCtrl* calibList_ = nullptr;
    CReportListCtrl* coeffList_ = nullptr;
    QLabel* banner_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* rereadActive_ = nullptr;
    QPushButton* setActive_ = nullptr;
    QPushButton* rereadModule_ = nullptr;
    QPushButton* rereadFiles_ = nullptr;
    QPushButton* program_ = nullptr;
    QPushButton* programAll_ = nullptr;
};

bool RunCoefficientsDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

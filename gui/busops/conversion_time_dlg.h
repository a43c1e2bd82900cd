#pragma once
// "Setting Conversion Time": the XV module's time for one conversion, set through its number of
// measurements on channel 0.

#include "core/inventory/bus_context.h"
#include "gui/busops/module_port.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/placement_dialog.h"

class QLabel;
class QPushButton;

namespace terrix {

struct ModuleWindows;

// The longest conversion time (seconds) whose count still fits the module's count field (99999).
uint32_t MaxConversionSeconds();

class CConversionTimeDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CConversionTimeDlg(BusContext& context, QWidget* owner, ModuleRecord& record);
    ~CConversionTimeDlg() override;

    // Checks the record and takes the port; shows why not and returns false when the dialog must not run.
    bool SetUp();

    int IsModified() const override;
    void StartApply(std::function<void(bool ok)> finished) override;

    CEditTTime* PreviousEdit() const { return previous_; }
    CEditTTime* NewEdit() const { return new_; }
    // The count the new value corresponds to.
    uint32_t NewCount() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RetranslateTitle();
    void UpdateCount();

    BusContext& context_;
    ModuleRecord& record_;
    std::shared_ptr<ModulePort> port_;
    bool portRequested_ = false;
    CEditTTime* previous_ = nullptr;
    CEditTTime* new_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* ok_ = nullptr;
};

bool RunConversionTimeDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

// moduleWindows.changeStationNumber and .changeConversionTime.
void RegisterModuleBusDialogs(ModuleWindows& windows);

} // namespace terrix

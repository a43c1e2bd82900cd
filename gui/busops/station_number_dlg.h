#pragma once
// "Change Station Number": moves one module to another station address (command 1 by its serial number),
// refusing a station another module of the bus holds and confirming the move by asking the module at its
// new station.

#include "core/inventory/bus_context.h"
#include "gui/busops/module_port.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/placement_dialog.h"

class QLabel;
class QPushButton;

namespace terrix {

struct ModuleWindows;

class CStationNumberDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CStationNumberDlg(BusContext& context, QWidget* owner, ModuleRecord& record);
    ~CStationNumberDlg() override;

    // Checks the record; shows why not and returns false when the dialog must not run. The port is taken
    // as the dialog appears; when it cannot be, the dialog says why and closes.
    bool SetUp();

    int IsModified() const override;
    QString ChangeQuestion() const override;
    void StartApply(std::function<void(bool ok)> finished) override;
    void accept() override;

    CEditDWord* PreviousEdit() const { return previous_; }
    CEditDWord* NewEdit() const { return new_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Outcome;
    void RetranslateTitle();
    bool ShowOutcome(const Outcome& outcome, uint8_t station);
    BusContext& context_;
    ModuleRecord& record_;
    std::shared_ptr<ModulePort> port_;
    bool portRequested_ = false;
    CEditDWord* previous_ = nullptr;
    CEditDWord* new_ = nullptr;
    QLabel* previousLabel_ = nullptr;
    QLabel* newLabel_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Runs the dialog for `record`; true when the module moved.
bool RunStationNumberDialog(BusContext& context, QWidget* owner, ModuleRecord& record);

} // namespace terrix

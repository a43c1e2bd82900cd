#pragma once
// Two small modal dialogs that talk to the bus directly: giving every known module the same station (to try
// the collision resolution on a real bus) and the XV module's halt-measuring state.

#include "core/config/halt_state.h"
#include "core/inventory/bus_context.h"
#include "gui/toolkit/placement_dialog.h"

#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace terrix {

class CCreateCollisionsDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CCreateCollisionsDlg(BusContext& context, QWidget* owner);
    ~CCreateCollisionsDlg() override;

    QSpinBox* StationEdit() const { return station_; }
    QLabel* PortState() const { return portState_; }
    bool PortOpen() const { return portOpen_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Retranslate();
    // Takes the port in a bus job; `then(open)` follows, after the port state has been shown.
    void OpenPort(std::function<void(bool open)> then);
    void ShowPortState(bool open);

    BusContext& context_;
    std::shared_ptr<PortUser> portUser_;
    bool portOpen_ = false;
    bool portRequested_ = false;
    QLabel* collisionsLabel_ = nullptr;
    QLabel* knownLabel_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QLabel* portState_ = nullptr;
    QLineEdit* collisions_ = nullptr;
    QLineEdit* known_ = nullptr;
    QSpinBox* station_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QGroupBox* statusBox_ = nullptr;
    QGroupBox* createBox_ = nullptr;
};

class CHaltMeasStateDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CHaltMeasStateDlg(BusContext& context, QWidget* owner, ModuleRecord& record);
    ~CHaltMeasStateDlg() override;

    const HaltMeasState& State() const { return state_; }
    QRadioButton* StateRadio(int i) const { return stateRadios_[i]; }
    QRadioButton* CommandRadio(int i) const { return commandRadios_[i]; }

    // Reads the state from the module in a bus job (started once the dialog is shown).
    void ReadState();
    // "Release by Command" (false) or "Halt by Command" (true), in a bus job.
    void SetByCommand(bool halt);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Outcome;
    void Retranslate();
    void ShowState();
    void ShowOutcome(const Outcome& outcome);

    BusContext& context_;
    ModuleRecord& record_;
    bool readRequested_ = false;
    HaltMeasState state_;
    bool readOk_ = false;
    QLabel* picture_ = nullptr;
    QGroupBox* stateBox_ = nullptr;
    QGroupBox* commandBox_ = nullptr;
    QRadioButton* stateRadios_[4] = {};
    QRadioButton* commandRadios_[2] = {};
    QPushButton* closeButton_ = nullptr;
};

} // namespace terrix

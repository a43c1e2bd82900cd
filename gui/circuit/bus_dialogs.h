#pragma once
// Two small modal dialogs that talk to the bus directly: giving every known module the same station (to try
// the collision resolution on a real bus) and the XV module's halt-measuring state.

#include "core/config/halt_state.h"
#include "core/inventory/bus_context.h"
#include "gui/toolkit/placement_dialog.h"

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

private:
    void Retranslate();
    bool OpenPort();

    BusContext& context_;
    PortUser portUser_;
    bool portOpen_ = false;
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

    // Reads the state from the module (done once when the dialog is set up); false when the read failed.
    bool ReadState();
    // "Release by Command" (false) or "Halt by Command" (true).
    void SetByCommand(bool halt);

private:
    void Retranslate();
    void ShowState();

    BusContext& context_;
    ModuleRecord& record_;
    PortUser portUser_;
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

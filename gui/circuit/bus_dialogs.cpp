#include "gui/circuit/bus_dialogs.h"

#include "core/busops/collisions.h"
#include "core/platform/com_port.h"
#include "gui/base/bus_activity.h"
#include "gui/base/bus_job.h"
#include "gui/busops/module_at_station.h"
#include "gui/config/config_text.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/read_only_field.h"
#include "gui/toolkit/string_catalogue.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace terrix {

// ---- create collisions ----------------------------------------------------------------------------------

CCreateCollisionsDlg::CCreateCollisionsDlg(BusContext& context, QWidget* owner)
    : CPlacementDialog(owner), context_(context),
      portUser_(std::make_shared<PortUser>(&context.portContext)) {
    statusBox_ = new QGroupBox(this);
    collisions_ = new QLineEdit(statusBox_);
    known_ = new QLineEdit(statusBox_);
    for (QLineEdit* edit : {collisions_, known_}) {
        MakeShowOnly(edit);
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(80);
    }
    collisionsLabel_ = new QLabel(statusBox_);
    knownLabel_ = new QLabel(statusBox_);
    auto* statusForm = new QFormLayout(statusBox_);
    statusForm->addRow(collisionsLabel_, collisions_);
    statusForm->addRow(knownLabel_, known_);

    createBox_ = new QGroupBox(this);
    station_ = new QSpinBox(createBox_);
    station_->setRange(0, 252);
    station_->setValue(0);
    station_->setFocus();
    addressLabel_ = new QLabel(createBox_);
    addressLabel_->setBuddy(station_);
    auto* createForm = new QFormLayout(createBox_);
    createForm->addRow(addressLabel_, station_);

    portState_ = new QLabel(this);
    portState_->setWordWrap(true);
    portState_->setStyleSheet(QStringLiteral("color: #a00000"));

    okButton_ = new QPushButton(this);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(this);
    connect(okButton_, &QPushButton::clicked, this, &CCreateCollisionsDlg::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &CCreateCollisionsDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statusBox_);
    layout->addWidget(createBox_);
    layout->addWidget(portState_);
    layout->addLayout(buttons);

    collisions_->setText(QString::number(context_.busList.CollisionCount()));
    known_->setText(QString::number(context_.busList.Count()));
    Retranslate();
}

CCreateCollisionsDlg::~CCreateCollisionsDlg() {
    if (portOpen_) {
        // A job still holding the port has ended with this dialog.
        portUser_->Release();
    }
}

void CCreateCollisionsDlg::showEvent(QShowEvent* event) {
    CPlacementDialog::showEvent(event);
    if (!portRequested_) {
        portRequested_ = true;
        OpenPort([](bool) {});
    }
}

void CCreateCollisionsDlg::Retranslate() {
    setWindowTitle(tr("Create Collisions on NKP-Bus"));
    statusBox_->setTitle(tr("Act. status of bus"));
    createBox_->setTitle(tr("Create collisions"));
    collisionsLabel_->setText(tr("Num. of collisions:"));
    knownLabel_->setText(tr("known modules:"));
    addressLabel_->setText(tr("on &address:"));
    okButton_->setText(tr("Create &collisions"));
    cancelButton_->setText(tr("Cancel"));
}

void CCreateCollisionsDlg::OpenPort(std::function<void(bool open)> then) {
    if (portOpen_) {
        then(true);
        return;
    }
    BusJob::Start(
        context_, this, windowTitle(), [user = portUser_](BusJobControl&) { return user->Acquire(); },
        [this, then = std::move(then)](bool open) {
            portOpen_ = open;
            ShowPortState(open);
            then(open);
        });
}

void CCreateCollisionsDlg::ShowPortState(bool open) {
    if (open) {
        portState_->clear();
        portState_->hide();
        return;
    }
    const ComPortContext& port = context_.portContext;
    portState_->setText(port.dwError == kErrorPortReserved
                            ? BusBusyMeasuringText()
                            : Text(24655) + QLatin1Char('\n') + PortFailureText(port));
    portState_->show();
}

void CCreateCollisionsDlg::accept() {
    if (context_.busList.IsEmpty() || BusJob::Runs(this)) {
        return; // nothing known to move, or the port is still being opened
    }
    const auto station = static_cast<uint8_t>(station_->value());
    if (!IsCollisionStationAllowed(station)) {
        ShowMessage(this, tr("Station %1 is reserved; choose 0 to 250 or 252.").arg(station), windowTitle(),
                    MessageIcon::Warning);
        return;
    }
    if (ShowMessage(this, Text(24627), windowTitle(), MessageIcon::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    // Without the port nothing is sent, so the saved bus must stay: the next scan still knows the modules.
    OpenPort([this, station](bool open) {
        if (!open) {
            ShowMessage(this, portState_->text(), windowTitle(), MessageIcon::Warning);
            return;
        }
        BusJob::Start(
            context_, this, windowTitle(),
            [user = portUser_, &list = context_.busList, station](BusJobControl&) {
                CreateCollision(user->Port(), list, station);
            },
            [this] { CPlacementDialog::accept(); });
    });
}

// ---- halt measuring state -------------------------------------------------------------------------------

namespace {

QPixmap StatePicture(bool halted, const QStyle* style) {
    return style->standardIcon(halted ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay).pixmap(32, 32);
}

} // namespace

CHaltMeasStateDlg::CHaltMeasStateDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CPlacementDialog(owner), context_(context), record_(record) {
    picture_ = new QLabel(this);
    stateBox_ = new QGroupBox(this);
    auto* stateLayout = new QVBoxLayout(stateBox_);
    for (QRadioButton*& radio : stateRadios_) {
        radio = new QRadioButton(stateBox_);
        radio->setEnabled(false); // shows the module's state; only the command is the user's
        radio->setAutoExclusive(false);
        stateLayout->addWidget(radio);
    }
    commandBox_ = new QGroupBox(this);
    auto* commandLayout = new QVBoxLayout(commandBox_);
    auto* commandGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        commandRadios_[i] = new QRadioButton(commandBox_);
        commandRadios_[i]->setEnabled(false); // until a read succeeded
        commandGroup->addButton(commandRadios_[i], i);
        commandLayout->addWidget(commandRadios_[i]);
    }
    // clicked, not toggled: only the user's choice writes to the module.
    connect(commandGroup, &QButtonGroup::idClicked, this, [this](int id) { SetByCommand(id == 1); });
    closeButton_ = new QPushButton(this);
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &CHaltMeasStateDlg::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(picture_, 0, Qt::AlignTop);
    top->addWidget(stateBox_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(commandBox_);
    layout->addLayout(bottom);
    Retranslate();
    ShowState();
}

void CHaltMeasStateDlg::showEvent(QShowEvent* event) {
    CPlacementDialog::showEvent(event);
    if (!readRequested_) {
        readRequested_ = true;
        ReadState();
    }
}

CHaltMeasStateDlg::~CHaltMeasStateDlg() = default;

void CHaltMeasStateDlg::Retranslate() {
    SetModuleWindowTitle(this, tr("Halt Measuring State"), record_);
    stateBox_->setTitle(tr("Halt Measuring State"));
    commandBox_->setTitle(tr("Set Halt Measuring State"));
    stateRadios_[0]->setText(tr("Measuring"));
    stateRadios_[1]->setText(tr("Halt Measuring by Signal"));
    stateRadios_[2]->setText(tr("Halt Measuring by Command"));
    stateRadios_[3]->setText(tr("Halt Measuring by both"));
    commandRadios_[0]->setText(tr("&Release by Command"));
    commandRadios_[1]->setText(tr("&Halt by Command"));
    closeButton_->setText(tr("Close"));
}

struct CHaltMeasStateDlg::Outcome {
    StationCheckResult check;
    bool ok = false;
    HaltMeasState state;
};

void CHaltMeasStateDlg::ReadState() {
    // As before every configuration: the station must not be answered by another module. The state read
    // here is what enables the commands, so a refused module can never be written to.
    BusJob::Start(
        context_, this, windowTitle(),
        [&port = context_.portContext, record = record_, state = state_](BusJobControl&) {
            Outcome outcome;
            outcome.state = state;
            PortUser user(&port);
            if (user.Acquire()) {
                outcome.check = CheckStation(user.Port(), record, record.iaStation, false);
                outcome.ok =
                    outcome.check.Passed() && ReadHaltMeasState(user.Port(), record.iaStation, outcome.state);
                user.Release();
            }
            return outcome;
        },
        [this](const Outcome& outcome) { ShowOutcome(outcome); });
}

void CHaltMeasStateDlg::SetByCommand(bool halt) {
    if (!readOk_) {
        return; // never a value built from a state that was not read
    }
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [&port = context_.portContext, station = record_.iaStation, state = state_, halt](BusJobControl&) {
            Outcome outcome;
            outcome.state = state;
            PortUser user(&port);
            if (user.Acquire()) {
                outcome.ok = SetHaltByCommand(user.Port(), station, halt, outcome.state);
                user.Release();
            }
            return outcome;
        },
        [this](const Outcome& outcome) { ShowOutcome(outcome); });
    if (!started) {
        ShowState();
    }
}

void CHaltMeasStateDlg::ShowOutcome(const Outcome& outcome) {
    state_ = outcome.state;
    // After a failed read back the state shown is stale; no command may be built from it.
    readOk_ = outcome.ok;
    if (ShowStationCheck(this, outcome.check) && !outcome.ok) {
        ShowMessage(this, ConfigText(kMsgHaltStateReadFailed), windowTitle());
    }
    ShowState();
}

void CHaltMeasStateDlg::ShowState() {
    picture_->setPixmap(StatePicture(state_.haltState > 0, style()));
    for (int i = 0; i < 4; ++i) {
        stateRadios_[i]->setChecked(state_.haltState == i);
    }
    for (int i = 0; i < 2; ++i) {
        commandRadios_[i]->setEnabled(readOk_);
        commandRadios_[i]->setChecked(state_.command == i);
    }
}

} // namespace terrix

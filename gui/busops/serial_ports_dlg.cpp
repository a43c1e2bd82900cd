#include "gui/busops/serial_ports_dlg.h"

#include "gui/base/window_contracts.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui/toolkit/window_fit.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

namespace {

constexpr const char* kSimDevice = "sim";

} // namespace

QString StableDeviceName(const QString& device, const QString& byIdDir) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) {
        return {};
    }
    const QDir dir(byIdDir);
    for (const QFileInfo& link :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (link.canonicalFilePath() == target) {
            return link.absoluteFilePath();
        }
    }
    return {};
}

QString PreferredDeviceName(const SerialDevice& device) {
    return device.stableName.isEmpty() ? device.device : device.stableName;
}

CSerialPortsDlg::CSerialPortsDlg(BusContext& context, QWidget* owner)
    : CPlacementDialog(owner), context_(context), devices_(ListSerialDevices()) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    auto* layout = new QVBoxLayout(this);
    listLabel_ = new QLabel(this);
    layout->addWidget(listLabel_);
    list_ = new CReportListCtrl(this);
    for (int column = 0; column < 5; ++column) {
        static constexpr int kWidths[] = {110, 260, 150, 110, 100};
        list_->InsertColumn(column, QString(), Qt::AlignLeft, kWidths[column]);
    }
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->ListModel()->SetCellText([this](int row, int column) -> QString {
        if (row < 0 || row >= static_cast<int>(devices_.size())) {
            return {};
        }
        const SerialDevice& d = devices_[static_cast<size_t>(row)];
        switch (column) {
        case 0:
            return d.device;
        case 1:
            return d.stableName;
        case 2:
            return d.description;
        case 3:
            return d.manufacturer;
        case 4:
            return d.serialNumber;
        default:
            return {};
        }
    });
    list_->ListModel()->SetRowCount(static_cast<int>(devices_.size()));
#ifdef _WIN32
    list_->setColumnHidden(1, true); // stable names are a Linux folder's; Windows has none
#endif
    listLabel_->setBuddy(list_);
    layout->addWidget(list_, 1);

    auto* grid = new QGridLayout;
    for (int port = 1; port <= 4; ++port) {
        const auto i = static_cast<size_t>(port - 1);
        labels_[i] = new QLabel(QStringLiteral("COM&%1:").arg(port), this);
        combos_[i] = new QComboBox(this);
        combos_[i]->setEditable(true);
        combos_[i]->setInsertPolicy(QComboBox::NoInsert);
        combos_[i]->setMinimumContentsLength(32);
        for (const SerialDevice& device : devices_) {
            combos_[i]->addItem(PreferredDeviceName(device));
        }
        combos_[i]->addItem(QString::fromLatin1(kSimDevice));
        combos_[i]->setEditText(QString::fromStdString(PortDeviceName(port)));
        labels_[i]->setBuddy(combos_[i]);
        useButtons_[i] = new QPushButton(this);
        testButtons_[i] = new QPushButton(this);
        useButtons_[i]->setAutoDefault(false);
        testButtons_[i]->setAutoDefault(false);
        useButtons_[i]->setEnabled(false);
        grid->addWidget(labels_[i], port - 1, 0);
        grid->addWidget(combos_[i], port - 1, 1);
        grid->addWidget(useButtons_[i], port - 1, 2);
        grid->addWidget(testButtons_[i], port - 1, 3);
        connect(useButtons_[i], &QPushButton::clicked, this, [this, port] { UseSelected(port); });
        connect(testButtons_[i], &QPushButton::clicked, this, [this, port] { OnTest(port); });
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    hint_ = new QLabel(this);
    hint_->setWordWrap(true);
    layout->addWidget(hint_);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const bool selected = list_->selectionModel()->hasSelection();
        for (QPushButton* button : useButtons_) {
            button->setEnabled(selected);
        }
    });

    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    ok_->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &CSerialPortsDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CSerialPortsDlg::reject);
    SetResizable(true);
    Retranslate();
    placementLoaded_ = LoadWindowPlacement("Serial Ports");
}

void CSerialPortsDlg::OnInitDialog() {
    CPlacementDialog::OnInitDialog();
    if (!placementLoaded_) {
        WidenToShowColumns(this, list_); // the serial number, last, in view too
    }
}

CSerialPortsDlg::~CSerialPortsDlg() {
    SaveWindowPlacement("Serial Ports");
}

void CSerialPortsDlg::Retranslate() {
    setWindowTitle(tr("Serial Ports"));
    listLabel_->setText(devices_.empty() ? tr("&Serial devices of this computer: none found")
                                         : tr("&Serial devices of this computer:"));
    const QString titles[] = {tr("Device"), tr("Stable name"), tr("Description"), tr("Manufacturer"),
                              tr("Serial number")};
    for (int column = 0; column < 5; ++column) {
        list_->ListModel()->SetColumnTitle(column, titles[column]);
    }
    // A stable name is long where there is one and often missing: each column as wide as what it shows.
    list_->FitColumnsToContents();
    for (size_t i = 0; i < 4; ++i) {
        useButtons_[i]->setText(tr("Use selected"));
        testButtons_[i]->setText(tr("Test"));
    }
#ifdef _WIN32
    // Windows keeps a COM number per adapter, so there is no stable name to point to.
    hint_->setText(tr("Choose a listed port, type the name of a port (COM5), or enter \"sim\" for the "
                      "simulated bus. The device manager shows which COM number an adapter was given."));
#else
    // The folder in one piece: word joiners between its characters, so the line breaks before or after it,
    // never at one of its slashes or its hyphen.
    const QString folder = QStringLiteral("/dev/serial/by-id");
    QString unbroken;
    for (const QChar c : folder) {
        unbroken += unbroken.isEmpty() ? QString(c) : QString(QChar(0x2060)) + c;
    }
    hint_->setText(tr("Choose a listed device, type the path of a device, or enter \"sim\" for the simulated "
                      "bus. Stable names under %1 stay the same when adapters are plugged in another order.")
                       .arg(unbroken));
#endif
    ok_->setText(tr("OK"));
    cancel_->setText(tr("Cancel"));
}

void CSerialPortsDlg::UseSelected(int portNumber) {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.front().row() >= static_cast<int>(devices_.size())) {
        return;
    }
    PortCombo(portNumber)
        ->setEditText(PreferredDeviceName(devices_[static_cast<size_t>(rows.front().row())]));
}

void CSerialPortsDlg::OnTest(int portNumber) {
    const std::string device = PortCombo(portNumber)->currentText().trimmed().toStdString();
    QString text;
    MessageIcon icon = MessageIcon::Information;
    if (device.empty()) {
        text = tr("Please choose a device for COM%1.").arg(portNumber);
        icon = MessageIcon::Warning;
    } else if (context_.portContext.hPort != kInvalidPort && context_.portContext.nPortNo == portNumber) {
        text = tr("COM%1 is in use by a bus operation of this program.").arg(portNumber);
        icon = MessageIcon::Warning;
    } else {
        const PortHandle port = ComOpenDevice(device, kBusBaud);
        if (port == kInvalidPort) {
            text = CoreText(PortErrorText(LastPortError(), device));
            icon = MessageIcon::Warning;
        } else {
            const bool cable = ComDetectCable(port);
            ComClose(port);
            text = cable
                       ? tr("%1 opens, and the interface cable answers.").arg(QString::fromStdString(device))
                       : tr("%1 opens, but no interface cable was detected (a pseudo-terminal has none).")
                             .arg(QString::fromStdString(device));
        }
    }
    ShowMessage(this, text, windowTitle(), icon);
}

void CSerialPortsDlg::accept() {
    for (int port = 1; port <= 4; ++port) {
        const std::string device = PortCombo(port)->currentText().trimmed().toStdString();
        if (device.empty() || device == PortDeviceName(port)) {
            continue;
        }
        if (!SetPortDeviceName(port, device)) {
            ShowMessage(this, tr("The device of COM%1 could not be stored in the settings file.").arg(port),
                        windowTitle(), MessageIcon::Warning);
            return;
        }
    }
    CPlacementDialog::accept();
}

void RegisterSerialPortsDialog(FrameWindows& windows) {
    windows.runSerialPorts = [](BusContext& context, QWidget* owner) {
        CSerialPortsDlg dialog(context, owner);
        RunModal(dialog);
    };
}

} // namespace terrix

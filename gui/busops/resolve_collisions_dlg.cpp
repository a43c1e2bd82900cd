#include "gui/busops/resolve_collisions_dlg.h"

#include "core/busops/collisions.h"
#include "core/busops/scan_session.h"
#include "core/inventory/stored_bus.h"
#include "core/inventory/unit_names.h"
#include "gui/base/bus_job.h"
#include "gui/base/window_contracts.h"
#include "gui/busops/module_at_station.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/read_only_field.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui/toolkit/window_operation.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

namespace {

constexpr uint32_t kMaxSerial = 65535;

CEditDWord* SerialEdit(QWidget* parent, uint32_t value) {
    auto* edit = new CEditDWord(parent);
    edit->SetRange(0, kMaxSerial);
    edit->SetValue(value);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
    return edit;
}

QString RecordText(const ModuleRecord& record, int column) {
    switch (column) {
    case 0:
        return QString::number(record.iaStation);
    case 1:
        return QString::number(record.SerialNo());
    case 2:
        return QString::fromStdString(record.ModuleName().substr(0, 12));
    case 3:
        return QString::fromStdString(FieldText(record.szLocation));
    default:
        return {};
    }
}

} // namespace

// ----- pages -----

CResolveCollisionsBySerNoRange::CResolveCollisionsBySerNoRange(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    group_ = new QGroupBox(this);
    auto* form = new QFormLayout(group_);
    fromLabel_ = new QLabel(group_);
    toLabel_ = new QLabel(group_);
    from = SerialEdit(group_, 1000);
    to = SerialEdit(group_, 9000);
    fromLabel_->setBuddy(from);
    toLabel_->setBuddy(to);
    form->addRow(fromLabel_, from);
    form->addRow(toLabel_, to);
    layout->addWidget(group_);
    layout->addStretch(1);
    Retranslate();
}

void CResolveCollisionsBySerNoRange::Retranslate() {
    group_->setTitle(tr("Scan range"));
    fromLabel_->setText(tr("&From serial no.:"));
    toLabel_->setText(tr("&To serial no.:"));
}

CResolveCollisionsByKnownSerNos::CResolveCollisionsByKnownSerNos(CBusList& busList, QWidget* parent)
    : QWidget(parent), busList_(busList) {
    auto* layout = new QHBoxLayout(this);
    list = new CReportListCtrl(this);
    list->InsertColumn(0, QString(), Qt::AlignLeft, 160);
    list->InsertColumn(1, QString(), Qt::AlignLeft, 110);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumHeight(70);
    list->ListModel()->SetCellText([this](int row, int column) -> QString {
        if (row < 0 || row >= static_cast<int>(rows_.size())) {
            return {};
        }
        const ModuleRecord* record = &rows_[static_cast<size_t>(row)];
        // The module name with its serial number, since a known module may have no module file yet.
        return column == 0 ? QStringLiteral("%1 (%2)")
                                 .arg(QString::fromStdString(record->ModuleName()))
                                 .arg(record->SerialNo())
                           : RecordText(*record, 3);
    });
    layout->addWidget(list, 1);
    auto* side = new QVBoxLayout;
    serialLabel_ = new QLabel(this);
    serial = SerialEdit(this, 0);
    serialLabel_->setBuddy(serial);
    add = new QPushButton(this);
    remove = new QPushButton(this);
    add->setAutoDefault(false);
    remove->setAutoDefault(false);
    side->addWidget(serialLabel_);
    side->addWidget(serial);
    side->addWidget(add);
    side->addWidget(remove);
    side->addStretch(1);
    layout->addLayout(side);
    connect(add, &QPushButton::clicked, this, &CResolveCollisionsByKnownSerNos::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CResolveCollisionsByKnownSerNos::OnDelete);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CResolveCollisionsByKnownSerNos::UpdateDeleteButton);
    Retranslate();
    Refill();
}

void CResolveCollisionsByKnownSerNos::Retranslate() {
    list->ListModel()->SetColumnTitle(0, Text(24741));
    list->ListModel()->SetColumnTitle(1, Text(24742));
    serialLabel_->setText(tr("S&erial no.:"));
    add->setText(tr("&Add"));
    remove->setText(tr("&Delete selection"));
}

void CResolveCollisionsByKnownSerNos::Refill() {
    const CBusList* known = busList_.KnownModules();
    rows_ = known != nullptr ? CopyRecords(*known) : std::vector<ModuleRecord>{};
    list->ListModel()->SetRowCount(static_cast<int>(rows_.size()));
    list->ListModel()->RefreshAll();
    UpdateDeleteButton();
}

void CResolveCollisionsByKnownSerNos::UpdateDeleteButton() {
    remove->setEnabled(isEnabled() && list->selectionModel()->hasSelection());
}

void CResolveCollisionsByKnownSerNos::OnAdd() {
    const QString caption = window()->windowTitle();
    const uint32_t value = serial->GetValue();
    if (value == 0) {
        ShowMessage(this, Text(24727), caption, MessageIcon::Warning);
        serial->setFocus();
        return;
    }
    CBusList* known = busList_.LoadKnownModules();
    const auto serialNo = static_cast<uint16_t>(value);
    if (known->FindBySerial(serialNo) != nullptr) {
        ShowMessage(this, Text(24728), caption, MessageIcon::Warning);
        return;
    }
    if (!busList_.AddKnownModule(serialNo, false)) {
        ShowMessage(this, Text(24729), caption, MessageIcon::Warning);
        return;
    }
    if (!busList_.SaveKnownModules()) {
        ShowMessage(this,
                    tr("The list of known modules could not be saved:\n%1")
                        .arg(CoreText(busList_.LastFileError().Message())),
                    caption, MessageIcon::Warning);
    }
    Refill();
    const int row = known->IndexOfSerial(serialNo);
    list->Select(row);
    list->EnsureVisible(row);
    serial->SetValue(0);
}

void CResolveCollisionsByKnownSerNos::OnDelete() {
    CBusList* known = busList_.KnownModules();
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    if (known == nullptr || rows.isEmpty()) {
        return;
    }
    if (ShowMessage(this, Text(24730), window()->windowTitle(), MessageIcon::Question,
                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const int row = rows.front().row();
    known->RemoveAt(static_cast<uint32_t>(row));
    if (!busList_.SaveKnownModules()) {
        ShowMessage(this,
                    tr("The list of known modules could not be saved:\n%1")
                        .arg(CoreText(busList_.LastFileError().Message())),
                    window()->windowTitle(), MessageIcon::Warning);
    }
    Refill();
    const int count = static_cast<int>(known->Count());
    if (count > 0) {
        list->Select(row < count ? row : count - 1);
    }
}

CResolveCollisionsOneByOne::CResolveCollisionsOneByOne(QWidget* parent) : QWidget(parent) {
    auto* layout = new QFormLayout(this);
    serialLabel_ = new QLabel(this);
    serial = SerialEdit(this, 0);
    serialLabel_->setBuddy(serial);
    layout->addRow(serialLabel_, serial);
    Retranslate();
}

void CResolveCollisionsOneByOne::Retranslate() {
    serialLabel_->setText(tr("S&erial no.:"));
}

CResolveCollisionsOpts::CResolveCollisionsOpts(CBusList& busList, QWidget* parent)
    : CNicePropertySheetCtrl(parent) {
    range = new CResolveCollisionsBySerNoRange(this);
    known = new CResolveCollisionsByKnownSerNos(busList, this);
    single = new CResolveCollisionsOneByOne(this);
    addTab(range, QString());
    addTab(known, QString());
    addTab(single, QString());
    Retranslate();
}

void CResolveCollisionsOpts::Retranslate() {
    setTabText(0, tr("&Range"));
    setTabText(1, tr("&Known modules"));
    setTabText(2, tr("&Single module"));
    range->Retranslate();
    known->Retranslate();
    single->Retranslate();
}

// ----- dialog -----

CResolveCollisionsDlg::CResolveCollisionsDlg(BusContext& context, QWidget* owner)
    : CPlacementDialog(owner), context_(context) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    context_.busList.LoadKnownModules();
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    methods_ = new QGroupBox(this);
    auto* methodsLayout = new QVBoxLayout(methods_);
    sheet_ = new CResolveCollisionsOpts(context_.busList, methods_);
    methodsLayout->addWidget(sheet_);
    top->addWidget(methods_, 1);
    auto* buttons = new QVBoxLayout;
    start_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    start_->setDefault(true);
    cancel_->setAutoDefault(false);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    top->addLayout(buttons);
    layout->addLayout(top);

    searched_ = new QGroupBox(this);
    auto* searchedLayout = new QHBoxLayout(searched_);
    percent_ = ReadOnlyField(searched_, 6);
    progress_ = new QProgressBar(searched_);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    percent_->setText(QStringLiteral("0"));
    searchedLayout->addWidget(percent_);
    searchedLayout->addWidget(new QLabel(QStringLiteral("%"), searched_));
    searchedLayout->addWidget(progress_, 1);
    layout->addWidget(searched_);

    foundGroup_ = new QGroupBox(this);
    auto* foundLayout = new QVBoxLayout(foundGroup_);
    found_ = new CReportListCtrl(foundGroup_);
    found_->InsertColumn(0, QString(), Qt::AlignRight, 60);
    found_->InsertColumn(1, QString(), Qt::AlignRight, 60);
    found_->InsertColumn(2, QString(), Qt::AlignLeft, 120);
    found_->InsertColumn(3, QString(), Qt::AlignLeft, 120);
    found_->ListModel()->SetCellText([this](int row, int column) -> QString {
        return row >= 0 && row < static_cast<int>(foundRows_.size())
                   ? RecordText(foundRows_[static_cast<size_t>(row)], column)
                   : QString();
    });
    found_->setMinimumHeight(70);
    foundLayout->addWidget(found_, 1);
    auto* counts = new QHBoxLayout;
    modulesLabel_ = new QLabel(foundGroup_);
    collisionsLabel_ = new QLabel(foundGroup_);
    modules_ = ReadOnlyField(foundGroup_, 6);
    collisions_ = ReadOnlyField(foundGroup_, 6);
    counts->addWidget(modulesLabel_);
    counts->addWidget(modules_);
    counts->addSpacing(12);
    counts->addWidget(collisionsLabel_);
    counts->addWidget(collisions_);
    counts->addStretch(1);
    foundLayout->addLayout(counts);
    layout->addWidget(foundGroup_, 1);

    connect(start_, &QPushButton::clicked, this, &CResolveCollisionsDlg::OnStart);
    connect(cancel_, &QPushButton::clicked, this, &CResolveCollisionsDlg::reject);
    SetResizable(true);
    Retranslate();
    ShowFound(CopyRecords(context_.busList));
    ShowCounts(context_.busList.Count(), context_.busList.CollisionCount());
    // The lists' own size hints would make the dialog taller than the main window it opens over; it starts
    // no taller than that window where its controls allow (the lists grow with the dialog).
    if (owner != nullptr) {
        const int height =
            std::max(minimumSizeHint().height(), std::min(sizeHint().height(), owner->window()->height()));
        resize(sizeHint().width(), height);
    }
    LoadWindowPlacement("Resolve Collisions");
}

CResolveCollisionsDlg::~CResolveCollisionsDlg() {
    SaveWindowPlacement("Resolve Collisions");
    context_.busList.FreeKnownModules();
}

void CResolveCollisionsDlg::Retranslate() {
    setWindowTitle(tr("Resolve Collisions"));
    methods_->setTitle(tr("Methods"));
    searched_->setTitle(tr("searched until now"));
    foundGroup_->setTitle(tr("found until now"));
    modulesLabel_->setText(tr("Modules:"));
    collisionsLabel_->setText(tr("Collisions:"));
    // No mnemonic: Alt+S picks the "Single module" page; Start is the default button (Enter).
    start_->setText(tr("Start"));
    cancel_->setText(tr("Cancel"));
    for (int column = 0; column < 4; ++column) {
        static constexpr int kTitles[] = {24739, 24740, 24741, 24742};
        found_->ListModel()->SetColumnTitle(column, FindText(TextKind::String, kTitles[column]));
    }
    sheet_->Retranslate();
}

void CResolveCollisionsDlg::SetForwarding(std::function<void(const ScanReport&)> forward) {
    forward_ = std::move(forward);
}

QString CResolveCollisionsDlg::ModulesText() const {
    return modules_->text();
}

QString CResolveCollisionsDlg::CollisionsText() const {
    return collisions_->text();
}

void CResolveCollisionsDlg::ShowFound(std::vector<ModuleRecord> rows) {
    foundRows_ = std::move(rows);
    found_->ListModel()->SetRowCount(static_cast<int>(foundRows_.size()));
    found_->ListModel()->RefreshAll();
}

void CResolveCollisionsDlg::ShowCounts(uint32_t entries, uint32_t collisions) {
    modules_->setText(QString::number(entries > collisions ? entries - collisions : 0));
    collisions_->setText(QString::number(collisions));
}

void CResolveCollisionsDlg::SetControlsEnabled(bool enabled) {
    // A click while the resolution runs must never start a second run on the same port, nor change the
    // candidates the running one uses.
    start_->setEnabled(enabled);
    sheet_->setEnabled(enabled);
    sheet_->known->remove->setEnabled(enabled && sheet_->known->list->selectionModel()->hasSelection());
}

void CResolveCollisionsDlg::reject() {
    if (running_) {
        cancelRequested_ = true;
        cancel_->setEnabled(false);
        BusJob::RequestStop(this);
        return;
    }
    CPlacementDialog::reject();
}

void CResolveCollisionsDlg::OnStart() {
    if (running_) {
        return;
    }
    ResolveOptions options;
    options.firstSerial = static_cast<uint16_t>(sheet_->range->from->GetValue());
    options.lastSerial = static_cast<uint16_t>(sheet_->range->to->GetValue());
    if (sheet_->currentWidget() == sheet_->known) {
        options.useKnownList = true;
    } else if (sheet_->currentWidget() == sheet_->single) {
        options.firstSerial = options.lastSerial = static_cast<uint16_t>(sheet_->single->serial->GetValue());
    }
    const bool started = BusJob::Start(
        context_, this, windowTitle(),
        [&context = context_, options, saveBus = !forward_, this](BusJobControl& job) {
            PortUser portUser(&context.portContext);
            RunOutcome outcome;
            outcome.ran =
                RunResolution(context, portUser, options, UnitName, [&](const ScanProgress& report) {
                    job.Post(
                        [this, view = MakeScanReport(report, context.busList, true)] { ShowReport(view); });
                    return !job.StopRequested();
                });
            // From the Maintenance menu nobody else saves: command 1 moved modules, so a bus without
            // collisions is stored now (the scanning dialog saves its own bus after this dialog).
            if (outcome.ran && saveBus) {
                outcome.saveFailed = SaveCompleteBus(context.busList) == BusSave::kFailed;
            }
            return outcome;
        },
        [this](const RunOutcome& outcome) { RunDone(outcome); });
    if (!started) {
        return;
    }
    running_ = true;
    cancelRequested_ = false;
    SetControlsEnabled(false);
    cancel_->setEnabled(true);
    cancel_->setFocus();
}

void CResolveCollisionsDlg::RunDone(const RunOutcome& outcome) {
    const bool ran = outcome.ran;
    running_ = false;
    sheet_->known->Refill();
    ShowFound(CopyRecords(context_.busList));
    ShowCounts(context_.busList.Count(), context_.busList.CollisionCount());
    const uint32_t left = context_.busList.CollisionCount();
    const bool saveFailed = outcome.saveFailed;
    const bool closing = WindowOperation::ClosingAround(this);
    if (!ran) {
        ShowMessage(this, PortFailureText(context_.portContext), windowTitle(), MessageIcon::Warning);
    } else if (saveFailed) {
        ShowMessage(this,
                    tr("The bus state could not be saved:\n%1")
                        .arg(CoreText(context_.busList.LastFileError().Message())),
                    windowTitle(), MessageIcon::Warning);
    } else if (!closing) {
        ShowMessage(this, left > 0 ? Text(24657) : tr("Collision successfully removed!"), windowTitle(),
                    left > 0 ? MessageIcon::Warning : MessageIcon::Information);
    }
    if (left > 0) {
        progress_->setValue(0);
        percent_->setText(QStringLiteral("0"));
    }
    SetControlsEnabled(true);
    cancel_->setEnabled(true);
    if (closing) {
        CPlacementDialog::reject(); // the program is closing
        return;
    }
    if (ran && left == 0) {
        accept();
    }
}

void CResolveCollisionsDlg::ShowReport(const ScanReport& report) {
    switch (report.event) {
    case kEventProbing:
        percent_->setText(QString::number(report.percent));
        progress_->setValue(static_cast<int>(report.percent));
        break;
    case kEventIdentified:
    case kEventResolutionDone:
        ShowFound(report.rows);
        ShowCounts(report.modules, report.collisions);
        break;
    case kEventNotIdentified:
        ShowCounts(report.modules, report.collisions);
        break;
    default:
        break;
    }
    if (forward_) {
        forward_(report); // the scanning dialog's fields follow the resolution
    }
}

void RegisterResolveCollisionsDialog(FrameWindows& windows) {
    windows.runResolveCollisions = [](BusContext& context, QWidget* owner) {
        CResolveCollisionsDlg dialog(context, owner);
        RunModal(dialog);
    };
}

} // namespace terrix

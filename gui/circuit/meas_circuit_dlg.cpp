#include "gui/circuit/meas_circuit_dlg.h"

#include "core/busops/identification.h"
#include "core/circuit/measuring_guard.h"
#include "core/inventory/record_values.h"
#include "core/inventory/stored_bus.h"
#include "core/inventory/stored_text.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/publish/loop_modules.h"
#include "gui/app/session_end.h"
#include "gui/busops/module_at_station.h"
#include "gui/circuit/bus_dialogs.h"
#include "gui/circuit/measuring_refusal.h"
#include "gui/publish/publish_texts.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/titled_popup_menu.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui/toolkit/window_fit.h"
#include "gui/toolkit/window_operation.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace terrix {

namespace {

constexpr const char* kSection = "MeasCircDlg";
constexpr uint32_t kDefaultRate = 20;

enum Image {
    kImageNotIdentified,
    kImageIdentified,
    kImageCollision,
    kImageFailed,
    kImageDisabled,
    kImageEnabled,
    kImageNoConnection
};

// Small state pictures drawn here rather than shipped as files: a coloured disc per module state, and a
// check mark or a bar for an active or deactivated module.
QIcon MakeImage(Image image) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const auto disc = [&p](QColor fill) {
        p.setPen(QPen(fill.darker(160), 1));
        p.setBrush(fill);
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    };
    switch (image) {
    case kImageNotIdentified:
        disc(QColor(230, 230, 0));
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case kImageIdentified:
        disc(QColor(0, 170, 0));
        break;
    case kImageCollision:
        disc(QColor(160, 0, 0));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        break;
    case kImageFailed:
        disc(QColor(255, 0, 0));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        break;
    case kImageDisabled:
        p.setPen(QPen(QColor(120, 120, 120), 2.5));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case kImageEnabled:
        p.setPen(QPen(QColor(0, 140, 0), 2.5));
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    case kImageNoConnection: // a grey disc, cut: the module cannot be reached while the port is away
        disc(QColor(150, 150, 150));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
        break;
    }
    return QIcon(pixmap);
}

// A lost device is waited for: a measurement left running overnight goes on when the device is back.
MeasLoopOptions Reconnecting(MeasLoopOptions options) {
    options.reconnect = true;
    return options;
}

QString FromStored(std::string_view text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

} // namespace

// ---- registration -------------------------------------------------------------------------------------

void RegisterCircuitWindows(FrameWindows& windows) {
    windows.createCircuitWindow = [](BusContext& context, QWidget* owner,
                                     const ModuleWindows& moduleWindows) -> CPlacementDialog* {
        return new CMeasCircuitDlg(context, owner, moduleWindows);
    };
    windows.runCreateCollisions = [](BusContext& context, QWidget* owner) {
        CCreateCollisionsDlg dialog(context, owner);
        dialog.exec();
    };
}

// ---- the loop's reports -------------------------------------------------------------------------------

void CMeasCircuitDlg::Listener::OnNewValue(uint32_t slot) {
    // On the loop's thread: the slots keep their places while it measures, so the record and the value
    // belong together here; the window finds the row by serial number later.
    const ModuleRecord* record = loop_ != nullptr ? loop_->RecordAt(slot) : nullptr;
    std::optional<CMeasRecord> value = loop_ != nullptr ? loop_->NewestValue(slot) : std::nullopt;
    if (record == nullptr || !value) {
        return;
    }
    auto shared = std::make_shared<CMeasRecord>(std::move(*value));
    CMeasCircuitDlg* window = window_;
    poster_.Post([window, serial = record->SerialNo(), shared] { window->OnNewValue(serial, shared); });
}

void CMeasCircuitDlg::Listener::OnCountdown(uint32_t secondsLeft) {
    CMeasCircuitDlg* window = window_;
    poster_.Post([window, secondsLeft] { window->OnCountdown(secondsLeft); });
}

void CMeasCircuitDlg::Listener::OnIdle() {
    CMeasCircuitDlg* window = window_;
    poster_.Post([window] { window->OnLoopIdle(); });
}

void CMeasCircuitDlg::Listener::OnPortLost(const std::string& /*reason*/) {
    // The loop's own account, taken on its thread while it is current; the window words it.
    const PortOutage outage = loop_ != nullptr ? loop_->Outage() : PortOutage{};
    CMeasCircuitDlg* window = window_;
    poster_.Post([window, outage, at = QDateTime::currentDateTime()] { window->OnPortLost(outage, at); });
}

void CMeasCircuitDlg::Listener::OnPortBack(uint32_t gapSeconds) {
    CMeasCircuitDlg* window = window_;
    poster_.Post(
        [window, gapSeconds, at = QDateTime::currentDateTime()] { window->OnPortBack(gapSeconds, at); });
}

void CMeasCircuitDlg::Listener::OnStoreFailed(uint32_t /*slot*/, const std::string& reason) {
    CMeasCircuitDlg* window = window_;
    poster_.Post([window, reason] {
        // Once per measurement: a full disk would otherwise bring one box per module and round.
        if (!window->storeFailureShown_) {
            window->storeFailureShown_ = true;
            ShowMessage(
                window,
                CMeasCircuitDlg::tr("A measured value could not be stored:\n%1").arg(CoreText(reason)),
                window->windowTitle(), MessageIcon::Warning);
        }
    });
}

void CMeasCircuitDlg::PublishListener::OnPublishProblem(const std::string& text) {
    CMeasCircuitDlg* window = window_;
    poster_.Post([window, generation = generation_.load(), problem = CoreText(text)] {
        if (generation == window->publishGeneration_ && window->publisher_ != nullptr) {
            window->publishTrouble_ = CMeasCircuitDlg::tr("Publishing problem: %1").arg(problem);
            window->ShowPublishing();
        }
    });
}

void CMeasCircuitDlg::PublishListener::OnPublishStatus(const PublishStatus& status) {
    CMeasCircuitDlg* window = window_;
    poster_.Post([window, generation = generation_.load(), status] {
        // Not the last word of a publisher that was stopped since.
        if (generation == window->publishGeneration_ && window->publisher_ != nullptr) {
            window->publishStatus_ = status;
            window->ShowPublishing();
        }
    });
}

// ---- set-up -------------------------------------------------------------------------------------------

CMeasCircuitDlg::CMeasCircuitDlg(BusContext& context, QWidget* owner, ModuleWindows windows,
                                 MeasLoopOptions loopOptions)
    : CPlacementDialog(owner), context_(context), windows_(std::move(windows)),
      loop_(Reconnecting(std::move(loopOptions))) {
    listener_.SetLoop(&loop_);
    stateIcons_[0] = MakeImage(kImageNotIdentified);
    stateIcons_[1] = MakeImage(kImageIdentified);
    stateIcons_[2] = MakeImage(kImageCollision);
    stateIcons_[3] = MakeImage(kImageFailed);
    stateIcons_[4] = MakeImage(kImageDisabled);
    stateIcons_[5] = MakeImage(kImageEnabled);
    noConnectionIcon_ = MakeImage(kImageNoConnection);
    SetResizable(true);
    BuildControls();
    CreateActions();
    Retranslate();

    loop_.Bind(&listener_, &context_);
    moduleCount_ = loop_.SlotCount();
    countEdit_->setText(QString::number(moduleCount_));
    FillList();

    const uint32_t stored = CIniSection(SettingsFilePath(), kSection).ReadDWord("dwMeasTime", kDefaultRate);
    rateEdit_->setText(QString::number(std::max(stored, loop_.MinimumInterval())));
    UpdateCommandStates();

    cancelPoll_ = new QTimer(this);
    cancelPoll_->setInterval(250);
    connect(cancelPoll_, &QTimer::timeout, this, [this] {
        if (measuring_ != nullptr && measuring_->CancelRequested()) {
            loop_.Stop(); // the frame closes once the loop is idle and the activity has ended
        }
    });
}

CMeasCircuitDlg::~CMeasCircuitDlg() {
    StopAndRelease();
}

void CMeasCircuitDlg::OnInitDialog() {
    CPlacementDialog::OnInitDialog();
    if (!LoadWindowPlacement(kSection)) {
        // First open: every column in view where the screen is wide enough (the layout's own width cuts
        // the value columns off).
        WidenToShowColumns(this, list_);
    }
    list_->LoadColumns(kSection); // fractions of the restored size
    list_->setFocus();
    list_->SelectFirstOnce();
}

void CMeasCircuitDlg::BuildControls() {
    list_ = new CReportListCtrl(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->horizontalHeader()->setContextMenuPolicy(Qt::PreventContextMenu);
    list_->setIconSize(QSize(16, 16));
    const struct {
        Qt::Alignment align;
        int width;
    } columns[kColumnCount] = {{Qt::AlignLeft, 20},   {Qt::AlignLeft, 16},   {Qt::AlignRight, 54},
                               {Qt::AlignRight, 46},  {Qt::AlignLeft, 110},  {Qt::AlignLeft, 100},
                               {Qt::AlignRight, 130}, {Qt::AlignRight, 130}, {Qt::AlignRight, 130},
                               {Qt::AlignRight, 32},  {Qt::AlignRight, 136}, {Qt::AlignRight, 80}};
    for (int c = 0; c < kColumnCount; ++c) {
        list_->InsertColumn(c, QString(), columns[c].align, columns[c].width);
    }
    CVirtualListModel* model = list_->ListModel();
    model->SetCellText([this](int row, int column) { return CellText(row, column); });
    model->SetCellData([this](int row, int column, int role) -> QVariant {
        const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
        if (record == nullptr) {
            return {};
        }
        const int state = std::clamp<int>(record->enModuleState, 0, 3);
        // While the port is away, the modules the loop measures cannot be reached: say so in their status.
        const bool unreachable = column == kColStatus && outage_.PortLost() &&
                                 record->enModuleState == msIdentified && record->bDisabled == 0;
        if (unreachable && role == Qt::ToolTipRole) {
            return tr("No connection: the port's device has gone");
        }
        if (unreachable && role == Qt::DecorationRole) {
            return noConnectionIcon_;
        }
        if (role == Qt::DecorationRole) {
            if (column == kColActive) {
                return stateIcons_[record->bDisabled != 0 ? 4 : 5];
            }
            if (column == kColStatus) {
                return stateIcons_[state];
            }
            return {};
        }
        static const QColor kText[4] = {Qt::black, QColor(), Qt::white, Qt::black};
        static const QColor kBack[4] = {QColor(230, 230, 0), QColor(), QColor(160, 0, 0), QColor(255, 0, 0)};
        if (role == Qt::ForegroundRole && kText[state].isValid()) {
            return kText[state];
        }
        if (role == Qt::BackgroundRole && kBack[state].isValid()) {
            return kBack[state];
        }
        return {};
    });
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { SetCurrentRow(current.isValid() ? current.row() : -1); });
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        SetCurrentRow(index.row());
        OnDisplayValues();
    });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowContextMenu(pos, false); });
    list_->installEventFilter(this); // the menu key opens the menu at the current row

    const auto readOnly = [this](int width) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(width);
        return edit;
    };
    countEdit_ = readOnly(50);
    countdownEdit_ = readOnly(80);
    rateEdit_ = new QLineEdit(this);
    rateEdit_->setValidator(new QIntValidator(0, 86400 * 7, rateEdit_));
    rateEdit_->setAlignment(Qt::AlignRight);
    rateEdit_->setFixedWidth(70);
    countLabel_ = new QLabel(this);
    nextLabel_ = new QLabel(this);
    inLabel_ = new QLabel(this);
    rateLabel_ = new QLabel(this);
    rateLabel_->setBuddy(rateEdit_);
    secondsLabel_ = new QLabel(QStringLiteral("[s]"), this);

    const auto button = [this](void (CMeasCircuitDlg::*handler)()) {
        auto* b = new QPushButton(this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    loopButton_ = button(&CMeasCircuitDlg::OnMeasLoop);
    singleButton_ = button(&CMeasCircuitDlg::OnSingleMeas);
    displayButton_ = button(&CMeasCircuitDlg::OnDisplayValues);
    displayButton_->setDefault(true);
    eraseButton_ = button(&CMeasCircuitDlg::OnErase);
    displayAllButton_ = button(&CMeasCircuitDlg::OnDisplayAll);
    eraseAllButton_ = button(&CMeasCircuitDlg::OnEraseAll);
    offsetButton_ = button(&CMeasCircuitDlg::OnOffset);
    coeffButton_ = button(&CMeasCircuitDlg::OnCoefficients);
    convTimeButton_ = button(&CMeasCircuitDlg::OnConversionTime);
    appParamsButton_ = button(&CMeasCircuitDlg::OnAppParams);
    haltButton_ = button(&CMeasCircuitDlg::OnHaltState);
    copyButton_ = button(&CMeasCircuitDlg::OnCopyFiles);
    copyButton_->setIcon(style()->standardIcon(QStyle::SP_DriveFDIcon));
    closeButton_ = new QPushButton(this);
    closeButton_->setAutoDefault(false);
    connect(closeButton_, &QPushButton::clicked, this, &CMeasCircuitDlg::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(countLabel_);
    top->addWidget(countEdit_);
    top->addSpacing(16);
    top->addWidget(nextLabel_);
    top->addWidget(inLabel_);
    top->addWidget(countdownEdit_);
    top->addSpacing(16);
    top->addWidget(rateLabel_);
    top->addWidget(rateEdit_);
    top->addWidget(secondsLabel_);
    top->addStretch(1);

    auto* grid = new QGridLayout;
    const QList<QList<QPushButton*>> rows = {
        {loopButton_, singleButton_, displayButton_, eraseButton_, displayAllButton_, eraseAllButton_},
        {offsetButton_, coeffButton_, convTimeButton_, appParamsButton_, haltButton_, copyButton_}};
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid->addWidget(rows[r][c], r, c);
        }
    }
    grid->setColumnStretch(6, 1);
    grid->addWidget(closeButton_, 1, 7);

    outageLabel_ = new QLabel(this);
    outageLabel_->setWordWrap(true);
    outageLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outageLabel_->setMargin(4);
    outageLabel_->hide();
    publishLabel_ = new QLabel(this);
    publishLabel_->setWordWrap(true);
    publishLabel_->setTextFormat(Qt::PlainText);
    publishLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    publishLabel_->setMargin(4);
    publishLabel_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(outageLabel_);
    layout->addWidget(publishLabel_);
    layout->addWidget(list_, 1);
    layout->addLayout(grid);

    // Keyboard order: the list first, then the measuring controls, then the commands.
    QWidget* order[] = {list_,           rateEdit_,         loopButton_,     singleButton_, displayButton_,
                        eraseButton_,    displayAllButton_, eraseAllButton_, offsetButton_, coeffButton_,
                        convTimeButton_, appParamsButton_,  haltButton_,     copyButton_,   closeButton_};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void CMeasCircuitDlg::CreateActions() {
    const std::pair<int, void (CMeasCircuitDlg::*)()> commands[] = {
        {ID_DISPLAY_VALUES, &CMeasCircuitDlg::OnDisplayValues},
        {ID_EDIT_USER_INFO, &CMeasCircuitDlg::OnEditUserInfo},
        {ID_ACTIVATE, &CMeasCircuitDlg::OnActivate},
        {ID_REMOVE, &CMeasCircuitDlg::OnRemove},
        {ID_RESCAN, &CMeasCircuitDlg::OnRescan},
        {ID_STATION_NUMBER, &CMeasCircuitDlg::OnStationNumber},
        {ID_RECREATE_ASCII, &CMeasCircuitDlg::OnRecreateAscii},
        {ID_RESET_BAUD, &CMeasCircuitDlg::OnResetBaud},
        {ID_ERROR66, &CMeasCircuitDlg::OnError66},
        {ID_ACTIVE_CALIB, &CMeasCircuitDlg::OnActiveCalib},
    };
    for (const auto& [id, handler] : commands) {
        auto* action = new QAction(this);
        action->setData(id);
        connect(action, &QAction::triggered, this, handler);
        actions_.push_back(action);
    }
}

QAction* CMeasCircuitDlg::MenuAction(int commandId) const {
    for (QAction* action : actions_) {
        if (action->data().toInt() == commandId) {
            return action;
        }
    }
    return nullptr;
}

void CMeasCircuitDlg::Retranslate() {
    setWindowTitle(tr("Measuring circuit"));
    const int headers[kColumnCount] = {24737, 24738, 24739, 24740, 24741, 24742,
                                       24743, 24744, 24745, 24746, 24747, 24748};
    for (int c = 0; c < kColumnCount; ++c) {
        list_->ListModel()->SetColumnTitle(c, FindText(TextKind::String, headers[c]));
    }
    list_->FitColumnsToTitles();
    // A whole time stamp ("dd.mm.yyyy hh:mm:ss"), which the specified width cuts in common fonts.
    list_->FitColumnToText(kColLastMeas, QStringLiteral("00.00.0000 00:00:00"));
    list_->SetEmptyText(Text(32790));
    countLabel_->setText(tr("# modules:"));
    nextLabel_->setText(tr("Next measuring"));
    inLabel_->setText(tr("in:"));
    rateLabel_->setText(tr("Meas. &rate:"));
    loopButton_->setText(run_ == CircuitRun::kLoop ? Text(24777) : tr("&Meas. loop"));
    singleButton_->setText(run_ == CircuitRun::kSingle ? Text(24777) : tr("&Single meas."));
    displayButton_->setText(tr("&Display meas. values"));
    eraseButton_->setText(tr("&Erase meas. values"));
    displayAllButton_->setText(tr("Display &all meas. vals."));
    eraseAllButton_->setText(tr("Erase all meas. &vals."));
    offsetButton_->setText(tr("&Offset correct."));
    coeffButton_->setText(tr("&Calibr. coeff."));
    convTimeButton_->setText(tr("Convers. &time"));
    appParamsButton_->setText(tr("Appli. Paras"));
    haltButton_->setText(tr("HaltMState"));
    copyButton_->setText(tr("Copy measurement &files..."));
    closeButton_->setText(tr("Close"));
    for (QAction* action : actions_) {
        action->setText(FindText(TextKind::Label, action->data().toInt()));
    }
    ShowOutage();
    ShowPublishing();
}

void CMeasCircuitDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        Retranslate();
    }
    CPlacementDialog::changeEvent(event);
}

// ---- the list -----------------------------------------------------------------------------------------

QString CMeasCircuitDlg::CellText(int row, int column) const {
    const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
    if (record == nullptr || row < 0 || static_cast<size_t>(row) >= rows_.size()) {
        return {};
    }
    const RowValueTexts& values = rows_[static_cast<size_t>(row)].values;
    switch (column) {
    case kColStation:
        return QString::number(record->iaStation);
    case kColSerial:
        return QString::number(record->SerialNo());
    case kColModule:
        return FromStored(record->ModuleName());
    case kColPlace:
        return FromStored(FieldText(record->szLocation));
    case kColConvCount:
        return record->bIsTavikXV != 0
                   ? QString::number(record->dwNumberOfMeas0)
                   : QStringLiteral("%1/%2").arg(record->dwNumberOfMeas0).arg(record->dwNumberOfMeas1);
    case kColConvTime:
        return QString::number(ConversionTimeSec(record));
    case kColLastMeas:
        return QString::fromStdString(values.lastMeas);
    case kColSwitch:
        return QString::fromStdString(values.switchText);
    case kColValue:
        return QString::fromStdString(values.value);
    case kColValues:
        return QString::fromStdString(values.count);
    default:
        return {};
    }
}

void CMeasCircuitDlg::FillList() {
    const int keep = currentRow_; // emptying the model moves the current row away
    list_->SetRedraw(false);
    rows_.assign(loop_.SlotCount(), {});
    list_->DeleteAllItems();
    for (uint32_t i = 0; i < rows_.size(); ++i) {
        if (const ModuleRecord* record = loop_.RecordAt(i)) {
            rows_[i].serial = record->SerialNo();
        }
        RefreshStoredValue(static_cast<int>(i));
    }
    list_->ListModel()->SetRowCount(static_cast<int>(rows_.size()));
    list_->SetRedraw(true);
    if (keep >= 0 && keep < static_cast<int>(rows_.size())) {
        list_->Select(keep);
    }
    SetCurrentRow(list_->currentIndex().isValid() ? list_->currentIndex().row() : -1);
}

void CMeasCircuitDlg::RefreshIdentity(int row) {
    if (row >= 0 && static_cast<size_t>(row) < rows_.size()) {
        if (const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row))) {
            rows_[static_cast<size_t>(row)].serial = record->SerialNo();
        }
        list_->ListModel()->RefreshRow(row);
    }
    UpdateCommandStates();
}

void CMeasCircuitDlg::RefreshStoredValue(int row) {
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(row));
    const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
    RowValueTexts texts;
    if (store != nullptr && record != nullptr && store->IsBound()) {
        const uint32_t count = store->RecordCount();
        if (count > 0 && store->ReadRecord(count - 1)) {
            texts = MakeRowValueTexts(*record, &store->ReadRecordData(), count);
        }
    }
    rows_[static_cast<size_t>(row)].values = std::move(texts);
    list_->ListModel()->RefreshRow(row);
}

int CMeasCircuitDlg::RowOfSerial(uint16_t serial) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].serial == serial) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

ModuleRecord* CMeasCircuitDlg::CurrentRecord() const {
    return currentRow_ >= 0 ? loop_.RecordAt(static_cast<uint32_t>(currentRow_)) : nullptr;
}

void CMeasCircuitDlg::SetCurrentRow(int row) {
    currentRow_ = row;
    UpdateCommandStates();
}

QString CMeasCircuitDlg::MenuTitle() const {
    return QString::fromStdString(CircuitMenuTitle(CurrentRecord()));
}

void CMeasCircuitDlg::UpdateCommandStates() {
    CircuitInput in;
    in.moduleCount = moduleCount_;
    in.current = CurrentRecord();
    in.run = run_;
    in.hasValueWindow = static_cast<bool>(windows_.createValueWindow);
    in.hasOffset = static_cast<bool>(windows_.offset);
    in.hasCoefficients = static_cast<bool>(windows_.coefficients);
    in.hasConversionTime = static_cast<bool>(windows_.changeConversionTime);
    in.hasApplicationParameters = static_cast<bool>(windows_.applicationParameters);
    in.hasUserData = static_cast<bool>(windows_.userData);
    in.hasStationNumber = static_cast<bool>(windows_.changeStationNumber);
    in.hasResetBaud = static_cast<bool>(windows_.resetBaud);
    in.hasError66 = static_cast<bool>(windows_.error66Limit);
    in.hasActiveCalib = static_cast<bool>(windows_.activeCalibration);
    const CircuitCommands c = CircuitCommandStates(in);
    singleButton_->setEnabled(c.singleMeas);
    loopButton_->setEnabled(c.measLoop);
    rateEdit_->setEnabled(c.rateEdit);
    displayButton_->setEnabled(c.display);
    eraseButton_->setEnabled(c.erase);
    displayAllButton_->setEnabled(c.displayAll);
    eraseAllButton_->setEnabled(c.eraseAll);
    offsetButton_->setEnabled(c.offset);
    coeffButton_->setEnabled(c.coefficients);
    convTimeButton_->setEnabled(c.conversionTime);
    appParamsButton_->setEnabled(c.applicationParameters);
    haltButton_->setEnabled(c.haltState);
    copyButton_->setEnabled(c.copyFiles);
    const std::pair<int, bool> menu[] = {{ID_DISPLAY_VALUES, c.menuDisplay},
                                         {ID_EDIT_USER_INFO, c.menuUserData},
                                         {ID_ACTIVATE, c.menuActivate},
                                         {ID_REMOVE, c.menuRemove},
                                         {ID_RESCAN, c.menuRescan},
                                         {ID_STATION_NUMBER, c.menuStationNumber},
                                         {ID_RECREATE_ASCII, c.menuRecreateAscii},
                                         {ID_RESET_BAUD, c.menuResetBaud},
                                         {ID_ERROR66, c.menuError66},
                                         {ID_ACTIVE_CALIB, c.menuActiveCalib}};
    for (const auto& [id, enabled] : menu) {
        MenuAction(id)->setEnabled(enabled);
    }
}

QMenu* CMeasCircuitDlg::BuildContextMenu() {
    auto* menu = new CTitledPopupMenu(this);
    for (QAction* action : actions_) {
        menu->addAction(action);
    }
    menu->SetMenuTitle(MenuTitle());
    return menu;
}

bool CMeasCircuitDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        const QRect row =
            currentRow_ >= 0 ? list_->visualRect(list_->model()->index(currentRow_, 0)) : QRect();
        ShowContextMenu(row.isValid() ? QPoint(row.left() + 5, row.bottom()) : QPoint(5, 5), true);
        return true;
    }
    return CPlacementDialog::eventFilter(watched, event);
}

void CMeasCircuitDlg::ShowContextMenu(const QPoint& viewportPos, bool fromKeyboard) {
    if (moduleCount_ == 0) {
        return;
    }
    if (fromKeyboard) {
        std::unique_ptr<QMenu> menu(BuildContextMenu());
        static_cast<CTitledPopupMenu*>(menu.get())->Track(list_->viewport()->mapToGlobal(viewportPos));
        return;
    }
    // Only the rows' area opens the menu, not the header or the strip just below it.
    const QRect trigger = list_->viewport()->rect().adjusted(0, 2, 0, 0);
    if (!trigger.contains(viewportPos)) {
        return;
    }
    const QModelIndex index = list_->indexAt(viewportPos);
    if (index.isValid()) {
        list_->Select(index.row());
        SetCurrentRow(index.row());
    }
    std::unique_ptr<QMenu> menu(BuildContextMenu());
    static_cast<CTitledPopupMenu*>(menu.get())
        ->Track(list_->viewport()->mapToGlobal(viewportPos + QPoint(0, 5)));
}

// ---- measuring ----------------------------------------------------------------------------------------

void CMeasCircuitDlg::OnSingleMeas() {
    StartMeasuring(CircuitRun::kSingle);
}

void CMeasCircuitDlg::OnMeasLoop() {
    StartMeasuring(CircuitRun::kLoop);
}

uint32_t CMeasCircuitDlg::SaveRate() {
    bool ok = false;
    uint32_t rate = rateEdit_->text().toUInt(&ok);
    if (!ok) {
        rate = kDefaultRate;
    }
    CIniSection settings(SettingsFilePath(), kSection);
    if (settings.ReadDWord("dwMeasTime", kDefaultRate) != rate) {
        settings.WriteDWord("dwMeasTime", rate);
    }
    return rate;
}

void CMeasCircuitDlg::StartMeasuring(CircuitRun run) {
    if (moduleCount_ == 0 || shutDown_) {
        return;
    }
    if (run_ != CircuitRun::kIdle) {
        loop_.Stop(); // the pressed button reads "stop"; idle follows through the listener
        return;
    }
    auto activity = std::make_unique<BusActivity>(context_, nullptr, windowTitle());
    if (!*activity) {
        activity->ShowRefusal(this);
        return;
    }
    const uint32_t rate = SaveRate();
    measuring_ = std::move(activity);
    cancelPoll_->start();
    run_ = run;
    storeFailureShown_ = false;
    outage_.Clear();
    ReportLoopStatus(LoopPhase::kMeasuring);
    Retranslate();
    UpdateCommandStates();
    StartPublishing();
    if (!loop_.Start(run == CircuitRun::kLoop, rate)) {
        const MeasStartError error = loop_.StartError();
        const QString text = error == kMeasStartNoPort     ? Text(24655)
                             : error == kMeasStartNoTimer  ? Text(24656)
                             : error == kMeasStartPortBusy ? BusBusyMeasuringText()
                                                           : QString::fromLatin1(MeasStartErrorText(error));
        ShowMessage(this, text, windowTitle(), MessageIcon::Warning);
        // Nothing runs: end the stop at once instead of leaving a "stop" button that stops nothing.
        loop_.Stop();
    }
}

void CMeasCircuitDlg::OnNewValue(uint16_t serial, std::shared_ptr<CMeasRecord> value) {
    const int row = RowOfSerial(serial);
    const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
    if (row < 0 || record == nullptr || record->SerialNo() != serial) {
        return; // the row went meanwhile
    }
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(row));
    const uint32_t count = store != nullptr ? store->RecordCount() : 0;
    rows_[static_cast<size_t>(row)].values = MakeRowValueTexts(*record, value.get(), count);
    list_->ListModel()->RefreshRow(row);
    if (ValueWindow* window = FindValueWindow(serial)) {
        window->view->OnNewValue();
    }
    if (publisher_ != nullptr) {
        publisher_->Notify();
    }
    ReportLoopStatus(LoopPhase::kMeasuring);
}

void CMeasCircuitDlg::OnCountdown(uint32_t secondsLeft) {
    countdownEdit_->setText(QString::fromStdString(FormatCountdown(secondsLeft)));
    ReportLoopStatus(outage_.PortLost() ? LoopPhase::kPortLost : LoopPhase::kWaiting, secondsLeft);
}

void CMeasCircuitDlg::OnPortLost(const PortOutage& outage, const QDateTime& at) {
    if (!outage.active) {
        return; // the loop stops (idle follows)
    }
    outage_.Lost(outage, at);
    ShowOutage();
    list_->ListModel()->RefreshAll();
    ReportLoopStatus(LoopPhase::kPortLost, outage.retrySeconds);
}

void CMeasCircuitDlg::OnPortBack(uint32_t gapSeconds, const QDateTime& at) {
    outage_.Back(gapSeconds, at);
    ShowOutage();
    list_->ListModel()->RefreshAll();
    ReportLoopStatus(LoopPhase::kMeasuring);
}

void CMeasCircuitDlg::ShowOutage() {
    const QString text = outage_.Text();
    outageLabel_->setText(text);
    outageLabel_->setStyleSheet(outage_.PortLost()
                                    ? QStringLiteral("QLabel { background: #ffe0a0; color: black; }")
                                    : QStringLiteral("QLabel { background: #d8f0d0; color: black; }"));
    outageLabel_->setVisible(!text.isEmpty());
}

void CMeasCircuitDlg::StartPublishing() {
    const PublishSettings settings = ReadPublishSettings(SettingsFilePath());
    if (publisher_ != nullptr && settings == publishSettings_) {
        return; // publishing since an earlier run
    }
    StopPublishing();
    if (settings.url.empty()) {
        return;
    }
    std::string why;
    const std::optional<BrokerOptions> broker = ResolveBrokerOptions(settings, &why);
    if (!broker) {
        // Measuring goes on; the line says why nothing is published.
        publishTrouble_ = tr("Publishing is off: %1").arg(CoreText(why));
        ShowPublishing();
        return;
    }
    publishSettings_ = settings;
    publishStatus_ = PublishStatus{};
    publishStatus_.where = broker->url.Where();
    publishListener_.SetGeneration(++publishGeneration_);
    publisher_ = std::make_unique<Publisher>(*broker, PublishedModulesOf(loop_), &publishListener_);
    publisher_->Start();
    ShowPublishing();
}

void CMeasCircuitDlg::StopPublishing() {
    if (publisher_ != nullptr) {
        // Nothing is drained here: what waits is sent by the next run, from the cursors saved now.
        publisher_->Stop();
        publisher_.reset();
    }
    publishSettings_ = {};
    publishStatus_ = {};
    publishTrouble_.clear();
    ShowPublishing();
}

void CMeasCircuitDlg::ShowPublishing() {
    if (publishLabel_ == nullptr) {
        return;
    }
    const PublishStatus& s = publishStatus_;
    const QString where = QString::fromStdString(s.where);
    const QString waiting = QString::number(s.waiting);
    QString text;
    QString tip;
    if (publisher_ != nullptr) {
        if (s.connected) {
            text = tr("Publishing to %1: connected; records waiting: %2").arg(where, waiting);
        } else if (s.failure == MqttFailure::kNone) {
            text = tr("Publishing to %1: connecting; records waiting: %2").arg(where, waiting);
        } else {
            // The publisher's reason begins with the broker's address, which the line names already.
            std::string detail = s.reason;
            if (detail.starts_with(s.where + ": ")) {
                detail.erase(0, s.where.size() + 2);
            }
            text = tr("Publishing to %1 waits (%2); records waiting: %3")
                       .arg(where, PublishTexts::Short(s.failure, detail), waiting);
            tip = PublishTexts::Outcome(s.failure, s.where, detail);
        }
    }
    if (!publishTrouble_.isEmpty()) {
        text = text.isEmpty() ? publishTrouble_ : text + QStringLiteral("\n") + publishTrouble_;
    }
    const bool good = publisher_ != nullptr && s.connected && publishTrouble_.isEmpty();
    publishLabel_->setText(text);
    publishLabel_->setToolTip(tip);
    publishLabel_->setStyleSheet(good ? QString()
                                      : QStringLiteral("QLabel { background: #ffe0a0; color: black; }"));
    publishLabel_->setVisible(!text.isEmpty());
}

void CMeasCircuitDlg::ReportLoopStatus(LoopPhase phase, uint32_t secondsLeft) {
    LoopStatus status;
    if (run_ == CircuitRun::kLoop && !shutDown_) {
        status.phase = phase;
    }
    if (status.phase == LoopPhase::kWaiting || status.phase == LoopPhase::kPortLost) {
        const QDateTime due = QDateTime::currentDateTime().addSecs(secondsLeft);
        // The countdown is in whole seconds: keep this wait's due time unless it really moved.
        const LoopStatus before = MeasuringStatus::Instance().Get(&context_);
        status.due = before.phase == status.phase && std::abs(before.due.secsTo(due)) <= 1 ? before.due : due;
    }
    MeasuringStatus::Instance().Set(&context_, status);
}

void CMeasCircuitDlg::OnLoopIdle() {
    if (loop_.IsMeasuring()) {
        return; // a late report of an earlier run
    }
    run_ = CircuitRun::kIdle;
    measuring_.reset();
    cancelPoll_->stop();
    countdownEdit_->clear();
    if (outage_.PortLost()) {
        outage_.Clear(); // nothing tries the port any more
        list_->ListModel()->RefreshAll();
    }
    ReportLoopStatus(LoopPhase::kIdle);
    Retranslate();
    UpdateCommandStates();
}

void CMeasCircuitDlg::StopAndRelease() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    // After the current module the loop stops; its thread is joined and the port released.
    loop_.Shutdown();
    StopPublishing();
    MeasuringStatus::Instance().Set(&context_, {});
    measuring_.reset();
    run_ = CircuitRun::kIdle;
    CloseAllValueWindows();
    // The records belong to the bus list, which a later scan may rebuild: keep no slot pointing at them.
    loop_.Bind(nullptr, nullptr);
    rows_.clear();
    list_->ListModel()->SetRowCount(0);
}

void CMeasCircuitDlg::reject() {
    if (DeferCloseWhileBusy(false)) {
        return; // a module dialog or bus command of this window is still running
    }
    // A measurement left running is not ended by a stray Escape; the end of the session asks nothing.
    if (!shutDown_ && loop_.IsMeasuring() && !SessionEnd::Ending() &&
        ShowMessage(this, StopMeasuringQuestion(), windowTitle(), MessageIcon::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    if (!shutDown_) {
        SaveWindowPlacement(kSection);
        list_->SaveColumns(kSection);
    }
    StopAndRelease();
    CPlacementDialog::reject();
}

// ---- refusals -----------------------------------------------------------------------------------------

bool CMeasCircuitDlg::RefuseWhileMeasuring(int command) {
    if (!loop_.IsMeasuring()) {
        return false;
    }
    const MeasuringConflict conflict = ConflictWhileMeasuring(command);
    if (conflict == MeasuringConflict::kNone) {
        return false;
    }
    const QString stop = Text(24777); // the caption of the pressed measuring button
    const QString text =
        conflict == MeasuringConflict::kBus
            ? tr("This command talks to the module over the bus, and the measuring loop is using the bus "
                 "now.\nStop the measuring loop (\"%1\"), then try again.")
                  .arg(stop)
            : tr("This command works on measurement files that the measuring loop is writing now.\nStop the "
                 "measuring loop (\"%1\"), then try again.")
                  .arg(stop);
    ShowMessage(this, text, windowTitle(), MessageIcon::Warning);
    return true;
}

bool CMeasCircuitDlg::RequireRecord() {
    if (CurrentRecord() == nullptr) {
        ShowMessage(this, Text(24707), windowTitle(), MessageIcon::Warning);
        return false;
    }
    return true;
}

// ---- value windows ------------------------------------------------------------------------------------

CMeasCircuitDlg::ValueWindow* CMeasCircuitDlg::FindValueWindow(uint16_t serial) {
    for (ValueWindow& w : valueWindows_) {
        if (w.serial == serial && w.window != nullptr) {
            return &w;
        }
    }
    return nullptr;
}

CPlacementDialog* CMeasCircuitDlg::OpenValueWindow(int row, bool show) {
    ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(row));
    if (record == nullptr || store == nullptr || !windows_.createValueWindow) {
        return nullptr;
    }
    if (ValueWindow* open = FindValueWindow(record->SerialNo())) {
        open->window->raise();
        open->window->activateWindow();
        return open->window;
    }
    if (record->enModuleState == msCollision || !store->IsBound()) {
        return nullptr;
    }
    MeasValueView* view = windows_.createValueWindow(context_, parentWidget(), *record, *store);
    CPlacementDialog* window = view != nullptr ? view->Window() : nullptr;
    if (window == nullptr) {
        return nullptr;
    }
    connect(window, &CPlacementDialog::childClosed, this, &CMeasCircuitDlg::OnValueWindowClosed);
    valueWindows_.push_back({record->SerialNo(), view, window});
    if (show) {
        window->Create();
    }
    return window;
}

void CMeasCircuitDlg::OnValueWindowClosed(QWidget* window) {
    std::erase_if(valueWindows_,
                  [window](const ValueWindow& w) { return w.window == window || w.window == nullptr; });
}

void CMeasCircuitDlg::CloseValueWindow(uint16_t serial) {
    if (ValueWindow* w = FindValueWindow(serial)) {
        QPointer<CPlacementDialog> window = w->window;
        window->close();
        // At once, not later: the window reads a value store that is about to go.
        delete window.data();
    }
    std::erase_if(valueWindows_,
                  [serial](const ValueWindow& w) { return w.serial == serial || w.window == nullptr; });
}

void CMeasCircuitDlg::CloseAllValueWindows() {
    while (!valueWindows_.empty()) {
        CloseValueWindow(valueWindows_.front().serial);
    }
}

void CMeasCircuitDlg::OnDisplayValues() {
    if (moduleCount_ == 0 || currentRow_ < 0) {
        return;
    }
    OpenValueWindow(currentRow_, true);
}

void CMeasCircuitDlg::OnDisplayAll() {
    if (moduleCount_ == 0) {
        return;
    }
    const QScreen* screen = QGuiApplication::screenAt(pos()) != nullptr ? QGuiApplication::screenAt(pos())
                                                                        : QGuiApplication::primaryScreen();
    const QRect desk = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    int x = desk.left();
    int y = desk.top();
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        CPlacementDialog* window = OpenValueWindow(row, false);
        if (window == nullptr) {
            continue;
        }
        const QSize size = window->frameGeometry().size();
        if (y + size.height() > desk.bottom() && y != desk.top()) {
            y = desk.top();
            x += size.width();
        }
        window->move(x, y);
        if (window->isVisible()) {
            window->showNormal();
        } else {
            window->Create();
        }
        y += size.height();
    }
}

// ---- erasing ------------------------------------------------------------------------------------------

bool CMeasCircuitDlg::EraseRow(int row, bool confirm) {
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(row));
    if (store == nullptr || !store->IsBound() || store->RecordCount() == 0) {
        return true;
    }
    if (confirm && ShowMessage(this, Text(24667), windowTitle(), MessageIcon::Question,
                               QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return false;
    }
    if (!store->Erase()) {
        ShowMessage(this, Text(24669) + QLatin1Char('\n') + CoreText(store->LastErrorText()), windowTitle(),
                    MessageIcon::Warning);
        return false;
    }
    RefreshStoredValue(row);
    if (ValueWindow* window = FindValueWindow(rows_[static_cast<size_t>(row)].serial)) {
        window->view->OnNewValue(); // it reads the now empty store again
    }
    return true;
}

void CMeasCircuitDlg::OnErase() {
    if (moduleCount_ == 0 || currentRow_ < 0 || RefuseWhileMeasuring(ID_ERASE)) {
        return;
    }
    EraseRow(currentRow_, true);
}

void CMeasCircuitDlg::OnEraseAll() {
    if (moduleCount_ == 0 || RefuseWhileMeasuring(ID_ERASE_ALL)) {
        return;
    }
    bool any = false;
    for (uint32_t i = 0; i < loop_.SlotCount() && !any; ++i) {
        CMeasValueStore* store = loop_.StoreAt(i);
        any = store != nullptr && store->IsBound() && store->RecordCount() > 0;
    }
    if (!any || ShowMessage(this, Text(24668), windowTitle(), MessageIcon::Question,
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        EraseRow(row, false);
    }
}

// ---- module commands ----------------------------------------------------------------------------------

void CMeasCircuitDlg::OnRescan() {
    if (moduleCount_ == 0 || !RequireRecord() || RefuseWhileMeasuring(ID_RESCAN)) {
        return;
    }
    BusActivity activity(context_, this, windowTitle());
    if (!activity) {
        activity.ShowRefusal(this);
        return;
    }
    // A record of a known module is overwritten only by that module: after a swap elsewhere on the bus the
    // station may answer with another one, whose identity would otherwise land in this row and file.
    PortUser portUser(&context_.portContext);
    ModuleRecord* record = CurrentRecord();
    if (!portUser.Acquire()) {
        ShowMessage(this, PortFailureText(context_.portContext), windowTitle(), MessageIcon::Warning);
        return;
    }
    if (!RefuseOtherModuleAtStation(this, portUser.Port(), *record, record->iaStation)) {
        return;
    }
    if (!RescanModule(portUser, UnitName, *record)) {
        ShowMessage(this, Text(24671), windowTitle(), MessageIcon::Warning);
        return;
    }
    FillList();
    list_->setFocus();
}

void CMeasCircuitDlg::OnActivate() {
    if (moduleCount_ == 0 || !RequireRecord()) {
        return;
    }
    ModuleRecord* record = CurrentRecord();
    if (IsCollisionPlaceholder(*record)) {
        ShowMessage(this, Text(24708), windowTitle(), MessageIcon::Warning);
        return;
    }
    // Through the loop: it may be reading the flag right now on its own thread.
    loop_.SetModuleDisabled(static_cast<uint32_t>(currentRow_), record->bDisabled == 0);
    InventoryFileError error;
    if (!SaveModuleChange(*record, &error)) {
        ShowMessage(this, CoreText(error.Message()), windowTitle(), MessageIcon::Warning);
    }
    RefreshIdentity(currentRow_);
}

void CMeasCircuitDlg::OnRemove() {
    if (moduleCount_ == 0 || !RequireRecord()) {
        return;
    }
    const ModuleRecord* record = CurrentRecord();
    const uint16_t serial = record->SerialNo();
    if (IsCollisionPlaceholder(*record)) {
        ShowMessage(this, Text(24708), windowTitle(), MessageIcon::Warning);
        return;
    }
    if (RefuseWhileMeasuring(ID_REMOVE)) {
        return;
    }
    if (ShowMessage(this, Text(24717), windowTitle(), MessageIcon::Information,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    CloseValueWindow(serial);
    loop_.RemoveBySerial(serial); // the slot only points at the record, which the bus list deletes
    if (RemoveModuleFromBus(context_.busList, *record) == ModuleRemoval::kSaveFailed) {
        ShowMessage(this, CoreText(context_.busList.LastFileError().Message()), windowTitle(),
                    MessageIcon::Warning);
    }
    moduleCount_ = loop_.SlotCount();
    countEdit_->setText(QString::number(moduleCount_));
    currentRow_ = -1;
    FillList();
    list_->setFocus();
}

void CMeasCircuitDlg::OnRecreateAscii() {
    if (moduleCount_ == 0 || !RequireRecord() || RefuseWhileMeasuring(ID_RECREATE_ASCII)) {
        return;
    }
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(currentRow_));
    if (store == nullptr || !store->IsBound()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = store->RecreateAscii();
    QApplication::restoreOverrideCursor();
    if (ok) {
        ShowMessage(this, Text(24786), windowTitle(), MessageIcon::Information);
    } else {
        ShowMessage(this, Text(24787) + QLatin1Char('\n') + CoreText(store->LastErrorText()), windowTitle(),
                    MessageIcon::Stop);
    }
}

void CMeasCircuitDlg::OnCopyFiles() {
    if (moduleCount_ == 0 || RefuseWhileMeasuring(ID_COPY_FILES)) {
        return;
    }
    if (ShowMessage(this, Text(24767), Text(24766), MessageIcon::Question,
                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const char* user = std::getenv("USER");
    const QString start = QString::fromStdString(
        RemovableMediaStart(user != nullptr ? user : "", QDir::homePath().toStdString()).string());
    const QString folder =
        chooseFolder_ ? chooseFolder_(start) : QFileDialog::getExistingDirectory(this, Text(24766), start);
    if (folder.isEmpty()) {
        return;
    }
    std::vector<CopySource> sources;
    for (uint32_t i = 0; i < loop_.SlotCount(); ++i) {
        CMeasValueStore* store = loop_.StoreAt(i);
        if (store != nullptr && store->IsBound()) {
            sources.push_back({store->Serial(), store->BinaryPath()});
        }
    }
    const CopyReport report = CopyMeasurementFiles(sources, folder.toStdString());
    QString text =
        tr("%n file(s) copied to %1.", nullptr, static_cast<int>(report.copied.size())).arg(folder);
    if (!report.skipped.empty()) {
        text += QLatin1Char('\n') + tr("Without measured values (skipped):");
        for (const auto& file : report.skipped) {
            text += QStringLiteral("\n  ") + QString::fromStdString(file.filename().string());
        }
    }
    if (!report.failed.empty()) {
        text += QLatin1Char('\n') + tr("Could not be copied:");
        for (const auto& [file, reason] : report.failed) {
            text += QStringLiteral("\n  %1: %2").arg(QString::fromStdString(file.string()), CoreText(reason));
        }
    }
    ShowMessage(this, text, Text(24766),
                report.failed.empty() ? MessageIcon::Information : MessageIcon::Warning);
}

void CMeasCircuitDlg::RunModuleDialog(int command, const ModuleWindows::ModalDialog& dialog, bool xvOnly) {
    if (moduleCount_ == 0 || !dialog || !RequireRecord()) {
        return;
    }
    ModuleRecord* record = CurrentRecord();
    if (xvOnly && record->bIsTavikXV == 0) {
        ShowMessage(this, Text(24708), windowTitle(), MessageIcon::Warning);
        return;
    }
    if (RefuseWhileMeasuring(command)) {
        return;
    }
    const int row = currentRow_;
    {
        // The dialog is a local of the entry with this window as its parent: the window stays until it ended.
        WindowOperation operation(this);
        if (!dialog(context_, this, *record)) {
            return;
        }
    }
    InventoryFileError error;
    if (!SaveModuleChange(*record, &error)) {
        ShowMessage(this, CoreText(error.Message()), windowTitle(), MessageIcon::Warning);
    }
    FillList();
    list_->Select(row);
}

void CMeasCircuitDlg::OnEditUserInfo() {
    RunModuleDialog(ID_EDIT_USER_INFO, windows_.userData, false);
}
void CMeasCircuitDlg::OnStationNumber() {
    // This command has its own text for a missing selection.
    if (moduleCount_ != 0 && CurrentRecord() == nullptr) {
        ShowMessage(this, Text(24637), windowTitle(), MessageIcon::Warning);
        return;
    }
    RunModuleDialog(ID_STATION_NUMBER, windows_.changeStationNumber, false);
}
void CMeasCircuitDlg::OnResetBaud() {
    RunModuleDialog(ID_RESET_BAUD, windows_.resetBaud, false);
}
void CMeasCircuitDlg::OnError66() {
    RunModuleDialog(ID_ERROR66, windows_.error66Limit, false);
}
void CMeasCircuitDlg::OnActiveCalib() {
    RunModuleDialog(ID_ACTIVE_CALIB, windows_.activeCalibration, true);
}
void CMeasCircuitDlg::OnOffset() {
    RunModuleDialog(ID_OFFSET, windows_.offset, true);
}
void CMeasCircuitDlg::OnCoefficients() {
    RunModuleDialog(ID_COEFFICIENTS, windows_.coefficients, true);
}
void CMeasCircuitDlg::OnConversionTime() {
    RunModuleDialog(ID_CONVERSION_TIME, windows_.changeConversionTime, true);
}
void CMeasCircuitDlg::OnAppParams() {
    RunModuleDialog(ID_APP_PARAMS, windows_.applicationParameters, true);
}

void CMeasCircuitDlg::OnHaltState() {
    if (moduleCount_ == 0 || !RequireRecord()) {
        return;
    }
    ModuleRecord* record = CurrentRecord();
    if (!HasHaltState(*record)) {
        ShowMessage(this, Text(24708), windowTitle(), MessageIcon::Warning);
        return;
    }
    if (RefuseWhileMeasuring(ID_HALT_STATE)) {
        return;
    }
    WindowOperation operation(this);
    CHaltMeasStateDlg dialog(context_, this, *record);
    dialog.exec();
}

} // namespace terrix

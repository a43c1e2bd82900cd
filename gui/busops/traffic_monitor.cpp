#include "gui/busops/traffic_monitor.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/bus/frame.h"
#include "gui/base/window_contracts.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/window_fit.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

// In the user's language: the monitor is for people; the saved text keeps the numbers terrix-cli prints.
QString CommandName(uint8_t command) {
    switch (command) {
    case kCmdSetStationBySerial:
        return CTrafficMonitor::tr("set station by serial");
    case kCmdReadStationInfo:
        return CTrafficMonitor::tr("read station info");
    case kCmdSetBaudAll:
        return CTrafficMonitor::tr("set baud rate (all)");
    case kCmdProgramResetBaud:
        return CTrafficMonitor::tr("program reset baud rate");
    case kCmdReadHaltState:
        return CTrafficMonitor::tr("read halt state");
    case kCmdWriteHaltState:
        return CTrafficMonitor::tr("write halt state");
    case kCmdReadAppParams:
        return CTrafficMonitor::tr("read application parameters");
    case kCmdWriteAppParams:
        return CTrafficMonitor::tr("write application parameters");
    case kCmdReadTempCalib:
        return CTrafficMonitor::tr("read temperature calibration");
    case kCmdWriteTempCalib:
        return CTrafficMonitor::tr("write temperature calibration");
    case kCmdReadMeasBlockA:
        return CTrafficMonitor::tr("read XV block A");
    case kCmdReadMeasBlockB:
        return CTrafficMonitor::tr("read XV block B");
    case kCmdReadActiveCalib:
        return CTrafficMonitor::tr("read active calibration");
    case kCmdWriteActiveCalib:
        return CTrafficMonitor::tr("write active calibration");
    case kCmdReadMatCalib:
        return CTrafficMonitor::tr("read material calibration");
    case kCmdWriteMatCalib:
        return CTrafficMonitor::tr("write material calibration");
    case kCmdWriteZeroOffset:
        return CTrafficMonitor::tr("write zero offset");
    case kCmdWriteAnalogCfg:
        return CTrafficMonitor::tr("write analog configuration");
    case kCmdWriteNumberOfMeas:
        return CTrafficMonitor::tr("write number of measurements");
    case kCmdReadZeroOffset:
        return CTrafficMonitor::tr("read zero offset");
    case kCmdReadAnalogCfg:
        return CTrafficMonitor::tr("read analog configuration");
    case kCmdReadNumberOfMeas:
        return CTrafficMonitor::tr("read number of measurements");
    case kCmdWriteOffset:
        return CTrafficMonitor::tr("write offset");
    case kCmdReadOffset:
        return CTrafficMonitor::tr("read offset");
    case kCmdReadSensorDataPart:
        return CTrafficMonitor::tr("read sensor data");
    case kCmdReadMeasuredValues:
        return CTrafficMonitor::tr("read measured values");
    case kCmdStartMeasurement:
        return CTrafficMonitor::tr("start measurement");
    default:
        return {};
    }
}

// ----- model -----

TrafficModel::TrafficModel(size_t limit, QObject* parent) : QAbstractTableModel(parent), limit_(limit) {}

void TrafficModel::Append(const BusTraceEvent& event, const QDateTime& when) {
    if (limit_ == 0) {
        return;
    }
    if (frames_.size() >= limit_) {
        // Oldest first out; removing a block of rows at once would be cheaper, but one row per frame keeps
        // the view's scroll position exact and costs a deque pop.
        beginRemoveRows(QModelIndex(), 0, 0);
        frames_.pop_front();
        endRemoveRows();
    }
    Frame frame{event, when, {}};
    if (event.direction == BusTraceEvent::Direction::Sent) {
        lastRequest_.assign(event.bytes.begin(),
                            event.bytes.begin() + std::min<size_t>(event.bytes.size(), kHeaderSize));
    } else if (event.bytes.size() < kHeaderSize) {
        // No header of its own (a time-out, or a reply cut short): the row names the request it failed.
        frame.request = lastRequest_;
    }
    const int row = static_cast<int>(frames_.size());
    beginInsertRows(QModelIndex(), row, row);
    frames_.push_back(std::move(frame));
    endInsertRows();
}

void TrafficModel::Clear() {
    beginResetModel();
    frames_.clear();
    lastRequest_.clear();
    endResetModel();
}

void TrafficModel::Retranslate() {
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    if (!frames_.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1), {Qt::DisplayRole});
    }
}

QString TrafficModel::Text() const {
    QString out;
    for (const Frame& frame : frames_) {
        out += frame.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
               QString::asprintf(" [%10.3f ms] ", static_cast<double>(frame.event.clockUs) / 1000.0) +
               QString::fromStdString(DescribeTraceEvent(frame.event)) + QLatin1Char('\n');
    }
    return out;
}

QStringList TrafficModel::TypicalTexts(int column) {
    switch (column) {
    case kTime:
        return {QStringLiteral("00:00:00.000")};
    case kDirection:
        return {tr("sent"), tr("received"), tr("time-out")};
    case kStation:
        return {QStringLiteral("252")};
    case kCommand: {
        QStringList names;
        for (int command = 0; command <= 255; ++command) {
            const QString name = CommandName(static_cast<uint8_t>(command));
            if (!name.isEmpty()) {
                names << QStringLiteral("%1 %2").arg(command).arg(name);
            }
        }
        return names;
    }
    case kOutcome:
        return {tr("ok, status 0x%1").arg(QStringLiteral("00")),
                QStringLiteral("%1 %2")
                    .arg(kBusNoAnswer)
                    .arg(FindText(TextKind::String, BusErrorTextId(kBusNoAnswer)).simplified())};
    case kBytes: {
        // The XV module's reply to "read station info": the header and 28 bytes of data and checksum.
        constexpr int kStationInfoReplyBytes = 35;
        QStringList bytes;
        for (int i = 0; i < kStationInfoReplyBytes; ++i) {
            bytes << QStringLiteral("FF");
        }
        return {bytes.join(QLatin1Char(' '))};
    }
    default:
        return {};
    }
}

int TrafficModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(frames_.size());
}

int TrafficModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QString TrafficModel::Cell(const Frame& frame, int column) const {
    const std::vector<uint8_t>& b = frame.event.bytes;
    const bool sent = frame.event.direction == BusTraceEvent::Direction::Sent;
    const bool whole = b.size() >= kHeaderSize; // a header of station, ..., command
    // Station and command of the frame's own header, or of the request a headerless reply failed.
    const std::vector<uint8_t>& header = whole ? b : frame.request;
    const bool named = header.size() >= kHeaderSize;
    switch (column) {
    case kTime:
        return frame.when.toString(QStringLiteral("HH:mm:ss.zzz"));
    case kDirection:
        if (sent) {
            return tr("sent");
        }
        return b.empty() && frame.event.busError == kBusNoAnswer ? tr("time-out") : tr("received");
    case kStation:
        return named ? QString::number(header[0]) : QString();
    case kCommand: {
        if (!named) {
            return {};
        }
        const QString name = CommandName(header[4]);
        return name.isEmpty() ? QString::number(header[4]) : QStringLiteral("%1 %2").arg(header[4]).arg(name);
    }
    case kOutcome:
        if (sent) {
            return frame.event.sendFailed ? tr("send failed") : QString();
        }
        if (frame.event.busError == 0) {
            return whole ? tr("ok, status 0x%1")
                               .arg(QStringLiteral("%1").arg(b[3], 2, 16, QLatin1Char('0')).toUpper())
                         : tr("ok");
        }
        // One line: the longer module error texts carry their possible reasons on further lines.
        return QStringLiteral("%1 %2")
            .arg(frame.event.busError)
            .arg(FindText(TextKind::String, BusErrorTextId(frame.event.busError)).simplified());
    case kBytes: {
        QString hex;
        for (size_t i = 0; i < b.size(); ++i) {
            if (i > 0) {
                hex += QLatin1Char(' ');
            }
            hex += QStringLiteral("%1").arg(b[i], 2, 16, QLatin1Char('0')).toUpper();
        }
        return hex;
    }
    default:
        return {};
    }
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(frames_.size())) {
        return {};
    }
    const Frame& frame = frames_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        return Cell(frame, index.column());
    }
    if (role == Qt::ForegroundRole && frame.event.direction == BusTraceEvent::Direction::Received &&
        frame.event.busError != 0) {
        return QColor(Qt::darkRed);
    }
    if (role == Qt::TextAlignmentRole && index.column() == kStation) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case kTime:
        return tr("Time");
    case kDirection:
        return tr("Direction");
    case kStation:
        return tr("Station");
    case kCommand:
        return tr("Command");
    case kOutcome:
        return tr("Status / error");
    case kBytes:
        return tr("Bytes");
    default:
        return {};
    }
}

// ----- window -----

CTrafficMonitor::CTrafficMonitor(BusContext&, QWidget* owner, size_t limit)
    : CPlacementDialog(owner), model_(limit),
      observer_(this, [this](const BusTraceEvent& event) { OnFrame(event); }) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    auto* layout = new QVBoxLayout(this);
    view_ = new QTableView(this);
    view_->setModel(&model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every column fits its widest text so far (FitColumns): the bytes of a long reply widen the last
    // column and the list scrolls sideways rather than cut them.
    view_->horizontalHeader()->setStretchLastSection(false);
    layout->addWidget(view_, 1);
    auto* buttons = new QHBoxLayout;
    pause_ = new QPushButton(this);
    pause_->setCheckable(true);
    clear_ = new QPushButton(this);
    save_ = new QPushButton(this);
    close_ = new QPushButton(this);
    count_ = new QLabel(this);
    for (QPushButton* button : {pause_, clear_, save_, close_}) {
        button->setAutoDefault(false);
    }
    buttons->addWidget(pause_);
    buttons->addWidget(clear_);
    buttons->addWidget(save_);
    buttons->addSpacing(12);
    buttons->addWidget(count_, 1);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    connect(clear_, &QPushButton::clicked, this, [this] {
        model_.Clear();
        dropped_ = 0;
        UpdateCount();
    });
    connect(pause_, &QPushButton::toggled, this, [this] { UpdateCount(); });
    connect(save_, &QPushButton::clicked, this, &CTrafficMonitor::OnSave);
    connect(close_, &QPushButton::clicked, this, &CTrafficMonitor::reject);
    SetResizable(true);
    resize(900, 420);
    Retranslate();
    connect(&model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { FitColumns(first, last); });
    placementLoaded_ = LoadWindowPlacement("Traffic Monitor");
    observer_.Install();
}

void CTrafficMonitor::OnInitDialog() {
    CPlacementDialog::OnInitDialog();
    if (!placementLoaded_) {
        WidenToShowColumns(this, view_); // the received bytes in view too, as far as the screen allows
    }
}

CTrafficMonitor::~CTrafficMonitor() {
    observer_.Uninstall();
}

void CTrafficMonitor::closeEvent(QCloseEvent* event) {
    SaveWindowPlacement("Traffic Monitor");
    CPlacementDialog::closeEvent(event);
}

void CTrafficMonitor::Retranslate() {
    setWindowTitle(tr("Bus Traffic"));
    model_.Retranslate();
    FitTypicalColumns();
    FitColumns(0, static_cast<int>(model_.Size()) - 1);
    pause_->setText(tr("&Pause"));
    clear_->setText(tr("C&lear"));
    save_->setText(tr("&Save as text..."));
    close_->setText(tr("&Close"));
    UpdateCount();
}

void CTrafficMonitor::FitColumns(int firstRow, int lastRow) {
    // Only widened: a column keeps the room its widest row needed, so rows never jump as frames arrive.
    // The cell's own hint leaves out the grid line and the fraction of a pixel the text may need.
    QHeaderView* header = view_->horizontalHeader();
    const int slack = (view_->showGrid() ? 1 : 0) + 1;
    for (int column = 0; column < TrafficModel::kColumnCount; ++column) {
        int needed = header->sectionSizeHint(column);
        for (int row = firstRow; row <= lastRow; ++row) {
            needed = std::max(needed, view_->sizeHintForIndex(model_.index(row, column)).width() + slack);
        }
        if (needed > header->sectionSize(column)) {
            header->resizeSection(column, needed);
        }
    }
}

void CTrafficMonitor::FitTypicalColumns() {
    // As a cell's hint: the text and the item margins, plus the grid line and a pixel of rounding.
    const QFontMetrics metrics(view_->font());
    const int margins = 2 * (view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1);
    const int slack = (view_->showGrid() ? 1 : 0) + 1;
    QHeaderView* header = view_->horizontalHeader();
    for (int column = 0; column < TrafficModel::kColumnCount; ++column) {
        int needed = 0;
        for (const QString& text : TrafficModel::TypicalTexts(column)) {
            needed = std::max(needed, metrics.horizontalAdvance(text) + margins + slack);
        }
        if (needed > header->sectionSize(column)) {
            header->resizeSection(column, needed);
        }
    }
}

void CTrafficMonitor::UpdateCount() {
    QString text = tr("%n frame(s)", nullptr, static_cast<int>(model_.Size()));
    if (pause_->isChecked()) {
        text +=
            QStringLiteral(", ") + tr("paused: %n frame(s) not listed", nullptr, static_cast<int>(dropped_));
    }
    count_->setText(text);
}

void CTrafficMonitor::OnFrame(const BusTraceEvent& event) {
    if (pause_->isChecked()) {
        ++dropped_;
        UpdateCount();
        return;
    }
    // Follow the newest frame only while the user is looking at the end of the list.
    QScrollBar* bar = view_->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    model_.Append(event, QDateTime::currentDateTime());
    if (atEnd) {
        view_->scrollToBottom();
    }
    UpdateCount();
}

bool CTrafficMonitor::SaveText(const QString& path, QString& error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    file.write(model_.Text().toUtf8());
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void CTrafficMonitor::OnSave() {
    const QString path =
        AskSaveFileName(this, save_->text().remove(QLatin1Char('&')), QStringLiteral("bus-trace.txt"),
                        tr("Text files (*.txt);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!SaveText(path, error)) {
        ShowMessage(this, tr("The bus traffic could not be saved to %1:\n%2").arg(path, error), windowTitle(),
                    MessageIcon::Warning);
    }
}

void RegisterTrafficMonitor(FrameWindows& windows) {
    windows.createTrafficMonitor = [](BusContext& context, QWidget* owner) -> CPlacementDialog* {
        return new CTrafficMonitor(context, owner);
    };
}

} // namespace terrix

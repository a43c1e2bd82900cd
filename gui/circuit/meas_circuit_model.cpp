#include "gui/circuit/meas_circuit_model.h"

#include "core/inventory/record_values.h"
#include "core/inventory/stored_text.h"
#include "gui/toolkit/string_catalogue.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace terrix {

namespace {

enum Image {
    kImageNotIdentified,
    kImageIdentified,
    kImageCollision,
    kImageFailed,
    kImageDisabled,
    kImageEnabled,
    kImageNoConnection,
    kImageCount
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
    case kImageCount:
        break;
    }
    return QIcon(pixmap);
}

QString FromStored(std::string_view text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

} // namespace

MeasCircuitModel::MeasCircuitModel(const CMeasLoop& loop, QObject* parent)
    : QAbstractTableModel(parent), loop_(loop) {
    for (int i = 0; i < kImageCount; ++i) {
        icons_[i] = MakeImage(static_cast<Image>(i));
    }
}

Qt::Alignment MeasCircuitModel::ColumnAlignment(int column) {
    switch (column) {
    case kColActive:
    case kColStatus:
    case kColModule:
    case kColPlace:
        return Qt::AlignLeft;
    default:
        return Qt::AlignRight;
    }
}

int MeasCircuitModel::ColumnWidth(int column) {
    static const int kWidths[kColumnCount] = {20, 16, 54, 46, 110, 100, 130, 130, 130, 32, 136, 80};
    return column >= 0 && column < kColumnCount ? kWidths[column] : 0;
}

void MeasCircuitModel::Reload() {
    beginResetModel();
    rows_.assign(loop_.SlotCount(), {});
    for (uint32_t i = 0; i < rows_.size(); ++i) {
        if (const ModuleRecord* record = loop_.RecordAt(i)) {
            rows_[i].serial = record->SerialNo();
        }
        rows_[i].values = StoredValueTexts(i);
    }
    endResetModel();
}

void MeasCircuitModel::RefreshIdentity(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) {
        return;
    }
    if (const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row))) {
        rows_[static_cast<size_t>(row)].serial = record->SerialNo();
    }
    RefreshRow(row);
}

void MeasCircuitModel::RefreshStoredValue(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) {
        return;
    }
    rows_[static_cast<size_t>(row)].values = StoredValueTexts(static_cast<uint32_t>(row));
    RefreshRow(row);
}

bool MeasCircuitModel::ShowNewValue(uint16_t serial, CMeasRecord& value, uint32_t storedCount) {
    const int row = RowOfSerial(serial);
    const ModuleRecord* record = row >= 0 ? loop_.RecordAt(static_cast<uint32_t>(row)) : nullptr;
    if (record == nullptr || record->SerialNo() != serial) {
        return false; // the row went meanwhile
    }
    rows_[static_cast<size_t>(row)].values = MakeRowValueTexts(*record, &value, storedCount);
    RefreshRow(row);
    return true;
}

int MeasCircuitModel::RowOfSerial(uint16_t serial) const {
    const auto found =
        std::find_if(rows_.begin(), rows_.end(), [serial](const Row& r) { return r.serial == serial; });
    return found != rows_.end() ? static_cast<int>(found - rows_.begin()) : -1;
}

void MeasCircuitModel::SetPortLost(bool lost) {
    if (lost != portLost_) {
        portLost_ = lost;
        if (!rows_.empty()) {
            Q_EMIT dataChanged(index(0, kColStatus), index(rowCount() - 1, kColStatus));
        }
    }
}

void MeasCircuitModel::Retranslate() {
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

RowValueTexts MeasCircuitModel::StoredValueTexts(uint32_t slot) const {
    CMeasValueStore* store = loop_.StoreAt(slot);
    const ModuleRecord* record = loop_.RecordAt(slot);
    if (store == nullptr || record == nullptr || !store->IsBound()) {
        return {};
    }
    const uint32_t count = store->RecordCount();
    if (count == 0 || !store->ReadRecord(count - 1)) {
        return {};
    }
    return MakeRowValueTexts(*record, &store->ReadRecordData(), count);
}

void MeasCircuitModel::RefreshRow(int row) {
    Q_EMIT dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

int MeasCircuitModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MeasCircuitModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MeasCircuitModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(index.row()));
    if (record == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return CellText(*record, rows_[static_cast<size_t>(index.row())], index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>(ColumnAlignment(index.column()) | Qt::AlignVCenter);
    default:
        return StateData(*record, index.column(), role);
    }
}

QVariant MeasCircuitModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
    case Qt::DisplayRole:
        return FindText(TextKind::String, 24737 + section); // "Active" ... "Values"
    case Qt::TextAlignmentRole:
        return static_cast<int>(ColumnAlignment(section) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QString MeasCircuitModel::CellText(const ModuleRecord& record, const Row& row, int column) const {
    switch (column) {
    case kColStation:
        return QString::number(record.iaStation);
    case kColSerial:
        return QString::number(record.SerialNo());
    case kColModule:
        return FromStored(record.ModuleName());
    case kColPlace:
        return FromStored(FieldText(record.szLocation));
    case kColConvCount:
        return record.bIsTavikXV != 0
                   ? QString::number(record.dwNumberOfMeas0)
                   : QStringLiteral("%1/%2").arg(record.dwNumberOfMeas0).arg(record.dwNumberOfMeas1);
    case kColConvTime:
        return QString::number(ConversionTimeSec(&record));
    case kColLastMeas:
        return QString::fromStdString(row.values.lastMeas);
    case kColSwitch:
        return QString::fromStdString(row.values.switchText);
    case kColValue:
        return QString::fromStdString(row.values.value);
    case kColValues:
        return QString::fromStdString(row.values.count);
    default:
        return {};
    }
}

QVariant MeasCircuitModel::StateData(const ModuleRecord& record, int column, int role) const {
    const int state = std::clamp<int>(record.enModuleState, 0, 3);
    // While the port is away, the modules the loop measures cannot be reached: say so in their status.
    const bool unreachable =
        column == kColStatus && portLost_ && record.enModuleState == msIdentified && record.bDisabled == 0;
    if (unreachable && role == Qt::ToolTipRole) {
        return tr("No connection: the port's device has gone");
    }
    if (role == Qt::DecorationRole) {
        if (unreachable) {
            return icons_[kImageNoConnection];
        }
        if (column == kColActive) {
            return icons_[record.bDisabled != 0 ? kImageDisabled : kImageEnabled];
        }
        return column == kColStatus ? QVariant(icons_[state]) : QVariant();
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
}

} // namespace terrix

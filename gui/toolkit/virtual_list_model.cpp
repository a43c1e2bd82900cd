#include "gui/toolkit/virtual_list_model.h"

#include <algorithm>

namespace terrix {

CVirtualListModel::CVirtualListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CVirtualListModel::InsertColumn(int index, const QString& title, Qt::Alignment alignment) {
    index = std::clamp(index, 0, ColumnCount());
    beginInsertColumns(QModelIndex(), index, index);
    columns_.insert(columns_.begin() + index, Column{title, alignment});
    endInsertColumns();
}

void CVirtualListModel::SetColumnTitle(int index, const QString& title) {
    if (index < 0 || index >= ColumnCount()) {
        return;
    }
    columns_[static_cast<size_t>(index)].title = title;
    Q_EMIT headerDataChanged(Qt::Horizontal, index, index);
}

void CVirtualListModel::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
}

void CVirtualListModel::RefreshRow(int row) {
    if (row >= 0 && row < rows_ && !columns_.empty()) {
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount() - 1));
    }
}

void CVirtualListModel::RefreshAll() {
    if (rows_ > 0 && !columns_.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, ColumnCount() - 1));
    }
}

int CVirtualListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int CVirtualListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CVirtualListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= ColumnCount()) {
        return {};
    }
    if (cellData_) {
        QVariant value = cellData_(index.row(), index.column(), role);
        if (value.isValid()) {
            return value;
        }
    }
    switch (role) {
    case Qt::DisplayRole:
        return cellText_ ? cellText_(index.row(), index.column()) : QString();
    case Qt::TextAlignmentRole:
        return static_cast<int>(columns_[static_cast<size_t>(index.column())].alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CVirtualListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const Column& column = columns_[static_cast<size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.title;
    case Qt::TextAlignmentRole:
        return static_cast<int>(column.alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

} // namespace terrix

#pragma once
// A table model whose rows live with the owner: it holds only the columns and the row count and asks the
// owner for each cell as it is drawn, so a list of millions of stored values costs nothing per row.

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <vector>

namespace terrix {

class CVirtualListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellText = std::function<QString(int row, int column)>;
    // Optional: any other role of a cell (colours, icons); an invalid QVariant means the default.
    using CellData = std::function<QVariant(int row, int column, int role)>;

    explicit CVirtualListModel(QObject* parent = nullptr);

    void SetCellText(CellText cellText) { cellText_ = std::move(cellText); }
    void SetCellData(CellData cellData) { cellData_ = std::move(cellData); }

    void InsertColumn(int index, const QString& title, Qt::Alignment alignment = Qt::AlignLeft);
    void SetColumnTitle(int index, const QString& title);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    // Sets the number of rows; rows that stay keep their place (the view keeps its selection and scroll
    // position when rows are appended).
    void SetRowCount(int rows);
    int RowCount() const { return rows_; }
    // Asks the view to draw a row (or all rows) again.
    void RefreshRow(int row);
    void RefreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Column {
        QString title;
        Qt::Alignment alignment;
    };
    std::vector<Column> columns_;
    int rows_ = 0;
    CellText cellText_;
    CellData cellData_;
};

} // namespace terrix

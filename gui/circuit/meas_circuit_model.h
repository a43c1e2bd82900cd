#pragma once
// The module list of the circuit window: one row per slot of the measuring loop. A row's identity columns
// are read from its record whenever they are drawn; its value columns are kept here, because the value
// just measured is shown as it came from the loop, not read back from the store. State pictures and row
// colours tell the module's state; while the loop's port is away, the modules it measures are marked as
// not reachable.

#include "core/circuit/meas_loop.h"
#include "gui/circuit/circuit_rules.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <cstdint>
#include <vector>

namespace terrix {

class MeasCircuitModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        kColActive,
        kColStatus,
        kColStation,
        kColSerial,
        kColModule,
        kColPlace,
        kColConvCount,
        kColConvTime,
        kColLastMeas,
        kColSwitch,
        kColValue,
        kColValues,
        kColumnCount
    };

    explicit MeasCircuitModel(const CMeasLoop& loop, QObject* parent = nullptr);

    // Builds every row again from the loop's slots, each with the newest value of its store.
    void Reload();
    // Draws a row's identity again after its record changed in place.
    void RefreshIdentity(int row);
    // Shows the newest stored value of a row again (after its values were erased).
    void RefreshStoredValue(int row);
    // Shows a value the loop has just measured for the module `serial`, of `storedCount` stored values;
    // false when no row has that module any more.
    bool ShowNewValue(uint16_t serial, CMeasRecord& value, uint32_t storedCount);
    // The row of the module `serial`, or -1.
    int RowOfSerial(uint16_t serial) const;
    // While the port is lost, the status column of each measured module says it cannot be reached.
    void SetPortLost(bool lost);
    // The column titles in the current language.
    void Retranslate();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The alignment and initial width in pixels of each column.
    static Qt::Alignment ColumnAlignment(int column);
    static int ColumnWidth(int column);

private:
    struct Row {
        uint16_t serial = 0;
        RowValueTexts values;
    };

    RowValueTexts StoredValueTexts(uint32_t slot) const;
    QString CellText(const ModuleRecord& record, const Row& row, int column) const;
    QVariant StateData(const ModuleRecord& record, int column, int role) const;
    void RefreshRow(int row);

    const CMeasLoop& loop_;
    std::vector<Row> rows_;
    bool portLost_ = false;
    QIcon icons_[7]; // the four module states, deactivated, active, not reachable
};

} // namespace terrix

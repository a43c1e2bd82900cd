#pragma once
// The value window's list of stored records. Qt's item views keep a few bytes per row (a table's row
// header alone holds one entry per row), so ten million records would cost 80 MB and most of a second
// before the first picture. This list therefore gives its table only the rows of one page and moves that
// page over the records with a scroll bar of its own: row r of the table shows record top + r. Keys, wheel
// and mouse are handled here in record numbers; the selection is one range of records.

#include "gui/toolkit/report_list_ctrl.h"

#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <utility>

class QScrollBar;

namespace terrix {

class CMeasValueList : public QWidget {
    Q_OBJECT
public:
    using CellText = std::function<QString(int64_t record, int column)>;
    using CellData = std::function<QVariant(int64_t record, int column, int role)>;

    explicit CMeasValueList(QWidget* parent = nullptr);

    // The table that draws the page (columns, header, saved column layout).
    CReportListCtrl* View() const { return view_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    void SetCells(CellText text, CellData data);

    // Rows that stay keep their place and selection.
    void SetRecordCount(int64_t count);
    int64_t RecordCount() const { return count_; }

    // The first record shown, and the whole rows a page shows.
    int64_t TopRecord() const { return top_; }
    int RowsPerPage() const;
    // The last record shown whole (-1 with none).
    int64_t LastVisibleRecord() const;
    // Puts `record` at the top, as far as the records reach.
    void ScrollTo(int64_t record);
    void ScrollToEnd();

    // Makes `record` the current one and selects it (or extends the selection from the anchor to it),
    // scrolled into view; nothing out of range.
    void SelectRecord(int64_t record, bool extend = false);
    int64_t CurrentRecord() const { return current_; }
    // First and last selected record; (-1, -1) with none.
    std::pair<int64_t, int64_t> Selection() const;
    void ClearSelection();
    // Redraws the rows shown (after the records changed in place).
    void Refresh();

Q_SIGNALS:
    // The user moved the current record (mouse or keys), or SelectRecord did.
    void currentRecordChanged(qint64 record);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePage();
    void ApplySelection();
    void MoveCurrent(int64_t record, bool extend);
    int64_t MaxTop() const;

    CReportListCtrl* view_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    CellText cellText_;
    CellData cellData_;
    int64_t count_ = 0;
    int64_t top_ = 0;
    int64_t anchor_ = -1;
    int64_t current_ = -1;
    bool applying_ = false;
};

} // namespace terrix

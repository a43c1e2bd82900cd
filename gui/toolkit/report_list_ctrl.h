#pragma once
// The base of every list in the program's windows: a report list (rows and columns, grid lines, movable
// columns, full-row selection) with a text for the empty list, a counted redraw lock, selection operations,
// the space key opening the focused row, title tips for cut-off cells, column access by display position and
// the column widths and order kept in the settings file.

#include "gui/toolkit/title_tip.h"

#include <QPointer>
#include <QTableView>

#include <filesystem>
#include <string>

namespace terrix {

class CVirtualListModel;

class CReportListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CReportListCtrl(QWidget* parent = nullptr);
    ~CReportListCtrl() override;

    // The list's own owner-data model (created with the list; another model may be set instead).
    CVirtualListModel* ListModel() const { return ownModel_; }

    // Adds a column to the list's model with its width, then calls the column hook.
    virtual void InsertColumn(int index, const QString& title, Qt::Alignment alignment, int width);
    // Empties the list (owner model: no rows) and lets SelectFirstOnce act again.
    virtual void DeleteAllItems();

    // Shown centred below the header while the list has no rows; empty for none.
    void SetEmptyText(const QString& text);
    QString EmptyText() const { return emptyText_; }

    // Counted lock: every SetRedraw(false) needs its SetRedraw(true) before the list draws again.
    virtual void SetRedraw(bool redraw);
    bool IsRedrawOn() const { return updatesEnabled(); }
    int RedrawLockCount() const { return redrawLock_; }

    void DeselectAll();
    void Select(int row);
    virtual void SelectFirstOnce();
    // row >= 0: scroll it into view. row -1 follows the tail: when the row before the last is the last row
    // of the page, the list scrolls on to the last row; otherwise it stays where the user put it.
    void EnsureVisible(int row);
    int RowsPerPage() const;
    // The height that shows the header and `rows` rows without scrolling (frame included; a horizontal
    // scroll bar, where the columns are wider than the list, is not).
    int HeightForRows(int rows) const;
    int TopRow() const;

    // Columns by display position (the order the user dragged them into).
    QString CellTextAt(int row, int displayPos) const;
    struct CellHit {
        int row = -1;
        int displayPos = -1;
        QRect rect; // viewport coordinates, cut at the viewport's right edge
    };
    // The cell under `viewportPos`; row and position -1 when there is none.
    CellHit HitTestCell(const QPoint& viewportPos) const;

    // Header height for `lines` lines of text.
    void SetHeaderLines(int lines);
    // Widens every column that is narrower than its title, so that a translated title is never clipped.
    void FitColumnsToTitles();
    // Widens `column` where it is narrower than a cell showing `text` (a sample of its longest content).
    void FitColumnToText(int column, const QString& text);
    // Sets every column to the width of its title or its widest cell, whichever is wider (for short lists:
    // every row is measured).
    void FitColumnsToContents();

    ZTitleTip* TitleTip() const { return titleTip_; }

    // Column widths as fractions of the parent's width ("cxCol%i") and the display order ("idxCol%i") in
    // `section` of `file` (empty: the settings file). Load applies only usable values: widths above zero
    // and an order that names every column once.
    bool SaveColumns(const std::string& section, const std::filesystem::path& file = {}) const;
    void LoadColumns(const std::string& section, const std::filesystem::path& file = {});

protected:
    // Called after InsertColumn added a column.
    virtual void OnColumnInserted(int index);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int ReferenceWidth() const;
    void UpdateTitleTip(const QPoint& viewportPos);

    CVirtualListModel* ownModel_ = nullptr;
    bool firstSelectionDone_ = false;
    int redrawLock_ = 0;
    QString emptyText_;
    QPointer<ZTitleTip> titleTip_;
};

} // namespace terrix

#include "gui/toolkit/report_list_ctrl.h"

#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "gui/toolkit/title_tip.h"
#include "gui/toolkit/virtual_list_model.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

namespace terrix {

namespace {

std::string Key(const char* name, int index) {
    return name + std::to_string(index);
}

// True when `order` names every column 0..n-1 exactly once.
bool IsPermutation(const std::vector<int>& order) {
    std::vector<bool> seen(order.size(), false);
    for (int column : order) {
        if (column < 0 || column >= static_cast<int>(order.size()) || seen[static_cast<size_t>(column)]) {
            return false;
        }
        seen[static_cast<size_t>(column)] = true;
    }
    return true;
}

} // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent) : QTableView(parent) {
    ownModel_ = new CVirtualListModel(this);
    setModel(ownModel_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setMouseTracking(true);
    // Fixed row heights keep the view's cost independent of the row count.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titleTip_ = new ZTitleTip(viewport());
}

CReportListCtrl::~CReportListCtrl() = default;

void CReportListCtrl::InsertColumn(int index, const QString& title, Qt::Alignment alignment, int width) {
    if (ownModel_ == nullptr || model() != ownModel_) {
        return;
    }
    index = std::clamp(index, 0, ownModel_->ColumnCount());
    ownModel_->InsertColumn(index, title, alignment);
    setColumnWidth(index, width);
    OnColumnInserted(index);
}

void CReportListCtrl::OnColumnInserted(int) {}

void CReportListCtrl::FitColumnsToTitles() {
    QHeaderView* header = horizontalHeader();
    for (int c = 0; c < header->count(); ++c) {
        const int needed = header->sectionSizeHint(c);
        if (header->sectionSize(c) < needed) {
            header->resizeSection(c, needed);
        }
    }
}

void CReportListCtrl::FitColumnToText(int column, const QString& text) {
    // The item's text margins as the style draws them, the grid line and a pixel for a fractional width.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int needed = fontMetrics().horizontalAdvance(text) + margins + (showGrid() ? 1 : 0) + 1;
    if (horizontalHeader()->sectionSize(column) < needed) {
        horizontalHeader()->resizeSection(column, needed);
    }
}

int CReportListCtrl::HeightForRows(int rows) const {
    const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
    return header + rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
}

void CReportListCtrl::FitColumnsToContents() {
    QHeaderView* header = horizontalHeader();
    const int rows = model() != nullptr ? model()->rowCount() : 0;
    // The cell's own hint leaves out the grid line and the fraction of a pixel the text may need.
    const int slack = (showGrid() ? 1 : 0) + 1;
    for (int c = 0; c < header->count(); ++c) {
        int needed = header->sectionSizeHint(c);
        for (int row = 0; row < rows; ++row) {
            needed = std::max(needed, sizeHintForIndex(model()->index(row, c)).width() + slack);
        }
        header->resizeSection(c, needed);
    }
}

void CReportListCtrl::DeleteAllItems() {
    if (ownModel_ != nullptr && model() == ownModel_) {
        ownModel_->SetRowCount(0);
    }
    firstSelectionDone_ = false;
}

void CReportListCtrl::SetEmptyText(const QString& text) {
    emptyText_ = text;
    viewport()->update();
}

void CReportListCtrl::paintEvent(QPaintEvent* event) {
    const bool empty = model() == nullptr || model()->rowCount() == 0;
    if (empty && !emptyText_.isEmpty()) {
        horizontalHeader()->setEnabled(false);
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(viewport()->rect().adjusted(0, 10, 0, 0),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, emptyText_);
        return;
    }
    if (!horizontalHeader()->isEnabled()) {
        horizontalHeader()->setEnabled(true);
    }
    QTableView::paintEvent(event);
}

void CReportListCtrl::SetRedraw(bool redraw) {
    if (!redraw) {
        if (redrawLock_ <= 0) {
            setUpdatesEnabled(false);
        }
        ++redrawLock_;
        return;
    }
    --redrawLock_;
    if (redrawLock_ < 1) {
        redrawLock_ = 0;
        setUpdatesEnabled(true);
    }
}

void CReportListCtrl::DeselectAll() {
    if (model() == nullptr || model()->rowCount() == 0) {
        return;
    }
    const QModelIndex current = currentIndex();
    const bool currentSelected =
        current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex());
    selectionModel()->clearSelection();
    if (currentSelected) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void CReportListCtrl::Select(int row) {
    if (model() == nullptr || row < 0 || row >= model()->rowCount()) {
        return;
    }
    DeselectAll();
    selectionModel()->setCurrentIndex(model()->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CReportListCtrl::SelectFirstOnce() {
    if (firstSelectionDone_) {
        return;
    }
    firstSelectionDone_ = true;
    if (model() != nullptr && model()->rowCount() > 0) {
        Select(0);
    }
}

int CReportListCtrl::RowsPerPage() const {
    const int rowHeight = verticalHeader()->defaultSectionSize();
    return rowHeight > 0 ? viewport()->height() / rowHeight : 0;
}

int CReportListCtrl::TopRow() const {
    return std::max(rowAt(0), 0);
}

void CReportListCtrl::EnsureVisible(int row) {
    if (model() == nullptr) {
        return;
    }
    // Rows added just before must be laid out, or the scroll range does not know them yet.
    executeDelayedItemsLayout();
    updateGeometries();
    const int count = model()->rowCount();
    if (row >= 0) {
        if (row < count) {
            scrollTo(model()->index(row, 0), QAbstractItemView::EnsureVisible);
        }
        return;
    }
    if (row == -1) {
        const int page = RowsPerPage();
        if (page > 0 && count >= page && TopRow() + page - 1 == count - 2) {
            scrollTo(model()->index(count - 1, 0), QAbstractItemView::EnsureVisible);
        }
    }
}

QString CReportListCtrl::CellTextAt(int row, int displayPos) const {
    // Callers pass a cell found by HitTestCell or shown by the list: its column and model exist.
    return model()->index(row, horizontalHeader()->logicalIndex(displayPos)).data(Qt::DisplayRole).toString();
}

CReportListCtrl::CellHit CReportListCtrl::HitTestCell(const QPoint& viewportPos) const {
    CellHit hit;
    if (model() == nullptr || !viewport()->rect().contains(viewportPos)) {
        return hit;
    }
    const int row = rowAt(viewportPos.y());
    const int column = columnAt(viewportPos.x());
    if (row < 0 || column < 0) {
        return hit;
    }
    QRect rect = visualRect(model()->index(row, column));
    rect.setRight(std::min(rect.right(), viewport()->width() - 1));
    hit.row = row;
    hit.displayPos = horizontalHeader()->visualIndex(column);
    hit.rect = rect;
    return hit;
}

void CReportListCtrl::SetHeaderLines(int lines) {
    QHeaderView* header = horizontalHeader();
    const int itemHeight = header->sizeHint().height();
    header->setFixedHeight((itemHeight - 4) * std::max(lines, 1) + 4);
}

void CReportListCtrl::keyPressEvent(QKeyEvent* event) {
    // Space opens the focused row on release, like a double-click on it.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CReportListCtrl::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (event->isAutoRepeat()) {
            return;
        }
        const QModelIndex current = currentIndex();
        if (current.isValid()) {
            Q_EMIT doubleClicked(current);
        } else {
            QApplication::beep();
        }
        return;
    }
    QTableView::keyReleaseEvent(event);
}

void CReportListCtrl::mouseMoveEvent(QMouseEvent* event) {
    QTableView::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton) {
        UpdateTitleTip(event->position().toPoint());
    }
}

void CReportListCtrl::UpdateTitleTip(const QPoint& viewportPos) {
    if (titleTip_ == nullptr) {
        return;
    }
    titleTip_->MouseMoved(viewportPos);
    const CellHit hit = HitTestCell(viewportPos);
    if (hit.row < 0) {
        return;
    }
    // The item delegate draws the text this far inside the cell.
    const int offset = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    titleTip_->Show(hit.rect, CellTextAt(hit.row, hit.displayPos), offset);
}

void CReportListCtrl::mousePressEvent(QMouseEvent* event) {
    if (titleTip_ != nullptr) {
        titleTip_->hide();
    }
    QTableView::mousePressEvent(event);
}

void CReportListCtrl::wheelEvent(QWheelEvent* event) {
    if (titleTip_ != nullptr) {
        titleTip_->hide();
    }
    QTableView::wheelEvent(event);
}

bool CReportListCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && titleTip_ != nullptr) {
        titleTip_->hide();
    }
    return QTableView::viewportEvent(event);
}

int CReportListCtrl::ReferenceWidth() const {
    if (parentWidget() != nullptr) {
        return parentWidget()->width();
    }
    const QScreen* screen = this->screen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

bool CReportListCtrl::SaveColumns(const std::string& section, const std::filesystem::path& file) const {
    const QHeaderView* header = horizontalHeader();
    const int count = header->count();
    if (count == 0) {
        return true;
    }
    const int reference = ReferenceWidth();
    if (reference <= 0) {
        return false;
    }
    CIniSection ini(file.empty() ? SettingsFilePath() : file, section);
    ini.BeginUpdate();
    for (int i = 0; i < count; ++i) {
        ini.WriteDouble(Key("cxCol", i), static_cast<double>(columnWidth(i)) / reference);
    }
    for (int i = 0; i < count; ++i) {
        ini.WriteInt(Key("idxCol", i), header->logicalIndex(i));
    }
    return ini.EndUpdate();
}

void CReportListCtrl::LoadColumns(const std::string& section, const std::filesystem::path& file) {
    QHeaderView* header = horizontalHeader();
    const int count = header->count();
    CIniSection ini(file.empty() ? SettingsFilePath() : file, section);
    ini.BeginUpdate(); // one read of the file for all values; nothing is written
    const int reference = ReferenceWidth();
    if (reference > 0) {
        for (int i = 0; i < count; ++i) {
            const double fraction = ini.ReadDouble(Key("cxCol", i), std::numeric_limits<double>::quiet_NaN());
            // Zero (a hidden column) and anything unreadable keep the column's present width.
            if (std::isfinite(fraction) && fraction > DBL_MIN) {
                const double width = std::clamp(reference * fraction, 1.0, 32767.0);
                setColumnWidth(i, static_cast<int>(std::lround(width)));
            }
        }
    }
    std::vector<int> order(static_cast<size_t>(count));
    bool any = false;
    for (int i = 0; i < count; ++i) {
        order[static_cast<size_t>(i)] = ini.ReadInt(Key("idxCol", i), -1);
        any = any || order[static_cast<size_t>(i)] >= 0;
    }
    if (!any || !IsPermutation(order)) {
        return;
    }
    for (int visual = 0; visual < count; ++visual) {
        const int from = header->visualIndex(order[static_cast<size_t>(visual)]);
        if (from != visual) {
            header->moveSection(from, visual);
        }
    }
}

} // namespace terrix

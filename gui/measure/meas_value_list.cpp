#include "gui/measure/meas_value_list.h"

#include "gui/toolkit/virtual_list_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace terrix {

namespace {

constexpr int64_t kMaxRecords = std::numeric_limits<int>::max(); // what a scroll bar counts

} // namespace

CMeasValueList::CMeasValueList(QWidget* parent) : QWidget(parent) {
    view_ = new CReportListCtrl(this);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // The table never scrolls itself: its first row is always record top_.
    view_->setAutoScroll(false);
    view_->setSelectionMode(QAbstractItemView::NoSelection);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setRange(0, 0);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(scrollBar_);
    setFocusProxy(view_);

    CVirtualListModel* model = view_->ListModel();
    model->SetCellText(
        [this](int row, int column) { return cellText_ ? cellText_(top_ + row, column) : QString(); });
    model->SetCellData([this](int row, int column, int role) {
        if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
            // The selection is drawn here: the table itself selects nothing, so that it never holds
            // row numbers that a scroll has made stale.
            const auto [first, last] = Selection();
            const int64_t record = top_ + row;
            if (first >= 0 && record >= first && record <= last) {
                const QPalette::ColorGroup group = view_->hasFocus() ? QPalette::Active : QPalette::Inactive;
                return QVariant(view_->palette().brush(
                    group, role == Qt::BackgroundRole ? QPalette::Highlight : QPalette::HighlightedText));
            }
        }
        return cellData_ ? cellData_(top_ + row, column, role) : QVariant();
    });
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != top_) {
            top_ = value;
            UpdatePage();
        }
    });
}

void CMeasValueList::SetCells(CellText text, CellData data) {
    cellText_ = std::move(text);
    cellData_ = std::move(data);
    Refresh();
}

int CMeasValueList::RowsPerPage() const {
    return std::max(1, view_->RowsPerPage());
}

int64_t CMeasValueList::MaxTop() const {
    return std::max<int64_t>(0, count_ - RowsPerPage());
}

int64_t CMeasValueList::LastVisibleRecord() const {
    return std::min(top_ + RowsPerPage(), count_) - 1;
}

void CMeasValueList::SetRecordCount(int64_t count) {
    count_ = std::clamp<int64_t>(count, 0, kMaxRecords);
    if (current_ >= count_) {
        current_ = count_ > 0 ? count_ - 1 : -1;
    }
    if (anchor_ >= count_ || current_ < 0) {
        anchor_ = current_;
    }
    top_ = std::min(top_, MaxTop());
    UpdatePage();
}

void CMeasValueList::ScrollTo(int64_t record) {
    top_ = std::clamp<int64_t>(record, 0, MaxTop());
    UpdatePage();
}

void CMeasValueList::ScrollToEnd() {
    ScrollTo(MaxTop());
}

void CMeasValueList::UpdatePage() {
    // A page of whole rows and the one cut at the bottom.
    const int rows = static_cast<int>(std::clamp<int64_t>(count_ - top_, 0, RowsPerPage() + 1));
    CVirtualListModel* model = view_->ListModel();
    if (model->RowCount() != rows) {
        model->SetRowCount(rows);
    }
    {
        const QSignalBlocker blocker(scrollBar_);
        scrollBar_->setRange(0, static_cast<int>(MaxTop()));
        scrollBar_->setPageStep(RowsPerPage());
        scrollBar_->setValue(static_cast<int>(top_));
    }
    // Shown, as a list's own would be, only when there is something to scroll.
    if (scrollBar_->isVisibleTo(this) != (MaxTop() > 0)) {
        scrollBar_->setVisible(MaxTop() > 0);
    }
    view_->verticalScrollBar()->setValue(0);
    ApplySelection();
    Refresh();
}

void CMeasValueList::Refresh() {
    view_->ListModel()->RefreshAll();
    view_->viewport()->update();
}

void CMeasValueList::ApplySelection() {
    // The focus frame stands on the current record when it is on the page.
    applying_ = true;
    const int64_t row = current_ - top_;
    CVirtualListModel* model = view_->ListModel();
    if (current_ >= 0 && row >= 0 && row < model->RowCount()) {
        view_->selectionModel()->setCurrentIndex(model->index(static_cast<int>(row), 0),
                                                 QItemSelectionModel::NoUpdate);
    } else {
        view_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    applying_ = false;
}

std::pair<int64_t, int64_t> CMeasValueList::Selection() const {
    if (current_ < 0) {
        return {-1, -1};
    }
    const int64_t anchor = anchor_ >= 0 ? anchor_ : current_;
    return {std::min(anchor, current_), std::max(anchor, current_)};
}

void CMeasValueList::ClearSelection() {
    anchor_ = current_ = -1;
    ApplySelection();
    Refresh();
}

void CMeasValueList::SelectRecord(int64_t record, bool extend) {
    if (record < 0 || record >= count_) {
        return;
    }
    MoveCurrent(record, extend);
}

void CMeasValueList::MoveCurrent(int64_t record, bool extend) {
    if (count_ == 0) {
        return;
    }
    record = std::clamp<int64_t>(record, 0, count_ - 1);
    if (!extend || anchor_ < 0) {
        anchor_ = record;
    }
    current_ = record;
    // Scrolled only as far as needed to show it whole.
    if (record < top_) {
        top_ = record;
    } else if (record > top_ + RowsPerPage() - 1) {
        top_ = record - RowsPerPage() + 1;
    }
    top_ = std::clamp<int64_t>(top_, 0, MaxTop());
    UpdatePage();
    Q_EMIT currentRecordChanged(current_);
}

bool CMeasValueList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport()) {
        switch (event->type()) {
        case QEvent::Resize:
            top_ = std::min(top_, MaxTop());
            UpdatePage();
            break;
        case QEvent::Wheel: {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            const int steps = wheel->angleDelta().y() / 40; // three rows a notch
            if (steps != 0) {
                ScrollTo(top_ - steps);
            }
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool press = event->type() != QEvent::MouseMove;
            if (!press && !(mouse->buttons() & Qt::LeftButton)) {
                break; // hovering: title tips
            }
            const int row = view_->rowAt(static_cast<int>(mouse->position().y()));
            view_->setFocus(Qt::MouseFocusReason);
            if (row < 0) {
                return press;
            }
            const int64_t record = top_ + row;
            const bool extend = !press || mouse->modifiers().testFlag(Qt::ShiftModifier);
            // A right click inside the selection keeps it for the context menu.
            const auto [first, last] = Selection();
            if (mouse->button() == Qt::RightButton && record >= first && record <= last) {
                return false;
            }
            if (record != current_ || !extend) {
                MoveCurrent(record, extend);
            }
            return mouse->button() != Qt::RightButton;
        }
        default:
            break;
        }
        return false;
    }
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool extend = key->modifiers().testFlag(Qt::ShiftModifier);
        const int64_t from = current_ >= 0 ? current_ : top_;
        const int page = RowsPerPage();
        switch (key->key()) {
        case Qt::Key_Up:
            MoveCurrent(current_ >= 0 ? from - 1 : from, extend);
            return true;
        case Qt::Key_Down:
            MoveCurrent(current_ >= 0 ? from + 1 : from, extend);
            return true;
        case Qt::Key_PageUp:
            MoveCurrent(from - page + 1, extend);
            return true;
        case Qt::Key_PageDown:
            MoveCurrent(from + page - 1, extend);
            return true;
        case Qt::Key_Home:
            MoveCurrent(0, extend);
            return true;
        case Qt::Key_End:
            MoveCurrent(count_ - 1, extend);
            return true;
        case Qt::Key_A:
            if (key->modifiers().testFlag(Qt::ControlModifier) && count_ > 0) {
                anchor_ = 0;
                current_ = count_ - 1;
                ApplySelection();
                Refresh();
                return true;
            }
            break;
        default:
            break;
        }
    }
    if (watched == view_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        Refresh(); // the selection's colours follow the focus
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace terrix

#include "gui/toolkit/placement_dialog.h"

#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/titled_popup_menu.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStyle>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
#include <cmath>
#include <limits>

namespace terrix {

namespace {

constexpr int kSizeGripSize = 10;

QHeaderView* HeaderOf(QAbstractItemView* list) {
    if (auto* table = qobject_cast<QTableView*>(list)) {
        return table->horizontalHeader();
    }
    if (auto* tree = qobject_cast<QTreeView*>(list)) {
        return tree->header();
    }
    return nullptr;
}

// Products of stored fractions are rounded, not truncated: a fraction written with six decimals and read
// back would otherwise lose a pixel on every save and load.
int ScaledCoordinate(double reference, double fraction) {
    const double value = std::clamp(reference * fraction, -1.0e6, 1.0e6);
    return static_cast<int>(std::lround(value));
}

// The edge at the same fraction of the new extent, computed in integers so that a third stays a third.
int ProportionalEdge(int edge, int extent, int newExtent) {
    return extent > 0 ? static_cast<int>(static_cast<long long>(newExtent) * edge / extent) : edge;
}

} // namespace

CPlacementDialog::CPlacementDialog(QWidget* parent) : QDialog(parent) {}

CPlacementDialog::~CPlacementDialog() {
    // A modeless window that goes without OK or Cancel (its parent is deleted) still tells its owner.
    if (!modal_) {
        NotifyOwnerOnce();
    }
}

void CPlacementDialog::Create() {
    modal_ = false;
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    show();
}

int CPlacementDialog::SetModified(int value) {
    const int previous = modified_;
    modified_ = value;
    return previous;
}

void CPlacementDialog::SetLayoutOptions(bool sizeGrip, bool widthGrows, bool heightGrows) {
    sizeGripWanted_ = sizeGrip;
    widthGrows_ = widthGrows;
    heightGrows_ = heightGrows;
}

void CPlacementDialog::showEvent(QShowEvent* event) {
    if (!initialised_) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CPlacementDialog::OnInitDialog() {
    initialSize_ = size();
    layoutSize_ = size();
    if (layout() != nullptr) {
        InitLayoutManaged();
        initialised_ = true;
        return;
    }
    if (resizable_ && sizeGripWanted_) {
        sizeGrip_ = new QSizeGrip(this);
        sizeGrip_->setGeometry(width() - kSizeGripSize, height() - kSizeGripSize, kSizeGripSize,
                               kSizeGripSize);
        sizeGrip_->show();
        AddLayoutControl(sizeGrip_, kMove, kMove, false);
    }
    if (resizable_) {
        QAbstractItemView* list = nullptr;
        const QList<QWidget*> children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (auto* view = qobject_cast<QAbstractItemView*>(child); view != nullptr && !child->isWindow()) {
                list = view;
                break;
            }
        }
        if (list != nullptr) {
            AddLayoutControl(list, kStretch, kStretch, true);
            const int listBottom = list->geometry().y() + list->geometry().height();
            for (QWidget* child : children) {
                if (child == list || child == sizeGrip_ || child->isWindow()) {
                    continue;
                }
                // Controls beside the list move right, controls below it move down.
                if (child->geometry().y() < listBottom) {
                    AddLayoutControl(child, kMove, kFixed, true);
                } else {
                    AddLayoutControl(child, kFixed, kMove, true);
                }
            }
        } else {
            // Nothing to stretch: the dialog keeps its size.
            resizable_ = false;
            if (sizeGrip_ != nullptr) {
                sizeGrip_->hide();
            }
            setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        }
    }
    if (resizable_) {
        setMinimumSize(initialSize_);
        if (!widthGrows_) {
            setMaximumWidth(initialSize_.width());
        }
        if (!heightGrows_) {
            setMaximumHeight(initialSize_.height());
        }
    } else if (layout() != nullptr) {
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        setFixedSize(size());
    }
    initialised_ = true;
}

void CPlacementDialog::InitLayoutManaged() {
    if (!resizable_) {
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    setSizeGripEnabled(sizeGripWanted_);
    setMinimumSize(initialSize_);
    if (!widthGrows_) {
        setMaximumWidth(initialSize_.width());
    }
    if (!heightGrows_) {
        setMaximumHeight(initialSize_.height());
    }
    // The layout sizes the list; its columns keep their proportions as it grows.
    if (auto* list = findChild<QAbstractItemView*>()) {
        AddLayoutControl(list, kFixed, kFixed, false);
        list->installEventFilter(this);
    }
}

bool CPlacementDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && layout() != nullptr && initialised_) {
        for (LayoutEntry& entry : entries_) {
            if (entry.isList && entry.control == watched) {
                RescaleColumns(entry, entry.control->width());
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

QSizeGrip* CPlacementDialog::SizeGrip() const {
    return sizeGrip_ != nullptr ? sizeGrip_ : findChild<QSizeGrip*>();
}

void CPlacementDialog::AddLayoutControl(QWidget* control, LayoutMode horizontal, LayoutMode vertical,
                                        bool paintExclude) {
    if (control == nullptr) {
        return;
    }
    LayoutEntry entry;
    entry.control = control;
    entry.horizontal = horizontal;
    entry.vertical = vertical;
    entry.rect = control->geometry();
    entry.paintExclude = paintExclude;
    entry.proportionalEdge = entry.rect.topLeft();
    entry.proportionalExtent = initialised_ ? initialSize_ : size();
    if (auto* list = qobject_cast<QAbstractItemView*>(control)) {
        entry.isList = true;
        if (QHeaderView* header = HeaderOf(list)) {
            connect(header, &QHeaderView::sectionResized, this,
                    [this, list](int logicalIndex, int, int newSize) {
                        OnSectionResized(list, logicalIndex, newSize);
                    });
        }
    }
    entries_.push_back(std::move(entry));
}

QRect CPlacementDialog::LayoutRect(const QWidget* control) const {
    for (const LayoutEntry& entry : entries_) {
        if (entry.control == control) {
            return entry.rect;
        }
    }
    return {};
}

void CPlacementDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const QSize now = size();
    if (resizable_ && initialised_ && !entries_.empty() && layout() == nullptr) {
        const int dx = now.width() - layoutSize_.width();
        const int dy = now.height() - layoutSize_.height();
        for (LayoutEntry& entry : entries_) {
            if (entry.control == nullptr) {
                continue;
            }
            QRect r = entry.rect;
            switch (entry.horizontal) {
            case kStretch:
                r.setRight(r.right() + dx);
                break;
            case kMove:
                r.translate(dx, 0);
                break;
            case kProportional:
                r.moveLeft(ProportionalEdge(entry.proportionalEdge.x(), entry.proportionalExtent.width(),
                                            now.width()));
                break;
            case kFixed:
                break;
            }
            switch (entry.vertical) {
            case kStretch:
                r.setBottom(r.bottom() + dy);
                break;
            case kMove:
                r.translate(0, dy);
                break;
            case kProportional:
                r.moveTop(ProportionalEdge(entry.proportionalEdge.y(), entry.proportionalExtent.height(),
                                           now.height()));
                break;
            case kFixed:
                break;
            }
            if (r != entry.rect) {
                // Hidden controls move too, so they stand in the right place when they are shown.
                entry.control->setGeometry(r);
                if (entry.isList) {
                    RescaleColumns(entry, r.width());
                }
                entry.rect = r;
            }
        }
    }
    layoutSize_ = now;
}

void CPlacementDialog::RescaleColumns(LayoutEntry& entry, int listWidth) {
    auto* list = qobject_cast<QAbstractItemView*>(entry.control.data());
    QHeaderView* header = list != nullptr ? HeaderOf(list) : nullptr;
    if (header == nullptr) {
        return;
    }
    if (entry.baseWidths.empty()) {
        for (int i = 0; i < header->count(); ++i) {
            entry.baseWidths.push_back(header->sectionSize(i));
        }
    }
    int width = listWidth - 2 * list->frameWidth();
    if (list->verticalScrollBar()->isVisible()) {
        width -= list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    }
    long long sum = 0;
    for (int w : entry.baseWidths) {
        sum += w;
    }
    // Columns wider than the list keep their widths (the list scrolls instead).
    if (sum <= 0 || sum > width) {
        return;
    }
    auto* reportList = qobject_cast<CReportListCtrl*>(list);
    if (reportList != nullptr) {
        reportList->SetRedraw(false);
    }
    rescaling_ = true;
    const int count = std::min(header->count(), static_cast<int>(entry.baseWidths.size()));
    for (int i = 0; i < count; ++i) {
        header->resizeSection(i, static_cast<int>(entry.baseWidths[static_cast<size_t>(i)] * width / sum));
    }
    rescaling_ = false;
    if (reportList != nullptr) {
        reportList->SetRedraw(true);
    }
}

void CPlacementDialog::OnSectionResized(QAbstractItemView* list, int logicalIndex, int newSize) {
    if (rescaling_) {
        return;
    }
    // A column the user (or the program) sized becomes the base of later rescaling.
    for (LayoutEntry& entry : entries_) {
        if (entry.control == list && logicalIndex >= 0 &&
            logicalIndex < static_cast<int>(entry.baseWidths.size())) {
            entry.baseWidths[static_cast<size_t>(logicalIndex)] = newSize;
        }
    }
}

void CPlacementDialog::accept() {
    if (IsModified() != 0) {
        const QString caption = windowTitle();
        if (ShowMessage(this, QString::fromUtf8("Wollen Sie die Änderung durchführen?"), caption,
                        MessageIcon::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            if (!Apply()) {
                ShowMessage(this, QString::fromUtf8("Änderung konnte nicht ausgeführt werden!"), caption,
                            MessageIcon::Warning);
                return;
            }
            ShowMessage(this, QString::fromUtf8("Änderung ausgeführt."), caption, MessageIcon::Information);
        }
    }
    CloseDialog(QDialog::Accepted);
}

void CPlacementDialog::reject() {
    if (IsModified() != 0) {
        if (ShowMessage(this, QString::fromUtf8("Wollen Sie Ihre Änderung verwerfen?"), windowTitle(),
                        MessageIcon::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            return;
        }
    }
    CloseDialog(QDialog::Rejected);
}

void CPlacementDialog::CloseDialog(int result) {
    if (!modal_) {
        NotifyOwnerOnce();
    }
    QDialog::done(result);
}

void CPlacementDialog::NotifyOwnerOnce() {
    if (ownerNotified_) {
        return;
    }
    ownerNotified_ = true;
    Q_EMIT childClosed(this);
}

void CPlacementDialog::SetContextMenu(QMenu* menu, const QString& title) {
    contextMenu_ = menu;
    contextMenuTitle_ = title;
}

void CPlacementDialog::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_ == nullptr) {
        QDialog::contextMenuEvent(event);
        return;
    }
    CTitledPopupMenu menu(this);
    menu.addActions(contextMenu_->actions());
    menu.SetMenuTitle(contextMenuTitle_);
    const QPoint pos = event->reason() == QContextMenuEvent::Keyboard
                           ? mapToGlobal(contentsRect().topLeft() + QPoint(5, 5))
                           : event->globalPos();
    menu.Track(pos);
}

QSize CPlacementDialog::ReferenceSize() const {
    if (parentWidget() != nullptr) {
        return parentWidget()->size();
    }
    const QScreen* screen = this->screen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

bool CPlacementDialog::SaveWindowPlacement(const std::string& section,
                                           const std::filesystem::path& file) const {
    const QSize reference = ReferenceSize();
    if (reference.width() <= 0 || reference.height() <= 0) {
        return false;
    }
    const QRect g = geometry();
    const double w = reference.width();
    const double h = reference.height();
    CIniSection ini(file.empty() ? SettingsFilePath() : file, section);
    ini.BeginUpdate();
    ini.WriteDouble("Window Left", g.x() / w);
    ini.WriteDouble("Window Right", (g.x() + g.width()) / w);
    ini.WriteDouble("Window Top", g.y() / h);
    ini.WriteDouble("Window Bottom", (g.y() + g.height()) / h);
    return ini.EndUpdate();
}

bool CPlacementDialog::LoadWindowPlacement(const std::string& section, const std::filesystem::path& file) {
    const QSize reference = ReferenceSize();
    if (reference.width() <= 0 || reference.height() <= 0) {
        return false;
    }
    CIniSection ini(file.empty() ? SettingsFilePath() : file, section);
    ini.BeginUpdate(); // one read of the file for all four values; nothing is written
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double left = ini.ReadDouble("Window Left", nan);
    const double right = ini.ReadDouble("Window Right", nan);
    const double top = ini.ReadDouble("Window Top", nan);
    const double bottom = ini.ReadDouble("Window Bottom", nan);
    // A window at the parent's left or top edge stores 0 there, which is a placement like any other.
    const bool usable = std::isfinite(left) && std::isfinite(right) && std::isfinite(top) &&
                        std::isfinite(bottom) && left >= 0 && top >= 0 && right > left && bottom > top;
    if (!usable) {
        return false;
    }
    const int x = ScaledCoordinate(reference.width(), left);
    const int y = ScaledCoordinate(reference.height(), top);
    const int width = ScaledCoordinate(reference.width(), right) - x;
    const int height = ScaledCoordinate(reference.height(), bottom) - y;
    if (width <= 0 || height <= 0) {
        return false;
    }
    setGeometry(x, y, width, height);
    return true;
}

} // namespace terrix

#include "gui/toolkit/placement_dialog.h"

#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/titled_popup_menu.h"
#include "gui/toolkit/window_operation.h"

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

void CPlacementDialog::showEvent(QShowEvent* event) {
    if (!initialised_) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CPlacementDialog::OnInitDialog() {
    initialSize_ = size();
    initialised_ = true;
    if (layout() == nullptr) {
        setFixedSize(size());
        return;
    }
    if (!resizable_) {
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    setSizeGripEnabled(true);
    setMinimumSize(initialSize_);
    // The layout sizes the list; its columns keep their proportions as it grows.
    if (auto* list = findChild<QAbstractItemView*>()) {
        WatchList(list);
    }
}

void CPlacementDialog::WatchList(QAbstractItemView* list) {
    scaledList_ = list;
    list->installEventFilter(this);
    if (QHeaderView* header = HeaderOf(list)) {
        connect(header, &QHeaderView::sectionResized, this,
                [this](int logicalIndex, int, int newSize) { OnSectionResized(logicalIndex, newSize); });
    }
}

bool CPlacementDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && initialised_ && watched == scaledList_) {
        RescaleColumns(scaledList_->width());
    }
    return QDialog::eventFilter(watched, event);
}

QSizeGrip* CPlacementDialog::SizeGrip() const {
    return findChild<QSizeGrip*>();
}

void CPlacementDialog::RescaleColumns(int listWidth) {
    QAbstractItemView* list = scaledList_.data();
    QHeaderView* header = list != nullptr ? HeaderOf(list) : nullptr;
    if (header == nullptr) {
        return;
    }
    if (baseWidths_.empty()) {
        for (int i = 0; i < header->count(); ++i) {
            baseWidths_.push_back(header->sectionSize(i));
        }
    }
    int width = listWidth - 2 * list->frameWidth();
    if (list->verticalScrollBar()->isVisible()) {
        width -= list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    }
    long long sum = 0;
    for (int w : baseWidths_) {
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
    const int count = std::min(header->count(), static_cast<int>(baseWidths_.size()));
    for (int i = 0; i < count; ++i) {
        header->resizeSection(i, static_cast<int>(baseWidths_[static_cast<size_t>(i)] * width / sum));
    }
    rescaling_ = false;
    if (reportList != nullptr) {
        reportList->SetRedraw(true);
    }
}

void CPlacementDialog::OnSectionResized(int logicalIndex, int newSize) {
    // A column the user (or the program) sized becomes the base of later rescaling.
    if (!rescaling_ && logicalIndex >= 0 && logicalIndex < static_cast<int>(baseWidths_.size())) {
        baseWidths_[static_cast<size_t>(logicalIndex)] = newSize;
    }
}

bool CPlacementDialog::DeferCloseWhileBusy(bool accepted) {
    const QPointer<CPlacementDialog> self(this);
    return WindowOperation::DeferClose(this, [self, accepted] {
        if (accepted) {
            // Not the override: a dialog whose accept() does bus work and then closes through this one
            // (creating collisions) would otherwise do that work again, and again.
            self->CPlacementDialog::accept();
        } else {
            self->reject();
        }
    });
}

QString CPlacementDialog::ChangeQuestion() const {
    return tr("Do you want to carry out the change?");
}

int CPlacementDialog::exec() {
    return RunModal(*this);
}

void CPlacementDialog::accept() {
    if (DeferCloseWhileBusy(true)) {
        return;
    }
    if (IsModified() == 0 || applying_) {
        if (!applying_) {
            CloseDialog(QDialog::Accepted);
        }
        return;
    }
    const QString caption = windowTitle();
    if (ShowMessage(this, ChangeQuestion(), caption, MessageIcon::Question,
                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        CloseDialog(QDialog::Accepted);
        return;
    }
    applying_ = true;
    StartApply([self = QPointer<CPlacementDialog>(this), caption](bool ok) {
        if (self == nullptr) {
            return;
        }
        self->applying_ = false;
        if (!ok) {
            ShowMessage(self, tr("The change could not be carried out!"), caption, MessageIcon::Warning);
            return;
        }
        ShowMessage(self, tr("Change carried out."), caption, MessageIcon::Information);
        self->CloseDialog(QDialog::Accepted);
    });
}

void CPlacementDialog::reject() {
    if (DeferCloseWhileBusy(false)) {
        return;
    }
    // The session ends: nobody is there to answer.
    if (IsModified() != 0 && !WindowOperation::EverythingCloses()) {
        if (ShowMessage(this, tr("Do you want to discard your change?"), windowTitle(), MessageIcon::Question,
                        QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
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
    auto* menu = new CTitledPopupMenu(this);
    menu->addActions(contextMenu_->actions());
    menu->SetMenuTitle(contextMenuTitle_);
    const QPoint pos = event->reason() == QContextMenuEvent::Keyboard
                           ? mapToGlobal(contentsRect().topLeft() + QPoint(5, 5))
                           : event->globalPos();
    menu->Track(pos);
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

#include "gui/circuit/value_windows.h"

#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/window_operation.h"

namespace terrix {

MeasValueWindows::MeasValueWindows(BusContext& context, QWidget* owner, const CMeasLoop& loop, Create create)
    : QObject(owner), context_(context), owner_(owner), loop_(loop), create_(std::move(create)) {}

MeasValueWindows::Entry* MeasValueWindows::Find(uint16_t serial) {
    for (Entry& w : windows_) {
        if (w.serial == serial && w.window != nullptr) {
            return &w;
        }
    }
    return nullptr;
}

CPlacementDialog* MeasValueWindows::Open(int row, bool show) {
    ModuleRecord* record = loop_.RecordAt(static_cast<uint32_t>(row));
    CMeasValueStore* store = loop_.StoreAt(static_cast<uint32_t>(row));
    if (record == nullptr || store == nullptr || !create_) {
        return nullptr;
    }
    if (Entry* open = Find(record->SerialNo())) {
        open->window->raise();
        open->window->activateWindow();
        return open->window;
    }
    if (record->enModuleState == msCollision || !store->IsBound()) {
        return nullptr;
    }
    MeasValueView* view = create_(context_, owner_->parentWidget(), *record, *store);
    CPlacementDialog* window = view != nullptr ? view->Window() : nullptr;
    if (window == nullptr) {
        return nullptr;
    }
    connect(window, &CPlacementDialog::childClosed, this, [this](QWidget* closed) {
        std::erase_if(windows_,
                      [closed](const Entry& w) { return w.window == closed || w.window == nullptr; });
    });
    windows_.push_back({record->SerialNo(), view, window});
    if (show) {
        window->Create();
    }
    return window;
}

void MeasValueWindows::OpenAll(const QRect& desk) {
    int x = desk.left();
    int y = desk.top();
    for (uint32_t row = 0; row < loop_.SlotCount(); ++row) {
        CPlacementDialog* window = Open(static_cast<int>(row), false);
        if (window == nullptr) {
            continue;
        }
        const QSize size = window->frameGeometry().size();
        if (y + size.height() > desk.bottom() && y != desk.top()) {
            y = desk.top();
            x += size.width();
        }
        window->move(x, y);
        if (window->isVisible()) {
            window->showNormal();
        } else {
            window->Create();
        }
        y += size.height();
    }
}

void MeasValueWindows::Refresh(uint16_t serial) {
    if (Entry* w = Find(serial)) {
        w->view->OnNewValue();
    }
}

void MeasValueWindows::Close(uint16_t serial) {
    if (Entry* w = Find(serial)) {
        QPointer<CPlacementDialog> window = w->window;
        window->close();
        // At once, not later: the window reads a value store that is about to go. Unless its own modal
        // dialog (export, save) still runs on the stack: that is closed first and the window goes once it
        // has returned; it is hidden meanwhile and reads nothing after a cancelled dialog.
        if (!WindowOperation::DeferClose(window, [window] { delete window.data(); })) {
            delete window.data();
        }
    }
    std::erase_if(windows_, [serial](const Entry& w) { return w.serial == serial || w.window == nullptr; });
}

void MeasValueWindows::CloseAll() {
    while (!windows_.empty()) {
        Close(windows_.front().serial);
    }
}

} // namespace terrix

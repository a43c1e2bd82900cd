#include "gui/circuit/value_windows.h"

#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/window_operation.h"

#include <algorithm>

namespace terrix {

QPoint CascadePosition(const QRect& desk, const QSize& size, int index) {
    constexpr int kStep = 32; // about a title bar
    const int across = std::max(0, desk.width() - size.width()) / kStep;
    const int down = std::max(0, desk.height() - size.height()) / kStep;
    const int perCascade = std::max(1, std::min(across, down));
    // What is left across once a whole cascade fits: each further cascade starts a quarter step more to
    // the right within it, so no window lands on another's spot.
    const int room = (across - (perCascade - 1)) * kStep;
    const int cascade = index / perCascade;
    const int place = index % perCascade;
    const int x = desk.left() + (cascade * kStep / 4) % (room + 1) + place * kStep;
    const int y = desk.top() + place * kStep;
    return {std::min(x, std::max(desk.left(), desk.right() + 1 - size.width())), y};
}

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
    int index = 0;
    for (uint32_t row = 0; row < loop_.SlotCount(); ++row) {
        CPlacementDialog* window = Open(static_cast<int>(row), false);
        if (window == nullptr) {
            continue;
        }
        window->move(CascadePosition(desk, window->frameGeometry().size(), index++));
        if (window->isVisible()) {
            window->showNormal();
        } else {
            window->Create();
        }
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

#pragma once
// The measured-value windows the circuit window has opened, at most one per module: opened (or brought to
// the front), told of each new value, cascaded over the screen, and closed at once when their
// module's value store is about to go. They are modeless windows of the circuit window's owner.

#include "core/circuit/meas_loop.h"
#include "gui/base/window_contracts.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <vector>

namespace terrix {

class CPlacementDialog;

// Where window `index` of a cascade of windows of `size` goes on `desk`: each a title bar's height right and
// below the one before, so that every title stays visible; a window that would leave the desk starts a new
// cascade a little to the right of the first, and one larger than the desk keeps its title bar on it.
QPoint CascadePosition(const QRect& desk, const QSize& size, int index);

class MeasValueWindows final : public QObject {
    Q_OBJECT
public:
    using Create = decltype(ModuleWindows::createValueWindow);

    // `owner` is the circuit window: the value windows become windows of its parent.
    MeasValueWindows(BusContext& context, QWidget* owner, const CMeasLoop& loop, Create create);

    // The window of the module in `row`: the open one brought to the front, else a new one (shown when
    // `show`). Null for a collision, a module without a store, or when no window can be made.
    CPlacementDialog* Open(int row, bool show);
    // Opens every module's window and cascades them from the top left of `desk` (CascadePosition).
    void OpenAll(const QRect& desk);
    // The loop measured or erased a value of the module `serial`: its window reads the store again.
    void Refresh(uint16_t serial);
    void Close(uint16_t serial);
    void CloseAll();

private:
    struct Entry {
        uint16_t serial = 0;
        MeasValueView* view = nullptr;
        QPointer<CPlacementDialog> window;
    };
    Entry* Find(uint16_t serial);

    BusContext& context_;
    QWidget* owner_;
    const CMeasLoop& loop_;
    Create create_;
    std::vector<Entry> windows_;
};

} // namespace terrix

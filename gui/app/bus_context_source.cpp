#include "gui/app/bus_context_source.h"

#include <QWidget>

namespace terrix {

BusContext* FindBusContext(QWidget* window) {
    for (QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (auto* source = dynamic_cast<CBusContextSource*>(w)) {
            return source->GetBusContext();
        }
    }
    return nullptr;
}

std::unique_ptr<BusContext> MakeFrameBusContext() {
    auto context = std::make_unique<BusContext>();
    context->portContext.nPortNo = 1;
    return context;
}

} // namespace terrix

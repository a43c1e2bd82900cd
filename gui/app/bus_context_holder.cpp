#include "gui/app/bus_context_holder.h"

#include <QWidget>

namespace terrix {

CBusContextHolder::CBusContextHolder() {
    port_.nPortNo = 1;
}

bool CBusContextHolder::SetPortNumber(int portNumber) {
    if (portNumber < 1 || portNumber > 4) {
        return false;
    }
    port_.nPortNo = portNumber;
    return true;
}

CBusContextHolder* FindBusContext(QWidget* window) {
    for (QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (auto* source = dynamic_cast<CBusContextSource*>(w)) {
            return source->GetBusContext();
        }
    }
    return nullptr;
}

} // namespace terrix

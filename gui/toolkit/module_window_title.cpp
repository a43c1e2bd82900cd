#include "gui/toolkit/module_window_title.h"

#include "core/inventory/module_record.h"

#include <QCoreApplication>

namespace terrix {

QString ModuleWindowTitle(const QString& text, uint16_t serialNo, uint8_t station) {
    //: A window's title, the serial number of its module and the module's station address.
    return QCoreApplication::translate("terrix::ModuleWindowTitle", "%1 – %2 (station %3)")
        .arg(text)
        .arg(serialNo)
        .arg(station);
}

QString ModuleWindowTitle(const QString& text, const ModuleRecord& record) {
    return ModuleWindowTitle(text, record.SerialNo(), record.iaStation);
}

} // namespace terrix

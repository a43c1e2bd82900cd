#pragma once
// The title of a window that acts on one module: the window's own text, then the module's serial number and
// station, so that two probes of the same type can be told apart ("Change Reset Baudrate – 2001 (station
// 3)"). Windows build it again on a language change, like their other texts.

#include <QString>

#include <cstdint>

namespace terrix {

struct ModuleRecord;

QString ModuleWindowTitle(const QString& text, uint16_t serialNo, uint8_t station);
QString ModuleWindowTitle(const QString& text, const ModuleRecord& record);

} // namespace terrix

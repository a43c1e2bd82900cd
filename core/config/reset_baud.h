#pragma once
// "Change Reset Baudrate": command 17 tells every module of the bus to start at 9600 baud after a reset.

#include "core/inventory/module_record.h"
#include "core/platform/com_port.h"

namespace terrix {

inline constexpr uint16_t kResetBaud9600 = 96; // wStartupBaud is kept in units of 100 baud

// The "Now Reset Baudrate" value: wStartupBaud x 100.
uint32_t ResetBaudRate(const ModuleRecord& record);

// Sends command 17 (a broadcast: no module answers). When it went out, the record's wStartupBaud becomes 96;
// when it could not be sent the record keeps its value, since no module changed.
bool ProgramResetBaudRate(PortHandle port, ModuleRecord& record);

inline constexpr const char* kMsgResetBaudFailed = "Don't set reset baudrate!";

} // namespace terrix

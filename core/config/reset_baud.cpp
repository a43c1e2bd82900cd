#include "core/config/reset_baud.h"

#include "core/bus/commands.h"

namespace terrix {

uint32_t ResetBaudRate(const ModuleRecord& record) {
    return record.stationInfo.wStartupBaud * 100u;
}

bool ProgramResetBaudRate(PortHandle port, ModuleRecord& record) {
    if (!ProgramResetBaud(port)) {
        return false;
    }
    record.stationInfo.wStartupBaud = kResetBaud9600;
    return true;
}

} // namespace terrix

#include "core/config/halt_state.h"

#include "core/bus/commands.h"

namespace terrix {

bool ReadHaltMeasState(PortHandle port, uint8_t station, HaltMeasState& state) {
    uint8_t value = 0;
    if (!ReadHaltState(port, station, value)) {
        return false;
    }
    state.haltState = value % 4;
    state.command = state.haltState >= 2 ? 1 : 0;
    return true;
}

uint8_t HaltStateValue(int haltState, int command) {
    const int signal = haltState > 0 ? haltState % 2 : 0;
    return static_cast<uint8_t>(signal + 2 * (command != 0 ? 1 : 0));
}

bool SetHaltByCommand(PortHandle port, uint8_t station, bool halt, HaltMeasState& state, bool* writeOk) {
    PortLock lock(port);
    const bool written = WriteHaltState(port, station, HaltStateValue(state.haltState, halt ? 1 : 0));
    if (writeOk != nullptr) {
        *writeOk = written;
    }
    return ReadHaltMeasState(port, station, state);
}

std::string HaltStateName(int haltState) {
    switch (haltState) {
    case 0:
        return "Measuring";
    case 1:
        return "Halt Measuring by Signal";
    case 2:
        return "Halt Measuring by Command";
    case 3:
        return "Halt Measuring by both";
    default:
        return "unknown";
    }
}

std::string HaltCommandName(int command) {
    switch (command) {
    case 0:
        return "Release by Command";
    case 1:
        return "Halt by Command";
    default:
        return "unknown";
    }
}

} // namespace terrix

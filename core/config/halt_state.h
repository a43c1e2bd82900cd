#pragma once
// The XV module's halt-measuring state (commands 190/191): bit 0 = halted by signal, bit 1 = halted by
// command. Only the command bit is the user's to change; the signal bit is written back as read.

#include "core/platform/com_port.h"

#include <cstdint>
#include <string>

namespace terrix {

struct HaltMeasState {
    int haltState = -1; // 0 measuring, 1 by signal, 2 by command, 3 by both; -1 not read
    int command = -1;   // 0 released by command, 1 halted by command; -1 not read
};

// Reads the state byte and keeps it modulo 4. On failure `state` is left as it was.
bool ReadHaltMeasState(PortHandle port, uint8_t station, HaltMeasState& state);

// The byte to write: (halt state mod 2) + 2 x command. A state never read counts as no signal.
uint8_t HaltStateValue(int haltState, int command);

// "Release by Command" (halt = false) or "Halt by Command": writes the value for the state as last read,
// then reads the state again into `state`. The write's own result is not shown (the read tells the truth);
// false when the read back failed.
bool SetHaltByCommand(PortHandle port, uint8_t station, bool halt, HaltMeasState& state,
                      bool* writeOk = nullptr);

// "Measuring", "Halt Measuring by Signal", "Halt Measuring by Command", "Halt Measuring by both".
std::string HaltStateName(int haltState);
// "Release by Command", "Halt by Command".
std::string HaltCommandName(int command);

inline constexpr const char* kMsgHaltStateReadFailed = "Don't get Halt Measuring State!";

} // namespace terrix

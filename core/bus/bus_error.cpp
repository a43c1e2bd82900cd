#include "core/bus/bus_error.h"

namespace terrix {

namespace {
thread_local uint16_t lastBusError = 0;

const char* KnownText(uint16_t code) {
    switch (code) {
    case 1: return "Data block not received in time";
    case 2: return "Fatal internal error which init. the module";
    case 3: return "Check sum error in data block";
    case 4: return "V24 error (framing, parity or overflow)";
    case 5: return "Reserved";
    case 6: return "Command is not implemented on module";
    case 7: return "Parameters in data block invalid";
    case 8: return "Command cannot be executed 'cos module is already busy";
    case 9: return "Module does not answer";
    case 10: return "Received incomplete addr block";
    case 11: return "Checksum error in received addr block (collison found?)";
    case 12: return "No data received";
    case 13: return "Received incomplete data block";
    case 330:
        return "No TDR impulses.\nPossible reasons: Probe not connected or probe cable damaged, TDR compensation "
               "cable longer than probe cable, or DAV-IRUZ damaged";
    case 366:
        return "Meas. value too low.\nPossible reasons: Probe out-of material or material too dry or wrong "
               "minimum value";
    default: return nullptr;
    }
}

} // namespace

uint16_t LastBusError() { return lastBusError; }
void SetLastBusError(uint16_t code) { lastBusError = code; }

std::string BusErrorText(uint16_t code) {
    const char* text = KnownText(code);
    return text != nullptr ? text : "Unknown error";
}

int BusErrorTextId(uint16_t code) { return KnownText(code) != nullptr ? 5200 + code : 5199; }

} // namespace terrix

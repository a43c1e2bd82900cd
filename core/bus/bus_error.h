#pragma once
// The bus error code of the latest reply check, and the texts of the codes.
//   0 success; 1..7 module status errors; 8 module busy; 9..13 reception failures; 300..399 measuring codes.

#include <cstdint>
#include <string>

namespace terrix {

enum BusError : uint16_t {
    kBusOk = 0,
    kBusModuleFatal = 2,          // module failed
    kBusNotImplemented = 6,       // command is not implemented on the module
    kBusBusy = 8,
    kBusNoAnswer = 9,
    kBusIncompleteHeader = 10,
    kBusHeaderChecksum = 11,      // several modules answered at once
    kBusNoData = 12,
    kBusIncompleteData = 13,
    kBusMeasuringCodeBase = 300,
};

// The code of the latest transaction of the calling thread. Every thread has its own, so the measuring
// loop's thread and the user-interface thread never read each other's outcome.
uint16_t LastBusError();
void SetLastBusError(uint16_t code);

// The text of a code; "Unknown error" for codes without a text of their own.
std::string BusErrorText(uint16_t code);
// The string-table number of a code's text (5200 + code; 5199 for "Unknown error").
int BusErrorTextId(uint16_t code);

} // namespace terrix

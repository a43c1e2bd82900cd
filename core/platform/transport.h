#pragma once
// The byte stream below the bus layer: a serial device or the simulated bus. The bus layer cannot tell
// them apart; both keep the read time-out rule the frame layer relies on.

#include "core/platform/clock.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace terrix {

class Transport {
public:
    virtual ~Transport() = default;

    // Writes the bytes in one go; `written` is what actually went out. False with LastError() set when the
    // write failed.
    virtual bool Write(std::span<const uint8_t> bytes, size_t& written) = 0;

    // Reads up to buffer.size() bytes. Returns when all of them arrived, or 1 ms passed between two bytes,
    // or 10 ms + 2 ms per requested byte passed in total; `got` is what arrived so far (possibly nothing).
    // False with LastError() set only when the system call failed.
    virtual bool Read(std::span<uint8_t> buffer, size_t& got) = 0;

    // Discards whatever is waiting in both directions.
    virtual bool Purge() = 0;
    // Discards only what has arrived and was not read: bytes still being sent must go out. A transport
    // without a send queue of its own has nothing else to keep.
    virtual bool PurgeInput() { return Purge(); }
    // Changes only the baud rate; the byte format stays 8 data bits, odd parity, two stop bits.
    virtual bool SetBaud(uint32_t baud) = 0;
    virtual uint32_t Baud() const = 0;

    // Modem control lines, used to detect the interface converter (RTS loops to CTS, DTR to DSR).
    virtual bool SetRts(bool on) = 0;
    virtual bool SetDtr(bool on) = 0;
    virtual bool GetModemStatus(bool& cts, bool& dsr) = 0;

    // The time base of this stream; the bus layer waits on it.
    virtual Clock& GetClock() = 0;
    // The system error code (errno) of the last failed operation, 0 if none.
    virtual uint32_t LastError() const = 0;
    // True once the device has gone (a USB adapter pulled out, the other side of a pseudo-terminal closed):
    // every later operation fails at once, and only closing the port and opening it anew can help.
    virtual bool IsGone() const { return false; }
    // A name for messages and traces, e.g. "/dev/ttyUSB0" or "sim".
    virtual std::string Describe() const = 0;
};

} // namespace terrix

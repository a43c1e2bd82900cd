#include "core/bus/frame.h"

#include "core/bus/bus_error.h"
#include "core/bus/bus_trace.h"
#include "core/platform/pump_wait.h"

#include <algorithm>
#include <array>

namespace terrix {

namespace {

constexpr uint16_t kWaitPerSentByteMs = 12;
constexpr uint16_t kWaitPerReplyByteMs = 2;
constexpr uint16_t kWaitAfterChecksumErrorMs = 110;

void TraceReceived(Transport& transport, const uint8_t* header, size_t headerGot, const uint8_t* data,
                   size_t dataGot, uint16_t error) {
    BusTraceEvent event;
    event.direction = BusTraceEvent::Direction::Received;
    event.clockUs = transport.GetClock().NowUs();
    event.bytes.assign(header, header + headerGot);
    event.bytes.insert(event.bytes.end(), data, data + dataGot);
    event.busError = error;
    NotifyBusTrace(event);
}

} // namespace

uint8_t RequestFlag(uint8_t command) {
    return (command <= 20 || (command >= 250 && command <= 252)) ? 0 : 8;
}

uint8_t HeaderChecksum(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (size_t i = 0; i < 5 && i < bytes.size(); ++i) {
        sum += bytes[i];
    }
    return static_cast<uint8_t>(sum & 0x7F);
}

std::vector<uint8_t> BuildRequest(uint8_t station, uint8_t secondAddress, uint8_t command,
                                  std::span<const uint8_t> data) {
    if (data.size() > kMaxRequestData) {
        return {};
    }
    std::vector<uint8_t> frame(kHeaderSize);
    frame[0] = station;
    frame[1] = secondAddress;
    frame[2] = data.empty() ? 0 : static_cast<uint8_t>(data.size() + 1);
    frame[3] = RequestFlag(command);
    frame[4] = command;
    frame[5] = HeaderChecksum(frame);
    frame[6] = kEndOfHeader;
    if (!data.empty()) {
        unsigned sum = 0;
        for (uint8_t b : data) {
            frame.push_back(b);
            sum += b;
        }
        frame.push_back(static_cast<uint8_t>(sum & 0xFF));
    }
    return frame;
}

bool SendFrame(PortHandle port, uint8_t station, uint8_t secondAddress, uint8_t command, uint8_t dataLength,
               const uint8_t* data) {
    if (dataLength != 0 && data == nullptr) {
        return false;
    }
    const std::vector<uint8_t> frame =
        BuildRequest(station, secondAddress, command, std::span<const uint8_t>(data, dataLength));
    if (frame.empty()) {
        return false;
    }
    PortLock lock(port);
    const std::shared_ptr<Transport> transport = ComTransport(port);
    if (!lock.OwnsPort() || !transport) {
        return false;
    }
    // Whatever waits in the input now answers no request of ours: a reply that came after its time-out, or
    // one meant for a program that used the port before. Read as the next reply, it would pair every reply
    // with the request after the one it answers. (The reply's address and command bytes are not examined.)
    transport->PurgeInput();
    size_t written = 0;
    const bool ok = transport->Write(frame, written) && written == frame.size();

    BusTraceEvent event;
    event.direction = BusTraceEvent::Direction::Sent;
    event.clockUs = transport->GetClock().NowUs();
    event.bytes = frame;
    event.sendFailed = !ok;
    NotifyBusTrace(event);

    if (!ok) {
        return false;
    }
    PumpWait(transport->GetClock(), static_cast<uint16_t>(kWaitPerSentByteMs * frame.size()));
    return true;
}

bool ReceiveFrame(PortHandle port, uint16_t expected, std::span<uint8_t> buffer) {
    SetLastBusError(kBusOk);
    PortLock lock(port);
    const std::shared_ptr<Transport> transport = ComTransport(port);
    std::array<uint8_t, kHeaderSize> header{};
    size_t headerGot = 0;
    if (!lock.OwnsPort() || !transport || !transport->Read(header, headerGot) || headerGot < kHeaderSize) {
        const uint16_t error = headerGot == 0 ? kBusNoAnswer : kBusIncompleteHeader;
        SetLastBusError(error);
        if (transport) {
            TraceReceived(*transport, header.data(), headerGot, nullptr, 0, error);
        }
        return false;
    }
    if (HeaderChecksum(header) != header[5]) {
        SetLastBusError(kBusHeaderChecksum);
        TraceReceived(*transport, header.data(), headerGot, nullptr, 0, kBusHeaderChecksum);
        // Let the rest of the garbled answers die away, then throw them out.
        PumpWait(transport->GetClock(), kWaitAfterChecksumErrorMs);
        ComPurge(port);
        return false;
    }
    const uint8_t length = header[2];
    const uint8_t status = header[3];
    std::array<uint8_t, kReceiveBufferSize> received{};
    size_t got = 0;
    if (length == 0) {
        if (expected > 0 && (status & 0x07) == 0) {
            SetLastBusError(kBusNoData);
            TraceReceived(*transport, header.data(), headerGot, nullptr, 0, kBusNoData);
            return false;
        }
    } else {
        PumpWait(transport->GetClock(), static_cast<uint16_t>(kWaitPerReplyByteMs * length));
        if (!transport->Read(std::span<uint8_t>(received.data(), length), got) || got < length) {
            SetLastBusError(kBusIncompleteData);
            TraceReceived(*transport, header.data(), headerGot, received.data(), got, kBusIncompleteData);
            return false;
        }
        if (expected > 0 && !buffer.empty()) {
            const size_t zeroed = std::min<size_t>(expected, buffer.size());
            std::fill_n(buffer.begin(), zeroed, uint8_t{0});
            std::copy_n(received.begin(), std::min<size_t>(zeroed, length), buffer.begin());
        }
    }
    uint16_t error = kBusOk;
    if ((status & 0x07) != 0) {
        error = status & 0x07;
    } else if ((status & 0x40) != 0) {
        error = kBusBusy;
    }
    SetLastBusError(error);
    TraceReceived(*transport, header.data(), headerGot, received.data(), got, error);
    return error == kBusOk;
}

bool Transact(PortHandle port, uint8_t station, uint8_t command, std::span<const uint8_t> request,
              uint16_t expected, std::span<uint8_t> reply) {
    if (request.size() > kMaxRequestData) {
        return false;
    }
    PortLock lock(port);
    if (!SendFrame(port, station, kSecondAddressByte, command, static_cast<uint8_t>(request.size()),
                   request.data())) {
        return false;
    }
    if (station == kBroadcastStation) {
        return true;
    }
    return ReceiveFrame(port, expected, reply);
}

} // namespace terrix

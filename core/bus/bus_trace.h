#pragma once
// An optional observer of every frame that goes over the bus, for diagnosing wiring and modules without a
// separate bus analyser.

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace terrix {

struct BusTraceEvent {
    enum class Direction { Sent, Received };
    Direction direction = Direction::Sent;
    uint64_t clockUs = 0;        // on the port's clock
    std::vector<uint8_t> bytes;  // the whole frame as sent, or everything that arrived
    uint16_t busError = 0;       // outcome of the reply check (received frames only)
    bool sendFailed = false;     // the write failed or was short (sent frames only)
};

class BusTraceObserver {
public:
    virtual ~BusTraceObserver() = default;
    // Called on the thread that runs the transaction; must not start a transaction itself.
    virtual void OnFrame(const BusTraceEvent& event) = 0;
};

// Installs the process-wide observer (nullptr removes it). The caller keeps it alive while installed.
void SetBusTraceObserver(BusTraceObserver* observer);
void NotifyBusTrace(const BusTraceEvent& event);

// A frame decoded for people: "TX st=5 cmd=190 flag=8 len=0 | 05 FD 00 08 BE 48 FE".
std::string DescribeTraceEvent(const BusTraceEvent& event);

// Writes one text line per frame: wall-clock time, port-clock milliseconds and the decoded frame.
class TextTraceWriter final : public BusTraceObserver {
public:
    explicit TextTraceWriter(std::ostream& out) : out_(out) {}
    void OnFrame(const BusTraceEvent& event) override;

private:
    std::mutex mutex_;
    std::ostream& out_;
};

} // namespace terrix

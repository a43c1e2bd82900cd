#include "core/bus/bus_trace.h"

#include "core/bus/bus_error.h"
#include "core/platform/local_time.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace terrix {

namespace {

std::mutex observerMutex;
BusTraceObserver* currentObserver = nullptr;

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char cell[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
        if (i > 0) {
            out += ' ';
        }
        out += cell;
    }
    return out;
}

} // namespace

void SetBusTraceObserver(BusTraceObserver* observer) {
    std::lock_guard lock(observerMutex);
    currentObserver = observer;
}

void NotifyBusTrace(const BusTraceEvent& event) {
    std::lock_guard lock(observerMutex);
    if (currentObserver != nullptr) {
        currentObserver->OnFrame(event);
    }
}

std::string DescribeTraceEvent(const BusTraceEvent& event) {
    const std::vector<uint8_t>& b = event.bytes;
    char head[160];
    if (event.direction == BusTraceEvent::Direction::Sent) {
        if (b.size() >= 7) {
            const unsigned n = b[2] == 0 ? 0u : b[2] - 1u;
            std::snprintf(head, sizeof head, "TX st=%u cmd=%u flag=%u data=%u%s", b[0], b[4], b[3], n,
                          event.sendFailed ? " SEND FAILED" : "");
        } else {
            std::snprintf(head, sizeof head, "TX (%zu bytes)%s", b.size(),
                          event.sendFailed ? " SEND FAILED" : "");
        }
    } else {
        const std::string outcome = event.busError == 0 ? std::string("ok")
                                                        : "error " + std::to_string(event.busError) + " (" +
                                                              BusErrorText(event.busError) + ")";
        if (b.size() >= 7) {
            std::snprintf(head, sizeof head, "RX st=%u cmd=%u status=0x%02X len=%u: ", b[0], b[4], b[3],
                          b[2]);
        } else {
            std::snprintf(head, sizeof head, "RX (%zu bytes): ", b.size());
        }
        return std::string(head) + outcome + (b.empty() ? std::string() : " | " + Hex(b));
    }
    return std::string(head) + (b.empty() ? std::string() : " | " + Hex(b));
}

void TextTraceWriter::OnFrame(const BusTraceEvent& event) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    LocalTime(seconds, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d [%10.3f ms] ",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(ms), static_cast<double>(event.clockUs) / 1000.0);
    std::lock_guard lock(mutex_);
    out_ << stamp << DescribeTraceEvent(event) << '\n';
    out_.flush();
}

} // namespace terrix

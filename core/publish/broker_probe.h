#pragma once
// Tries the publishing settings once: reads the password and the TLS files, connects to the broker, logs in
// and disconnects again. For a "Test" button: the answer says what kind of failure it was, so that the front
// end can word it, and the library's own sentence for the details.

#include "core/publish/broker_options.h"
#include "core/publish/mqtt_failure.h"

#include <chrono>
#include <functional>
#include <string>

namespace terrix {

struct BrokerProbeResult {
    MqttFailure failure = MqttFailure::kNone; // kNone: connected and logged in
    std::string where;                        // "host:port"; empty when the address is unusable
    std::string detail;                       // the sentence of the settings check or of the library
};

// Blocks up to `timeout` (a host-name lookup may take longer); stops early when `cancelled` says so.
BrokerProbeResult ProbeBroker(const PublishSettings& settings, std::chrono::milliseconds timeout,
                              const std::function<bool()>& cancelled);

} // namespace terrix

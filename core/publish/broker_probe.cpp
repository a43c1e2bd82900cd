#include "core/publish/broker_probe.h"

#include "core/publish/mqtt_link.h"

namespace terrix {

BrokerProbeResult ProbeBroker(const PublishSettings& settings, std::chrono::milliseconds timeout,
                              const std::function<bool()>& cancelled) {
    BrokerProbeResult result;
    std::optional<BrokerOptions> options = ResolveBrokerOptions(settings, &result.detail);
    if (!options) {
        result.failure = MqttFailure::kSettings;
        return result;
    }
    result.where = options->url.Where();
    MqttLink link(*options, MqttHandlers{});
    if (!link.Connect(timeout, cancelled, &result.detail)) {
        result.failure = link.Failure();
        return result;
    }
    link.Disconnect();
    return result;
}

} // namespace terrix

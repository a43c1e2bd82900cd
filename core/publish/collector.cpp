#include "core/publish/collector.h"

#include "core/platform/process.h"
#include "core/publish/collector_sink.h"
#include "core/publish/mqtt_link.h"

#include <memory>
#include <thread>

namespace terrix {

std::string DefaultCollectorId() {
    const std::string host = HostName();
    return host.empty() ? "terrix-collect" : "terrix-collect-" + host;
}

void RunCollector(const BrokerOptions& broker, const std::string& directory,
                  const std::function<bool()>& stop, const std::function<void(const std::string&)>& say,
                  const CollectorOptions& options) {
    using Clock = std::chrono::steady_clock;
    BrokerOptions withId = broker;
    if (withId.clientId.empty()) {
        withId.clientId = DefaultCollectorId();
    }
    CollectorSink sink(directory, say, options.gapPatience);
    std::unique_ptr<MqttLink> link;
    std::string waitingReason;
    auto retry = options.firstRetry;
    Clock::time_point nextAttempt{};
    while (!stop()) {
        if (!link) {
            if (Clock::now() < nextAttempt) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            MqttHandlers handlers;
            handlers.message = [&sink](std::string_view topic, std::string_view payload) {
                sink.Accept(topic, payload);
            };
            auto fresh = std::make_unique<MqttLink>(withId, std::move(handlers), std::nullopt, true);
            std::string error;
            if (!fresh->Connect(options.connectTimeout, stop, &error) ||
                !fresh->Subscribe(broker.url.RecordFilter())) {
                if (stop()) {
                    break;
                }
                const std::string reason =
                    fresh->Where() + ": " + (error.empty() ? fresh->LostReason() : error);
                if (reason != waitingReason) {
                    say("collecting waits: " + reason);
                    waitingReason = reason;
                }
                nextAttempt = Clock::now() + retry;
                retry = std::min(retry * 2, options.lastRetry);
                continue;
            }
            say("collecting " + broker.url.RecordFilter() + " from " + fresh->Where() + " into " + directory);
            link = std::move(fresh);
            waitingReason.clear();
            retry = options.firstRetry;
        }
        if (!link->Loop(100)) {
            const std::string reason = link->Where() + ": " + link->LostReason();
            say("collecting waits: " + reason);
            waitingReason = reason;
            link.reset();
            nextAttempt = Clock::now() + retry;
        }
        sink.CheckGaps();
    }
    if (link) {
        link->Disconnect();
    }
}

} // namespace terrix

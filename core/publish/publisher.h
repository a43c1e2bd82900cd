#pragma once
// Fleet logging: sends every record that the measuring loop stored to an MQTT broker, in order per module,
// and never loses one. The measurement files are the source of truth: the publisher reads the records from
// the binary files after they were stored and keeps, per module, how many the broker has acknowledged
// (publish_cursor.h). After an outage, a restart or a kill it sends every record from there on before new
// ones. Delivery is at least once: after a lost connection the unacknowledged records are sent again.
//
// It works on a thread of its own, so a broker that is down, slow or refusing never holds up measuring; it
// tries again after 1, 2, 4, ... up to 30 seconds and says once that publishing waits and when it resumes.

#include "core/inventory/module_record.h"
#include "core/publish/broker_options.h"
#include "core/publish/mqtt_failure.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace terrix {

// A module whose records are published, and the directory of its measurement files.
struct PublishedModule {
    ModuleRecord module;
    std::string directory;
};

struct PublishStatus {
    bool connected = false;
    uint64_t waiting = 0;                     // records stored but not yet acknowledged by the broker
    std::string reason;                       // why publishing waits; empty while connected
    MqttFailure failure = MqttFailure::kNone; // the kind of `reason`
    std::string where;                        // "host:port" of the broker

    bool operator==(const PublishStatus&) const = default;
};

// What the publisher reports, from its own thread.
class PublisherListener {
public:
    virtual ~PublisherListener() = default;
    // Publishing cannot go on, for `reason` ("broker:1883: connection refused"). Said once per outage, and
    // again only when the reason changes.
    virtual void OnPublishingWaits(const std::string& reason) = 0;
    // Connected again after OnPublishingWaits.
    virtual void OnPublishingResumed() = 0;
    // A module's file cannot be read or its cursor not saved; said once per problem.
    virtual void OnPublishProblem(const std::string& /*text*/) {}
    // The status changed (connection, records waiting); at most about four times a second while records
    // are sent.
    virtual void OnPublishStatus(const PublishStatus& /*status*/) {}
};

struct PublisherOptions {
    size_t window = 1000; // messages on their way without acknowledgement, at most
    std::chrono::milliseconds cursorInterval{250};
    std::chrono::milliseconds firstRetry{1000};
    std::chrono::milliseconds lastRetry{30000};
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds fileCheck{1000}; // how often the files are looked at without a Notify
};

class Publisher {
public:
    Publisher(BrokerOptions broker, std::vector<PublishedModule> modules,
              PublisherListener* listener = nullptr, PublisherOptions options = {});
    // Stop without waiting for the broker.
    ~Publisher();
    Publisher(const Publisher&) = delete;
    Publisher& operator=(const Publisher&) = delete;

    void Start();
    // New records were stored; never blocks. Any thread.
    void Notify();
    // Ends publishing. While connected, first goes on until every stored record is acknowledged, no
    // acknowledgement came for `drain`, or six times `drain` have passed; then says "offline" on the status
    // topic, disconnects and saves the cursors. Idempotent.
    void Stop(std::chrono::milliseconds drain = std::chrono::milliseconds(0));
    // Any thread.
    PublishStatus Status() const;

private:
    struct ModuleState;
    class Worker;

    std::unique_ptr<Worker> worker_;
    std::thread thread_;
};

} // namespace terrix

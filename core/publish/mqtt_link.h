#pragma once
// One connection to an MQTT broker, the only place that knows the MQTT library (libmosquitto). QoS 1
// publishing with the broker's acknowledgements, subscribing, a last will, TLS and a login. Everything runs
// on the owner's thread: the handlers are called from inside Connect and Loop. A link is used for one
// connection: after it was lost, the owner makes a new one.

#include "core/publish/broker_options.h"
#include "core/publish/mqtt_failure.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct mosquitto;
struct mosquitto_message;

namespace terrix {

struct MqttHandlers {
    // The broker acknowledged the message of this id.
    std::function<void(int messageId)> acknowledged;
    // A message of a subscribed topic arrived.
    std::function<void(std::string_view topic, std::string_view payload)> message;
};

struct MqttWill {
    std::string topic;
    std::string payload;
    bool retain = true;
};

class MqttLink {
public:
    // `keepSession`: the broker keeps the subscriptions and queues QoS 1 messages for this client while it
    // is away (needs a client id in the options).
    MqttLink(const BrokerOptions& options, MqttHandlers handlers, std::optional<MqttWill> will = std::nullopt,
             bool keepSession = false);
    ~MqttLink();
    MqttLink(const MqttLink&) = delete;
    MqttLink& operator=(const MqttLink&) = delete;

    // Connects and waits for the broker's answer, at most `timeout`, sooner when `cancelled` says so. False
    // with a plain sentence in *error ("connection refused", "not authorised", a TLS failure, ...).
    bool Connect(std::chrono::milliseconds timeout, const std::function<bool()>& cancelled,
                 std::string* error);
    bool Connected() const { return connected_; }

    // Publishes at QoS 1; the message id that the acknowledgement will carry, or -1 when the connection has
    // gone (LostReason says why).
    int Publish(const std::string& topic, std::string_view payload, bool retain = false);
    // Subscribes at QoS 1 and waits for the broker's answer, at most `timeout`: only then is the subscription
    // in place (a broker stopped meanwhile would otherwise forget it). False when the broker refused it
    // (no access) or the connection went.
    bool Subscribe(const std::string& filter, std::chrono::milliseconds timeout);
    // Sends and receives for up to `timeoutMs`; false when the connection has gone.
    bool Loop(int timeoutMs);
    // Why the connection went, or why Connect failed.
    const std::string& LostReason() const { return lostReason_; }
    // The kind of the last failure of Connect or of the connection.
    MqttFailure Failure() const { return failure_; }
    // A clean end: the broker then does not send the will.
    void Disconnect();

    // "host:port" for messages.
    std::string Where() const;

private:
    static void OnConnect(mosquitto*, void* self, int code);
    static void OnDisconnect(mosquitto*, void* self, int code);
    static void OnPublish(mosquitto*, void* self, int messageId);
    static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);
    static void OnSubscribe(mosquitto*, void* self, int messageId, int count, const int* granted);
    void Lose(const std::string& reason, MqttFailure failure);

    BrokerOptions options_;
    MqttHandlers handlers_;
    mosquitto* client_ = nullptr;
    std::string setupError_;
    bool answered_ = false;
    int connackCode_ = -1;
    bool connected_ = false;
    int subscribeId_ = -1;
    std::optional<bool> subscribeGranted_; // the broker's answer to the subscription of subscribeId_
    std::string lostReason_;
    MqttFailure failure_ = MqttFailure::kNone;
    MqttFailure setupFailure_ = MqttFailure::kNone;
};

// The text of a libmosquitto result code; `osError` is errno at the failure (used for system errors).
std::string MqttErrorText(int code, int osError);
// The text of a broker's refusal (CONNACK code).
std::string ConnackText(int code);

} // namespace terrix

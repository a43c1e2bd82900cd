// The broker link of a build without the MQTT library (the Windows build: there is no Windows build of
// libmosquitto to link). Every connection attempt fails with a sentence that says so; the front ends check
// PublishingAvailable() first and never get this far.
#include "core/publish/mqtt_link.h"

namespace terrix {

namespace {
constexpr const char* kUnavailable = "MQTT publishing is not part of this build of Terrix";
}

MqttLink::MqttLink(const BrokerOptions& options, MqttHandlers handlers, std::optional<MqttWill>, bool)
    : options_(options), handlers_(std::move(handlers)) {}

MqttLink::~MqttLink() = default;

std::string MqttLink::Where() const {
    return options_.url.Where();
}

bool MqttLink::Connect(std::chrono::milliseconds, const std::function<bool()>&, std::string* error) {
    Lose(kUnavailable, MqttFailure::kOther);
    if (error) {
        *error = kUnavailable;
    }
    return false;
}

int MqttLink::Publish(const std::string&, std::string_view, bool) {
    return -1;
}
bool MqttLink::Subscribe(const std::string&, std::chrono::milliseconds) {
    return false;
}
bool MqttLink::Loop(int) {
    return false;
}
void MqttLink::Disconnect() {}

void MqttLink::Lose(const std::string& reason, MqttFailure failure) {
    connected_ = false;
    lostReason_ = reason;
    failure_ = failure;
}

std::string MqttErrorText(int, int) {
    return kUnavailable;
}
std::string ConnackText(int) {
    return kUnavailable;
}
MqttFailure MqttFailureOf(int, int) {
    return MqttFailure::kOther;
}

} // namespace terrix

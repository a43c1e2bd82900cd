#include "gui/publish/publish_texts.h"

#include "gui/toolkit/core_text.h"

namespace terrix {

QString PublishTexts::Outcome(MqttFailure failure, const std::string& where, const std::string& detail) {
    const QString at = QString::fromStdString(where);
    const QString more = CoreText(detail); // a system error text in it in the user's language
    switch (failure) {
    case MqttFailure::kNone:
        return tr("Connected to %1 and logged in: publishing works with these settings.").arg(at);
    case MqttFailure::kSettings:
        return tr("The settings cannot be used: %1").arg(more);
    case MqttFailure::kHostNotFound:
        return tr("Host not found: the name in %1 cannot be resolved (check its spelling and the network).")
            .arg(at);
    case MqttFailure::kRefused:
        return tr("Connection refused: nothing accepts connections at %1 (is the broker running, and is the "
                  "port right?).")
            .arg(at);
    case MqttFailure::kNotAuthorised:
        return tr("Not authorised: the broker at %1 refused the user name or the password.").arg(at);
    case MqttFailure::kTls:
        return tr("TLS problem with %1: %2").arg(at, more);
    case MqttFailure::kNoAnswer:
        return tr("No answer from %1 in time (a firewall, or no MQTT broker at that port?).").arg(at);
    case MqttFailure::kLost:
        return tr("The broker at %1 closed the connection: %2").arg(at, more);
    case MqttFailure::kStopped:
        return tr("The test was stopped.");
    case MqttFailure::kOther:
        break;
    }
    return tr("The connection to %1 failed: %2").arg(at, more);
}

QString PublishTexts::Short(MqttFailure failure, const std::string& detail) {
    switch (failure) {
    case MqttFailure::kNone:
        return {};
    case MqttFailure::kSettings:
        return tr("unusable settings");
    case MqttFailure::kHostNotFound:
        return tr("host not found");
    case MqttFailure::kRefused:
        return tr("connection refused");
    case MqttFailure::kNotAuthorised:
        return tr("not authorised");
    case MqttFailure::kTls:
        return tr("TLS problem");
    case MqttFailure::kNoAnswer:
        return tr("no answer");
    case MqttFailure::kLost:
        return tr("connection lost");
    case MqttFailure::kStopped:
        return tr("stopped");
    case MqttFailure::kOther:
        break;
    }
    return CoreText(detail);
}

} // namespace terrix

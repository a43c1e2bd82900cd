#include "core/publish/mqtt_link.h"

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include <poll.h>
#include <sys/socket.h>

namespace terrix {

namespace {

constexpr int kKeepAliveSeconds = 30;
// Messages the library may have on the wire unacknowledged; the publisher keeps its own, smaller window.
constexpr unsigned kLibraryInflight = 0; // no limit of the library's own

// With TLS the library goes on waiting for its handshake on a socket whose connection failed (a refused
// port) and reports nothing: the socket was hung up without ever being connected. Its error, or 0.
int FailedConnectionError(mosquitto* client) {
    const int fd = mosquitto_socket(client);
    pollfd state{fd, POLLOUT, 0};
    if (fd < 0 || ::poll(&state, 1, 0) != 1 || (state.revents & (POLLERR | POLLHUP)) == 0) {
        return 0;
    }
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) == 0) {
        return 0; // connected; the broker hung up later, which the library reports itself
    }
    int error = 0;
    size = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    // The library took the error already; a hang-up before the connection was made is a refusal as a rule.
    return error != 0 ? error : ECONNREFUSED;
}

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

} // namespace

std::string MqttErrorText(int code, int osError) {
    switch (code) {
    case MOSQ_ERR_ERRNO: {
        std::string text = std::strerror(osError != 0 ? osError : EIO);
        if (!text.empty()) {
            text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        }
        return text;
    }
    case MOSQ_ERR_EAI:
    case MOSQ_ERR_LOOKUP:
        return "the host name cannot be resolved";
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_TLS_HANDSHAKE:
        return "the TLS handshake failed (is the CA file the authority that signed the broker's certificate, "
               "and does the certificate name this host?)";
    case MOSQ_ERR_CONN_LOST:
        return "the broker closed the connection";
    case MOSQ_ERR_NO_CONN:
        return "not connected";
    case MOSQ_ERR_KEEPALIVE:
        return "the broker stopped answering";
    case MOSQ_ERR_CONN_REFUSED:
        return "the broker refused the connection";
    case MOSQ_ERR_PROTOCOL:
    case MOSQ_ERR_MALFORMED_PACKET:
        return "the other side does not speak MQTT";
    default:
        return mosquitto_strerror(code);
    }
}

MqttFailure MqttFailureOf(int code, int osError) {
    switch (code) {
    case MOSQ_ERR_SUCCESS:
        return MqttFailure::kNone;
    case MOSQ_ERR_EAI:
    case MOSQ_ERR_LOOKUP:
        return MqttFailure::kHostNotFound;
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_TLS_HANDSHAKE:
        return MqttFailure::kTls;
    case MOSQ_ERR_CONN_LOST:
    case MOSQ_ERR_NO_CONN:
    case MOSQ_ERR_KEEPALIVE:
        return MqttFailure::kLost;
    case MOSQ_ERR_ERRNO:
        return osError == ECONNREFUSED ? MqttFailure::kRefused
               : osError == ETIMEDOUT  ? MqttFailure::kNoAnswer
                                       : MqttFailure::kOther;
    default:
        return MqttFailure::kOther;
    }
}

std::string ConnackText(int code) {
    switch (code) {
    case 1:
        return "the broker does not accept MQTT 3.1.1";
    case 2:
        return "the broker refused the client id";
    case 3:
        return "the broker is unavailable";
    case 4:
        return "the broker refused the user name or password";
    case 5:
        return "not authorised (check the user name and password)";
    default:
        return "the broker refused the connection (code " + std::to_string(code) + ")";
    }
}

MqttLink::MqttLink(const BrokerOptions& options, MqttHandlers handlers, std::optional<MqttWill> will,
                   bool keepSession)
    : options_(options), handlers_(std::move(handlers)) {
    InitLibraryOnce();
    const bool withId = !options_.clientId.empty();
    client_ = mosquitto_new(withId ? options_.clientId.c_str() : nullptr, !(keepSession && withId), this);
    if (client_ == nullptr) {
        setupError_ = "the MQTT client could not be created: " + std::string(std::strerror(errno));
        return;
    }
    mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_max_inflight_messages_set(client_, kLibraryInflight);
    mosquitto_connect_callback_set(client_, &MqttLink::OnConnect);
    mosquitto_disconnect_callback_set(client_, &MqttLink::OnDisconnect);
    mosquitto_publish_callback_set(client_, &MqttLink::OnPublish);
    mosquitto_message_callback_set(client_, &MqttLink::OnMessage);
    mosquitto_subscribe_callback_set(client_, &MqttLink::OnSubscribe);
    int rc = MOSQ_ERR_SUCCESS;
    if (!options_.url.user.empty()) {
        rc = mosquitto_username_pw_set(client_, options_.url.user.c_str(),
                                       options_.password ? options_.password->c_str() : nullptr);
    }
    if (rc == MOSQ_ERR_SUCCESS && will) {
        rc = mosquitto_will_set(client_, will->topic.c_str(), static_cast<int>(will->payload.size()),
                                will->payload.data(), 1, will->retain);
    }
    if (rc == MOSQ_ERR_SUCCESS && options_.url.tls) {
        // Without a CA file the system's authorities decide; the host name is always checked.
        rc = mosquitto_tls_set(client_, options_.caFile.empty() ? nullptr : options_.caFile.c_str(),
                               options_.caFile.empty() ? "/etc/ssl/certs" : nullptr,
                               options_.certFile.empty() ? nullptr : options_.certFile.c_str(),
                               options_.keyFile.empty() ? nullptr : options_.keyFile.c_str(), nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            setupError_ = "the TLS files cannot be used: " + MqttErrorText(rc, errno);
            setupFailure_ = MqttFailure::kTls;
            return;
        }
    }
    if (rc != MOSQ_ERR_SUCCESS) {
        setupError_ = MqttErrorText(rc, errno);
        setupFailure_ = MqttFailure::kOther;
    }
}

MqttLink::~MqttLink() {
    if (client_ != nullptr) {
        mosquitto_destroy(client_);
    }
}

std::string MqttLink::Where() const {
    return options_.url.Where();
}

bool MqttLink::Connect(std::chrono::milliseconds timeout, const std::function<bool()>& cancelled,
                       std::string* error) {
    const auto fail = [&](const std::string& why, MqttFailure failure) {
        if (error != nullptr) {
            *error = why;
        }
        lostReason_ = why;
        failure_ = failure;
        connected_ = false;
        return false;
    };
    if (!setupError_.empty()) {
        return fail(setupError_, setupFailure_);
    }
    answered_ = false;
    connackCode_ = -1;
    lostReason_.clear();
    failure_ = MqttFailure::kNone;
    errno = 0;
    int rc =
        mosquitto_connect_async(client_, options_.url.host.c_str(), options_.url.port, kKeepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS) {
        const int osError = errno;
        return fail(MqttErrorText(rc, osError), MqttFailureOf(rc, osError));
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!answered_) {
        if (cancelled && cancelled()) {
            return fail("stopped", MqttFailure::kStopped);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return fail("no answer from the broker", MqttFailure::kNoAnswer);
        }
        errno = 0;
        rc = mosquitto_loop(client_, 100, 1);
        const int osError = errno;
        if (answered_) {
            break;
        }
        if (rc != MOSQ_ERR_SUCCESS) {
            if (!lostReason_.empty()) {
                return fail(lostReason_, failure_);
            }
            return fail(MqttErrorText(rc, osError), MqttFailureOf(rc, osError));
        }
        if (const int socketError = FailedConnectionError(client_); socketError != 0) {
            return fail(MqttErrorText(MOSQ_ERR_ERRNO, socketError),
                        MqttFailureOf(MOSQ_ERR_ERRNO, socketError));
        }
    }
    if (connackCode_ != 0) {
        // 4 and 5: the login was refused.
        return fail(ConnackText(connackCode_), connackCode_ == 4 || connackCode_ == 5
                                                   ? MqttFailure::kNotAuthorised
                                                   : MqttFailure::kOther);
    }
    connected_ = true;
    return true;
}

int MqttLink::Publish(const std::string& topic, std::string_view payload, bool retain) {
    if (!connected_) {
        return -1;
    }
    int messageId = 0;
    errno = 0;
    const int rc = mosquitto_publish(client_, &messageId, topic.c_str(), static_cast<int>(payload.size()),
                                     payload.data(), 1, retain);
    if (rc != MOSQ_ERR_SUCCESS) {
        const int osError = errno;
        Lose(MqttErrorText(rc, osError), MqttFailureOf(rc, osError));
        return -1;
    }
    return messageId;
}

bool MqttLink::Subscribe(const std::string& filter, std::chrono::milliseconds timeout) {
    if (!connected_) {
        return false;
    }
    subscribeGranted_.reset();
    errno = 0;
    const int rc = mosquitto_subscribe(client_, &subscribeId_, filter.c_str(), 1);
    if (rc != MOSQ_ERR_SUCCESS) {
        const int osError = errno;
        Lose(MqttErrorText(rc, osError), MqttFailureOf(rc, osError));
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!subscribeGranted_ && std::chrono::steady_clock::now() < deadline && Loop(50)) {
    }
    if (!connected_) {
        return false;
    }
    if (!subscribeGranted_) {
        Lose("no answer from the broker to the subscription of " + filter, MqttFailure::kNoAnswer);
        return false;
    }
    if (!*subscribeGranted_) {
        Lose("the broker refused the subscription of " + filter + " (no access?)", MqttFailure::kOther);
        return false;
    }
    return true;
}

bool MqttLink::Loop(int timeoutMs) {
    if (!connected_) {
        return false;
    }
    errno = 0;
    const int rc = mosquitto_loop(client_, timeoutMs, 1);
    const int osError = errno;
    if (rc != MOSQ_ERR_SUCCESS && connected_) {
        Lose(MqttErrorText(rc, osError), MqttFailureOf(rc, osError));
    }
    return connected_;
}

void MqttLink::Disconnect() {
    if (client_ != nullptr && connected_) {
        mosquitto_disconnect(client_);
        // Lets the DISCONNECT reach the socket before the link goes.
        mosquitto_loop(client_, 10, 1);
    }
    connected_ = false;
}

void MqttLink::Lose(const std::string& reason, MqttFailure failure) {
    if (lostReason_.empty()) {
        lostReason_ = reason;
        failure_ = failure;
    }
    connected_ = false;
}

void MqttLink::OnConnect(mosquitto*, void* self, int code) {
    auto* link = static_cast<MqttLink*>(self);
    link->answered_ = true;
    link->connackCode_ = code;
}

void MqttLink::OnDisconnect(mosquitto*, void* self, int code) {
    auto* link = static_cast<MqttLink*>(self);
    if (code != 0) {
        const int kind = code == MOSQ_ERR_ERRNO ? MOSQ_ERR_CONN_LOST : code;
        link->Lose(MqttErrorText(kind, 0), MqttFailureOf(kind, 0));
    } else {
        link->connected_ = false;
    }
}

void MqttLink::OnPublish(mosquitto*, void* self, int messageId) {
    auto* link = static_cast<MqttLink*>(self);
    if (link->handlers_.acknowledged) {
        link->handlers_.acknowledged(messageId);
    }
}

void MqttLink::OnSubscribe(mosquitto*, void* self, int messageId, int count, const int* granted) {
    auto* link = static_cast<MqttLink*>(self);
    if (messageId == link->subscribeId_) {
        // 0x80 in place of a QoS: refused.
        link->subscribeGranted_ = count == 1 && granted != nullptr && granted[0] <= 2;
    }
}

void MqttLink::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* link = static_cast<MqttLink*>(self);
    if (link->handlers_.message && message != nullptr && message->topic != nullptr) {
        link->handlers_.message(message->topic,
                                std::string_view(static_cast<const char*>(message->payload),
                                                 message->payload != nullptr ? message->payloadlen : 0));
    }
}

} // namespace terrix

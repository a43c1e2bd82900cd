#include "core/publish/broker_url.h"

#include <charconv>

namespace terrix {

namespace {

std::optional<BrokerUrl> Refuse(std::string* error, const std::string& why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

bool ValidPrefix(std::string_view prefix) {
    if (prefix.empty() || prefix.front() == '/' || prefix.back() == '/' ||
        prefix.find("//") != std::string_view::npos) {
        return false;
    }
    for (const char c : prefix) {
        if (c == '+' || c == '#' || c == '\0' || static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string RedactedUrl(std::string_view text) {
    // A login "user:password@" starts after "://" with a ':' before any '/'. The password runs to the last
    // '@', since it may itself hold '@' or '/'; hiding too much of a malformed address costs nothing.
    const size_t scheme = text.find("://");
    const size_t from = scheme == std::string_view::npos ? 0 : scheme + 3;
    const size_t colon = text.find(':', from);
    const size_t slash = text.find('/', from);
    const size_t at = text.rfind('@');
    if (colon == std::string_view::npos || at == std::string_view::npos || at < colon ||
        (slash != std::string_view::npos && slash < colon) ||
        text.substr(from, colon - from).find('[') != std::string_view::npos) {
        return std::string(text);
    }
    return std::string(text.substr(0, colon + 1)) + "***" + std::string(text.substr(at));
}

std::string BrokerUrl::Text() const {
    return std::string(tls ? "mqtts://" : "mqtt://") + Where() + "/" + prefix;
}

std::string BrokerUrl::Where() const {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string BrokerUrl::RecordTopic(uint16_t serial) const {
    return prefix + "/" + std::to_string(serial) + "/record";
}

std::string BrokerUrl::RecordFilter() const {
    return prefix + "/+/record";
}

std::string BrokerUrl::StatusTopic() const {
    return prefix + "/status";
}

std::optional<BrokerUrl> ParseBrokerUrl(std::string_view text, std::string* error) {
    // Every message quotes the address, but never a password written into it: messages end up in
    // terminals, logs and the journal.
    const std::string quoted = "'" + RedactedUrl(text) + "'";
    BrokerUrl url;
    std::string_view rest = text;
    if (rest.starts_with("mqtt://")) {
        rest.remove_prefix(7);
    } else if (rest.starts_with("mqtts://")) {
        url.tls = true;
        rest.remove_prefix(8);
    } else {
        return Refuse(error, quoted + " is not a broker address: it must begin with mqtt:// or mqtts://");
    }
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        return Refuse(error, quoted + " names no topic prefix: write mqtt://host/prefix");
    }
    std::string_view authority = rest.substr(0, slash);
    const std::string_view prefix = rest.substr(slash + 1);
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.find(':') != std::string_view::npos) {
            return Refuse(error, quoted + ": a password does not belong in the address; give it in a file "
                                          "(--password-file) or in TERRIX_MQTT_PASSWORD");
        }
        if (user.empty()) {
            return Refuse(error, quoted + ": the user name before '@' is empty");
        }
        url.user = std::string(user);
        authority.remove_prefix(at + 1);
    }
    std::string_view portText;
    if (authority.starts_with("[")) {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return Refuse(error, quoted + ": the IPv6 address lacks its ']'");
        }
        url.host = std::string(authority.substr(1, close - 1));
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') {
                return Refuse(error, quoted + ": unexpected text after the IPv6 address");
            }
            portText = after.substr(1);
            if (portText.empty()) {
                return Refuse(error, quoted + ": the port after ':' is missing");
            }
        }
    } else {
        const size_t colon = authority.find(':');
        url.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) {
            portText = authority.substr(colon + 1);
            if (portText.empty()) {
                return Refuse(error, quoted + ": the port after ':' is missing");
            }
        }
    }
    if (url.host.empty()) {
        return Refuse(error, quoted + " names no broker host");
    }
    url.port = url.tls ? kMqttsPort : kMqttPort;
    if (!portText.empty()) {
        unsigned port = 0;
        const auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (ec != std::errc() || end != portText.data() + portText.size() || port == 0 || port > 65535) {
            return Refuse(error, quoted + ": the port must be a number from 1 to 65535");
        }
        url.port = static_cast<uint16_t>(port);
    }
    if (!ValidPrefix(prefix)) {
        return Refuse(error, quoted +
                                 ": the topic prefix must be one or more topic levels such as 'farm/north', "
                                 "without '+', '#', empty levels or a '/' at either end");
    }
    url.prefix = std::string(prefix);
    return url;
}

} // namespace terrix

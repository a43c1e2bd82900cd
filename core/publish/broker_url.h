#pragma once
// Where fleet logging sends its records and where collecting reads them: a broker address written as
// mqtt://[user@]host[:port]/prefix or mqtts://... (TLS). The prefix is the first part of every topic.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace terrix {

struct BrokerUrl {
    bool tls = false;
    std::string user; // empty: no login
    std::string host; // a name or an address (IPv6 without its brackets)
    uint16_t port = 0;
    std::string prefix; // topic levels separated by '/', never empty, no wildcards

    std::string Text() const;  // written back in the form it was read from, without the user
    std::string Where() const; // "host:port" ("[::1]:1883") for messages
    std::string RecordTopic(uint16_t serial) const;
    std::string RecordFilter() const; // <prefix>/+/record
    std::string StatusTopic() const;
};

inline constexpr uint16_t kMqttPort = 1883;
inline constexpr uint16_t kMqttsPort = 8883;

// `text` with the password of a "user:password@" login replaced by "***", for messages.
std::string RedactedUrl(std::string_view text);

// The address in `text`; none, with a sentence saying what is wrong in *error, when it is not one. A password
// in the address is refused: it would show in the process list and the shell's history.
std::optional<BrokerUrl> ParseBrokerUrl(std::string_view text, std::string* error);

} // namespace terrix

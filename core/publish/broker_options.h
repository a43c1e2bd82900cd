#pragma once
// Everything needed to reach a broker: its address, the login and the TLS files. The settings come from the
// "[Publish]" section of the settings file or from the command line; the password only from a file or the
// environment (TERRIX_MQTT_PASSWORD), never from the command line, where every user could read it.

#include "core/publish/broker_url.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace terrix {

inline constexpr const char* kPublishSection = "Publish";
inline constexpr const char* kPasswordVariable = "TERRIX_MQTT_PASSWORD";
// A service passes the password as a systemd credential of this name (LoadCredential=): systemd puts it
// into a file only the service can read, in the folder named by $CREDENTIALS_DIRECTORY.
inline constexpr const char* kPasswordCredential = "mqtt-password";

// As the user gives them: texts, not yet checked.
struct PublishSettings {
    std::string url; // empty: no publishing
    std::string passwordFile;
    std::string caFile;   // the authority that signed the broker's certificate (mqtts)
    std::string certFile; // a client certificate and its key, for brokers that ask for one
    std::string keyFile;

    bool operator==(const PublishSettings&) const = default;
};

// Keys URL, PasswordFile, CAFile, CertFile and KeyFile of the "[Publish]" section.
PublishSettings ReadPublishSettings(const std::filesystem::path& settingsFile);
bool WritePublishSettings(const std::filesystem::path& settingsFile, const PublishSettings& settings);

struct BrokerOptions {
    BrokerUrl url;
    std::optional<std::string> password;
    std::string caFile;
    std::string certFile;
    std::string keyFile;
    std::string clientId; // empty: the broker gives one (never for a collector, which keeps its session)
    // What works but puts the password at risk, one sentence each, for the user to see.
    std::vector<std::string> warnings;
};

// Checks the settings and reads the password: from the password file when one is named, else from the
// service's credential when there is one, else from TERRIX_MQTT_PASSWORD when it is set. None, with a
// sentence in *error, when something is unusable.
std::optional<BrokerOptions> ResolveBrokerOptions(const PublishSettings& settings, std::string* error);

} // namespace terrix

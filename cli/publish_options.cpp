#include "cli/publish_options.h"

#include "core/platform/data_paths.h"

#include <iostream>

namespace terrix::cli {

void AddBrokerFileOptions(CLI::App* sub, BrokerCliOptions& options, bool withClientId) {
    sub->add_option("--password-file", options.given.passwordFile,
                    "File whose first line is the broker password (else $TERRIX_MQTT_PASSWORD)");
    sub->add_option("--ca-file", options.given.caFile,
                    "With mqtts://: the certificate authority that signed the broker's certificate");
    sub->add_option("--cert-file", options.given.certFile, "With mqtts://: a client certificate");
    sub->add_option("--key-file", options.given.keyFile, "With mqtts://: the client certificate's key");
    if (withClientId) {
        sub->add_option("--client-id", options.clientId,
                        "Client id under which the broker keeps this collector's session "
                        "(default terrix-collect-<host name>-<hash of the prefixes and the data directory>)");
    }
}

bool ResolveBroker(CliContext& context, const BrokerCliOptions& options, bool withSettingsFile,
                   std::optional<BrokerOptions>& broker) {
    broker.reset();
    if (options.noPublish) {
        return true;
    }
    PublishSettings settings = withSettingsFile ? ReadPublishSettings(SettingsFilePath()) : PublishSettings{};
    const PublishSettings& given = options.given;
    for (auto field : {&PublishSettings::url, &PublishSettings::passwordFile, &PublishSettings::caFile,
                       &PublishSettings::certFile, &PublishSettings::keyFile}) {
        if (!(given.*field).empty()) {
            settings.*field = given.*field;
        }
    }
    if (settings.url.empty()) {
        return true;
    }
#if !TERRIX_HAS_MQTT
    // The Windows build has no MQTT library. A broker named only by the settings file (shared with a
    // Linux logger, say) must not stop measuring; one asked for on the command line is refused.
    constexpr const char* kNoMqtt = "MQTT publishing is not part of this build of terrix-cli";
    if (given.url.empty() && withSettingsFile) {
        std::cerr << "terrix-cli: " << kNoMqtt << "; measuring without publishing" << std::endl;
        return true;
    }
    context.Fail(kExitUsage, kNoMqtt);
    return false;
#else
    std::string error;
    broker = ResolveBrokerOptions(settings, &error);
    if (!broker) {
        context.Fail(kExitUsage, error);
        return false;
    }
    for (const std::string& warning : broker->warnings) {
        std::cerr << "terrix-cli: warning: " << warning << '\n';
    }
    broker->clientId = options.clientId;
    return true;
#endif
}

} // namespace terrix::cli

#pragma once
// The broker options that `measure --publish` and `collect --subscribe` share, and how they combine with the
// "[Publish]" section of the settings file.

#include "cli/cli_context.h"
#include "core/publish/broker_options.h"

#include <optional>
#include <string>

namespace terrix::cli {

struct BrokerCliOptions {
    PublishSettings given; // only what the command line gave
    bool noPublish = false;
    std::string clientId;
};

// --password-file, --ca-file, --cert-file, --key-file (and --client-id where `withClientId`).
void AddBrokerFileOptions(CLI::App* sub, BrokerCliOptions& options, bool withClientId);

// The broker to use: the command line's choices over those of the settings file's "[Publish]" section
// (when `withSettingsFile`). `broker` stays empty when no address is given anywhere (or --no-publish). False,
// with exit status 1 and the reason on standard error, when the settings are unusable.
bool ResolveBroker(CliContext& context, const BrokerCliOptions& options, bool withSettingsFile,
                   std::optional<BrokerOptions>& broker);

} // namespace terrix::cli

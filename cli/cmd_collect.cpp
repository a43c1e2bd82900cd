// terrix-cli collect: the records that loggers publish, written back into measurement files.

#include "cli/cli_context.h"
#include "cli/publish_options.h"
#include "core/platform/data_paths.h"
#include "core/publish/collector.h"

#include <algorithm>
#include <iostream>
#include <mutex>

namespace terrix::cli {
namespace {

struct CollectOptions {
    BrokerCliOptions broker;
    std::vector<std::string> urls;
};

int RunCollect(CliContext& context, const CollectOptions& options) {
    std::optional<BrokerOptions> broker;
    std::vector<std::string> prefixes;
    for (const std::string& url : options.urls) {
        BrokerCliOptions one = options.broker;
        one.given.url = url;
        std::optional<BrokerOptions> resolved;
        if (!ResolveBroker(context, one, false, resolved)) {
            return context.exitCode;
        }
        const BrokerUrl& a = resolved->url;
        if (broker && (a.tls != broker->url.tls || a.user != broker->url.user || a.host != broker->url.host ||
                       a.port != broker->url.port)) {
            context.Fail(kExitUsage, "every --subscribe must name the same broker and user as the first; "
                                     "run another collect for " +
                                         a.Text());
            return context.exitCode;
        }
        std::string why;
        if (!CollectedFolder(DataDir(), a.prefix, &why)) {
            context.Fail(kExitUsage, why);
            return context.exitCode;
        }
        if (std::find(prefixes.begin(), prefixes.end(), a.prefix) == prefixes.end()) {
            prefixes.push_back(a.prefix);
        }
        broker = std::move(resolved);
    }
    CliContext::InstallInterruptHandler();
    std::mutex sayMutex;
    const bool ran = RunCollector(
        *broker, prefixes, DataDir(), [] { return CliContext::Interrupted(); },
        [&](const std::string& text) {
            std::lock_guard lock(sayMutex);
            std::cerr << "terrix-cli: " << text << std::endl;
        });
    return ran ? kExitOk : kExitFile;
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto options = std::make_shared<CollectOptions>();
    CLI::App* sub = app.add_subcommand(
        "collect", "Subscribe to the records that loggers publish and write each prefix's modules into the "
                   "folder <data directory>/<prefix>; runs until Ctrl+C");
    sub->add_option(
           "--subscribe", options->urls,
           "Broker and topic prefix: mqtt[s]://[user@]host[:port]/prefix; repeat it for more prefixes "
           "of the same broker")
        ->required();
    AddBrokerFileOptions(sub, options->broker, true);
    sub->callback([&context, options] { context.exitCode = RunCollect(context, *options); });
});

} // namespace
} // namespace terrix::cli

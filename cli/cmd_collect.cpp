// terrix-cli collect: the records that loggers publish, written back into measurement files.

#include "cli/cli_context.h"
#include "cli/publish_options.h"
#include "core/platform/data_paths.h"
#include "core/publish/collector.h"

#include <iostream>
#include <mutex>

namespace terrix::cli {
namespace {

int RunCollect(CliContext& context, const BrokerCliOptions& options) {
    std::optional<BrokerOptions> broker;
    if (!ResolveBroker(context, options, false, broker)) {
        return context.exitCode;
    }
    CliContext::InstallInterruptHandler();
    std::mutex sayMutex;
    RunCollector(
        *broker, DataDir().string(), [] { return CliContext::Interrupted(); },
        [&](const std::string& text) {
            std::lock_guard lock(sayMutex);
            std::cerr << "terrix-cli: " << text << std::endl;
        });
    return kExitOk;
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto options = std::make_shared<BrokerCliOptions>();
    CLI::App* sub = app.add_subcommand(
        "collect", "Subscribe to the records that loggers publish and write each module's measurement files "
                   "in the data directory; runs until Ctrl+C");
    sub->add_option("--subscribe", options->given.url,
                    "Broker and topic prefix: mqtt[s]://[user@]host[:port]/prefix")
        ->required();
    AddBrokerFileOptions(sub, *options, true);
    sub->callback([&context, options] { context.exitCode = RunCollect(context, *options); });
});

} // namespace
} // namespace terrix::cli

#pragma once
// Publishing during `terrix-cli measure`: started once the loop is bound, told after each stored value,
// finished when the loop has stopped. It says on standard error when publishing waits and when it resumes,
// and how many records still wait at the end; none of that changes the exit status.

#include "cli/cli_context.h"
#include "core/circuit/meas_loop.h"
#include "core/publish/publisher.h"

#include <memory>
#include <mutex>
#include <optional>

namespace terrix::cli {

class MeasurePublishing final : public PublisherListener {
public:
    // Nothing happens without a broker.
    MeasurePublishing(CliContext& context, std::optional<BrokerOptions> broker);
    ~MeasurePublishing() override;

    void Start(const CMeasLoop& loop);
    void Notify();
    // Gives the broker a few seconds for what waits, while it is connected, then stops.
    void Finish();

    void OnPublishingWaits(const std::string& reason) override;
    void OnPublishingResumed() override;
    void OnPublishProblem(const std::string& text) override;

private:
    void Say(const std::string& text);

    CliContext& context_;
    std::optional<BrokerOptions> broker_;
    std::unique_ptr<Publisher> publisher_;
    std::mutex sayMutex_;
};

} // namespace terrix::cli

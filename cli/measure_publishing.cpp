#include "cli/measure_publishing.h"

#include "core/publish/loop_modules.h"

#include <iostream>

namespace terrix::cli {

namespace {
// How long the end of a run waits for acknowledgements that stopped coming.
constexpr std::chrono::seconds kDrain(5);
} // namespace

MeasurePublishing::MeasurePublishing(CliContext& context, std::optional<BrokerOptions> broker)
    : context_(context), broker_(std::move(broker)) {}

MeasurePublishing::~MeasurePublishing() {
    if (publisher_) {
        publisher_->Stop();
    }
}

void MeasurePublishing::Start(const CMeasLoop& loop) {
    if (!broker_) {
        return;
    }
    if (!context_.options.quiet) {
        Say("Publishing to " + broker_->url.Text());
    }
    publisher_ = std::make_unique<Publisher>(*broker_, PublishedModulesOf(loop), this);
    publisher_->Start();
}

void MeasurePublishing::Notify() {
    if (publisher_) {
        publisher_->Notify();
    }
}

void MeasurePublishing::Finish() {
    if (!publisher_) {
        return;
    }
    publisher_->Stop(kDrain);
    const PublishStatus status = publisher_->Status();
    if (status.waiting > 0) {
        Say("terrix-cli: " + std::to_string(status.waiting) +
            " record(s) wait to be published; the next run with publishing sends them");
    }
    publisher_.reset();
}

void MeasurePublishing::OnPublishingWaits(const std::string& reason) {
    Say("terrix-cli: publishing waits: " + reason);
}

void MeasurePublishing::OnPublishingResumed() {
    Say("terrix-cli: publishing resumed");
}

void MeasurePublishing::OnPublishProblem(const std::string& text) {
    Say("terrix-cli: publishing: " + text);
}

void MeasurePublishing::Say(const std::string& text) {
    std::lock_guard lock(sayMutex_);
    std::cerr << text << std::endl;
}

} // namespace terrix::cli

#pragma once
// The "Test" of the publishing settings, off the user-interface thread: ProbeBroker runs on a thread of its
// own and its answer reaches the window as a queued call. The window never waits for that thread: a
// host-name lookup cannot be interrupted, so a window that closes meanwhile only tells the test to stop and
// to deliver nothing, and the thread ends by itself.

#include "core/publish/broker_probe.h"

#include <functional>
#include <memory>

class QObject;

namespace terrix {

class BrokerTest {
public:
    // `receiver` gets the answers; it owns this object (so it outlives it).
    explicit BrokerTest(QObject* receiver);
    ~BrokerTest();
    BrokerTest(const BrokerTest&) = delete;
    BrokerTest& operator=(const BrokerTest&) = delete;

    // Starts a test of `settings`; `done` runs on the receiver's thread with the answer. A test still
    // running is stopped first and its answer dropped.
    void Start(const PublishSettings& settings, std::function<void(const BrokerProbeResult&)> done);
    bool Running() const { return running_; }
    // Stops the running test; its answer is dropped.
    void Cancel();

    static constexpr std::chrono::milliseconds kTimeout{10000};

private:
    struct Run;

    QObject* receiver_;
    std::shared_ptr<Run> run_;
    bool running_ = false;
};

} // namespace terrix

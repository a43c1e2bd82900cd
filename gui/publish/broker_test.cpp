#include "gui/publish/broker_test.h"

#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <mutex>
#include <thread>

namespace terrix {

// Shared by the window and the test's thread; whichever lets go last frees it.
struct BrokerTest::Run {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    QObject* receiver = nullptr; // cleared, under the mutex, when the answer is no longer wanted
};

BrokerTest::BrokerTest(QObject* receiver) : receiver_(receiver) {}

BrokerTest::~BrokerTest() {
    Cancel();
}

void BrokerTest::Cancel() {
    if (run_) {
        run_->cancelled = true;
        std::lock_guard lock(run_->mutex);
        run_->receiver = nullptr;
    }
    run_.reset();
    running_ = false;
}

void BrokerTest::Start(const PublishSettings& settings, std::function<void(const BrokerProbeResult&)> done) {
    Cancel();
    auto run = std::make_shared<Run>();
    run->receiver = receiver_;
    run_ = run;
    running_ = true;
    // The answer is delivered only while this run is still the current one.
    auto deliver = [this, weak = std::weak_ptr<Run>(run),
                    done = std::move(done)](const BrokerProbeResult& r) {
        if (run_ != nullptr && weak.lock() == run_) {
            running_ = false;
            done(r);
        }
    };
    std::thread([run, settings, deliver = std::move(deliver)] {
        const BrokerProbeResult result =
            ProbeBroker(settings, kTimeout, [&run] { return run->cancelled.load(); });
        std::lock_guard lock(run->mutex);
        if (run->receiver != nullptr) {
            QMetaObject::invokeMethod(
                run->receiver, [deliver, result] { deliver(result); }, Qt::QueuedConnection);
        }
    }).detach();
}

} // namespace terrix

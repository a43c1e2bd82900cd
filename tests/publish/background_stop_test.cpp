#include "core/publish/background_stop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

namespace terrix {
namespace {

// A stop that hangs (a name lookup, a broker that does not answer) holds up nobody but the final wait, and
// the stops that already ended are not waited for again.
TEST(BackgroundStop, ReturnsAtOnceAndTheFinalWaitWaitsForEveryStop) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> stopped = 0;
    StopInBackground([&stopped] { ++stopped; });
    const auto before = std::chrono::steady_clock::now();
    StopInBackground([released, &stopped] {
        released.wait();
        ++stopped;
    });
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
    EXPECT_LE(stopped.load(), 1);
    auto waiting = std::async(std::launch::async, [] { WaitForBackgroundStops(); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    release.set_value();
    waiting.get();
    EXPECT_EQ(stopped.load(), 2);
}

} // namespace
} // namespace terrix

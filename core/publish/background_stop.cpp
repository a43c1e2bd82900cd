#include "core/publish/background_stop.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace terrix {

namespace {

struct Stopper {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
};

class Stoppers {
public:
    // Waits for the stops still running at exit: a joinable thread may not be destroyed.
    ~Stoppers() { WaitAll(); }

    void Add(std::function<void()> stop) {
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::thread thread([stop = std::move(stop), done] {
            stop();
            done->store(true);
        });
        std::vector<Stopper> finished;
        {
            std::lock_guard lock(mutex_);
            // The ones that have ended are joined now, so that stopping often collects no threads.
            for (auto it = running_.begin(); it != running_.end();) {
                if (it->done->load()) {
                    finished.push_back(std::move(*it));
                    it = running_.erase(it);
                } else {
                    ++it;
                }
            }
            running_.push_back(Stopper{std::move(thread), std::move(done)});
        }
        for (Stopper& s : finished) {
            s.thread.join();
        }
    }

    void WaitAll() {
        std::vector<Stopper> all;
        {
            std::lock_guard lock(mutex_);
            all.swap(running_);
        }
        for (Stopper& s : all) {
            s.thread.join();
        }
    }

private:
    std::mutex mutex_;
    std::vector<Stopper> running_;
};

Stoppers& AllStoppers() {
    static Stoppers stoppers;
    return stoppers;
}

} // namespace

void StopInBackground(std::function<void()> stop) {
    AllStoppers().Add(std::move(stop));
}

void WaitForBackgroundStops() {
    AllStoppers().WaitAll();
}

} // namespace terrix

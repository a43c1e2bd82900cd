#include "core/circuit/loop_timer.h"

#include <chrono>
#include <system_error>

namespace terrix {

ThreadLoopTimer::ThreadLoopTimer(Clock& clock, uint32_t periodMs)
    : clock_(clock), periodUs_(static_cast<uint64_t>(periodMs) * 1000) {}

ThreadLoopTimer::~ThreadLoopTimer() {
    Stop();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

bool ThreadLoopTimer::Start(Event event) {
    // A thread that stopped itself from inside its last event is collected here.
    Stop();
    if (thread_.joinable()) {
        return false; // called from inside an event: that thread is still this one
    }
    std::lock_guard lock(mutex_);
    stop_ = false;
    wake_ = false;
    event_ = std::move(event);
    try {
        thread_ = std::thread(&ThreadLoopTimer::Run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void ThreadLoopTimer::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) {
        return;
    }
    thread_.join();
}

void ThreadLoopTimer::Wake() {
    {
        std::lock_guard lock(mutex_);
        wake_ = true;
    }
    changed_.notify_all();
}

bool ThreadLoopTimer::WaitForEvent(std::unique_lock<std::mutex>& lock, uint64_t& nextUs) {
    // Deadlines that passed while the last event ran are dropped, not delivered late.
    for (const uint64_t now = clock_.NowUs(); nextUs <= now;) {
        nextUs += periodUs_;
    }
    while (!stop_ && !wake_) {
        const uint64_t now = clock_.NowUs();
        if (now >= nextUs) {
            break;
        }
        if (clock_.IsReal()) {
            changed_.wait_for(lock, std::chrono::microseconds(nextUs - now));
        } else {
            lock.unlock();
            clock_.SleepUntilUs(nextUs);
            lock.lock();
        }
    }
    if (stop_) {
        return false;
    }
    const uint64_t now = clock_.NowUs();
    if (wake_) {
        wake_ = false;
        nextUs = now + periodUs_;
        return true;
    }
    nextUs += periodUs_;
    return true;
}

void ThreadLoopTimer::Run() {
    std::unique_lock lock(mutex_);
    uint64_t nextUs = clock_.NowUs() + periodUs_;
    while (WaitForEvent(lock, nextUs)) {
        lock.unlock();
        event_();
        lock.lock();
    }
}

} // namespace terrix

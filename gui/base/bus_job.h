#pragma once
// The one way a window runs bus work. The work runs on a worker thread as a BusActivity of the window (so
// one job at a time per bus context, and the frame's bus commands are off meanwhile); the user-interface
// thread never waits for the bus. The work reports to the window through BusJobControl::Post, and its
// result reaches the window in `done`, both run later on the window's thread and dropped once the window
// is gone.
//
//     BusJob::Start(context_, this, windowTitle(),
//         [station = record_.iaStation, &context = context_](BusJobControl& job) {
//             return ReadSomething(context.portContext.hPort, station);   // worker thread
//         },
//         [this](const Something& value) { Show(value); });                // this window's thread
//
// Rules for the work: it captures values, and references only to what outlives the window (the bus
// context and its records); state it shares with the window lives in a shared_ptr. While a job runs the
// window does not touch the bus context: what it shows comes from the posts and the result. Where an
// operation needs the user's answer in the middle, it is split into jobs: read, ask in `done`, then start
// the write.
//
// Work that throws still ends in `done`: with a default-constructed result (a result type says failure by its
// default value: nothing ran, nothing was written), or for work without a result with `done()`; the
// exception is logged. A window waiting for `done` (the scanning dialog) can always go on or close.
//
// Cancel, closing the window and quitting set the activity's cancel flag; the work looks at
// StopRequested() at its safe points. Closing the window waits (without blocking) until the job has ended
// and its `done` has returned. A window deleted under a running job waits in the job's destructor for the
// work to return.

#include "core/inventory/bus_context.h"
#include "gui/toolkit/queued_adapters.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

class QWidget;

namespace terrix {

class BusActivity;

// What the work sees on its worker thread.
class BusJobControl {
public:
    // True once Cancel, closing the window or quitting asked the job to end.
    bool StopRequested() const { return stop_ != nullptr && stop_->load(); }
    // Runs `call` later on the window's thread (progress, events); nothing once the window is gone.
    void Post(std::function<void()> call) { poster_.Post(std::move(call)); }

private:
    friend class BusJob;
    BusJobControl(QObject* receiver, std::shared_ptr<const std::atomic<bool>> stop)
        : stop_(std::move(stop)), poster_(receiver) {}

    std::shared_ptr<const std::atomic<bool>> stop_;
    QueuedPoster poster_;
};

class BusJob final : public QObject {
    Q_OBJECT
public:
    // Starts `work(BusJobControl&)` on a worker thread as the bus activity `what` of `owner`, then calls
    // `done(result)` (or `done()` for work that returns nothing) on the owner's thread. When the bus is
    // taken, shows why and returns false without running anything.
    template <class Work, class Done>
    static bool Start(BusContext& context, QWidget* owner, const QString& what, Work work, Done done) {
        return Begin(context, owner, what,
                     [work = std::move(work),
                      done = std::move(done)](BusJobControl& control) mutable -> std::function<void()> {
                         using Result = std::invoke_result_t<Work&, BusJobControl&>;
                         if constexpr (std::is_void_v<Result>) {
                             RunCaught([&] { work(control); });
                             return [done]() mutable { done(); };
                         } else {
                             static_assert(std::is_default_constructible_v<Result>,
                                           "a job's result says by its default value that the work failed");
                             auto result = std::make_shared<std::optional<Result>>();
                             RunCaught([&] { result->emplace(work(control)); });
                             if (!result->has_value()) {
                                 result->emplace(); // the work threw: its window gets a failed outcome
                             }
                             return [done, result]() mutable { done(std::move(**result)); };
                         }
                     });
    }

    // True while a job of `owner` runs (its `done` has not been called yet).
    static bool Runs(const QObject* owner);
    // Asks the running job of `owner` to stop at its next safe point (a Cancel button).
    static void RequestStop(const QObject* owner);

    ~BusJob() override;

private:
    using ErasedWork = std::function<std::function<void()>(BusJobControl&)>;

    explicit BusJob(QWidget* owner);
    // Runs `work`; an exception it throws is logged and ends there, so that `done` still runs.
    static void RunCaught(const std::function<void()>& work);
    static bool Begin(BusContext& context, QWidget* owner, const QString& what, ErasedWork work);
    void Finish(const std::function<void()>& done, uint16_t busError);

    BusContext* activityContext_ = nullptr;
    std::unique_ptr<BusActivity> activity_;
    std::shared_ptr<BusJobControl> control_;
    std::thread thread_;
    bool running_ = false;
};

} // namespace terrix

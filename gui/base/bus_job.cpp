#include "gui/base/bus_job.h"

#include "core/bus/bus_error.h"
#include "gui/base/bus_activity.h"
#include "gui/toolkit/window_operation.h"

#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <exception>

namespace terrix {

BusJob::BusJob(QWidget* owner) : QObject(owner) {}

void BusJob::RunCaught(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& error) {
        // Nothing of the window may run on this thread: the failure is logged, and the window learns of it
        // from the failed outcome in `done`.
        qWarning("Bus work stopped by an exception: %s", error.what());
    } catch (...) {
        qWarning("Bus work stopped by an exception");
    }
}

BusJob::~BusJob() {
    if (thread_.joinable()) {
        // The window went while the work still ran: stop it at its next safe point and wait for it, since
        // it uses the bus context under the activity that ends with this object.
        BusActivity::RequestCancel(*activityContext_);
        thread_.join();
    }
}

bool BusJob::Begin(BusContext& context, QWidget* owner, const QString& what, ErasedWork work) {
    auto activity = std::make_unique<BusActivity>(context, owner, what);
    if (!*activity) {
        activity->ShowRefusal(owner);
        return false;
    }
    auto* job = new BusJob(owner);
    job->activityContext_ = &context;
    job->control_ = std::shared_ptr<BusJobControl>(new BusJobControl(job, activity->CancelFlag()));
    job->activity_ = std::move(activity);
    job->running_ = true;
    job->thread_ = std::thread([job, control = job->control_, work = std::move(work)]() mutable {
        std::function<void()> done;
        RunCaught([&] { done = work(*control); }); // Start's wrapper has caught what the work threw
        // The error of the work's last transaction is kept per thread; the window reads it in `done`.
        const uint16_t busError = LastBusError();
        control->Post([job, done = std::move(done), busError] { job->Finish(done, busError); });
    });
    return true;
}

void BusJob::Finish(const std::function<void()>& done, uint16_t busError) {
    thread_.join();
    running_ = false;
    SetLastBusError(busError);
    auto* owner = qobject_cast<QWidget*>(parent());
    {
        // The bus is free before `done` runs, so it may start the next phase; the window still waits with
        // a deferred close until `done` has returned.
        WindowOperation stillInDone(owner);
        activity_.reset();
        if (done) {
            done();
        }
    }
    deleteLater();
}

bool BusJob::Runs(const QObject* owner) {
    const auto jobs = owner->findChildren<BusJob*>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(jobs.begin(), jobs.end(), [](const BusJob* job) { return job->running_; });
}

void BusJob::RequestStop(const QObject* owner) {
    for (const BusJob* job : owner->findChildren<BusJob*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (job->running_) {
            BusActivity::RequestCancel(*job->activityContext_);
        }
    }
}

} // namespace terrix

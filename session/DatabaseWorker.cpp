#include "session/DatabaseWorker.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <new>

namespace quarix::session {

struct DatabaseWorker::Pending {
    Job job;
    QPointer<QObject> context;
    Done done;
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    JobReport report; // written by the worker thread before finished is set
};

DatabaseWorker::DatabaseWorker(QObject* parent) : QObject(parent) {
    runner_ = new QObject;
    runner_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("database worker"));
    thread_.start();
    ticker_.setInterval(100);
    connect(&ticker_, &QTimer::timeout, this, &DatabaseWorker::reportProgress);
}

DatabaseWorker::~DatabaseWorker() {
    shutdown();
}

void DatabaseWorker::submit(Job job, QObject* context, Done done) {
    stopBackground();
    auto pending = std::make_shared<Pending>();
    pending->job = std::move(job);
    pending->context = context;
    pending->done = std::move(done);
    pending->cancel = shuttingDown_;
    pending_.push_back(pending);
    if (state_ == State::Idle)
        setState(State::Reading);
    if (!ticker_.isActive())
        ticker_.start();
    if (runner_)
        QMetaObject::invokeMethod(
            runner_, [this, pending] { execute(pending); }, Qt::QueuedConnection);
    emit submitted();
}

void DatabaseWorker::submitBackground(Job job) {
    stopBackground();
    if (!runner_ || shuttingDown_)
        return;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    background_ = cancel;
    QMetaObject::invokeMethod(
        runner_,
        [job = std::move(job), cancel] {
            if (*cancel)
                return;
            engine::ReadOptions options;
            options.cancel = cancel.get();
            try {
                job(options);
            } catch (const engine::EngineError&) {
                // Nobody waits for it: what it failed to do is done another time.
            } catch (const std::bad_alloc&) {
            }
        },
        Qt::QueuedConnection);
}

void DatabaseWorker::stopBackground() {
    if (background_)
        *background_ = true;
    background_.reset();
}

void DatabaseWorker::setGate(Gate gate) {
    const std::lock_guard lock(gateMutex_);
    gate_ = std::move(gate);
}

void DatabaseWorker::cancel() {
    stopBackground();
    if (pending_.empty())
        return;
    for (const auto& job : pending_)
        job->cancel = true;
    setState(State::Cancelling);
}

// Runs on the worker thread.
void DatabaseWorker::execute(const std::shared_ptr<Pending>& job) {
    bool failed = false;
    Gate gate;
    {
        const std::lock_guard lock(gateMutex_);
        gate = gate_;
    }
    if (gate)
        gate(job->cancel);
    if (job->cancel) {
        failed = true;
    } else {
        rowsRead_ = 0;
        rowsExpected_ = 0;
        engine::ReadOptions options;
        options.progress = [this](std::uint64_t read, std::uint64_t expected) {
            rowsRead_ = read;
            rowsExpected_ = expected;
        };
        options.cancel = &job->cancel;
        options.salvage = salvage_;
        try {
            job->job(options);
        } catch (const engine::EngineError& e) {
            failed = true;
            job->report.number = e.number();
            job->report.description = QString::fromStdString(e.description());
        } catch (const std::bad_alloc&) {
            failed = true;
            job->report.number = 7;
            job->report.description = QStringLiteral("Out of memory.");
        }
    }
    job->job = nullptr;
    job->report.end = jobEnd(failed, job->report.number, job->cancel);
    job->finished = true;
    QMetaObject::invokeMethod(
        this, [this, job] { deliver(job); }, Qt::QueuedConnection);
}

void DatabaseWorker::deliver(const std::shared_ptr<Pending>& job) {
    const auto at = std::find(pending_.begin(), pending_.end(), job);
    if (at == pending_.end())
        return; // delivered already by a shutdown
    pending_.erase(at);
    JobReport report = job->report;
    // Cancelled after it finished: the action it served was given up.
    if (job->cancel)
        report.end = JobEnd::Cancelled;
    // The callback goes here, on the context's thread, whether it runs or not.
    const Done done = std::move(job->done);
    job->done = nullptr;
    if (job->context && done)
        done(report);
    if (pending_.empty()) {
        ticker_.stop();
        setState(State::Idle);
        emit becameIdle();
    }
}

void DatabaseWorker::shutdown() {
    if (shuttingDown_)
        return;
    shuttingDown_ = true;
    stopBackground();
    cancel();
    thread_.quit();
    thread_.wait();
    delete runner_;
    runner_ = nullptr;
    // The thread has stopped: a job it never started reports Cancelled, and
    // a report still on its way is delivered here, in order.
    while (!pending_.empty()) {
        const auto job = pending_.front();
        if (!job->finished)
            job->report.end = JobEnd::Cancelled;
        deliver(job);
    }
}

void DatabaseWorker::setState(State state) {
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state);
}

void DatabaseWorker::reportProgress() {
    const std::uint64_t expected = rowsExpected_.load();
    if (expected == 0)
        return;
    const std::uint64_t read = std::min(rowsRead_.load(), expected);
    emit progress(static_cast<int>(read * 100 / expected));
}

} // namespace quarix::session

namespace quarix::session {

void submitOrRun(DatabaseWorker* worker, QObject* context, DatabaseWorker::Job job,
                 DatabaseWorker::Done done) {
    if (worker) {
        worker->submit(std::move(job), context, std::move(done));
        return;
    }
    JobReport report;
    try {
        job({});
    } catch (const engine::EngineError& e) {
        report = {JobEnd::Failed, e.number(), QString::fromStdString(e.description())};
    }
    done(report);
}

} // namespace quarix::session

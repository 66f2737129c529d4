#pragma once

#include "session/DatabaseWorker.h"

#include <QMetaObject>

#include <coroutine>

namespace quarix::session {

// co_await runJob(worker, context, job): runs the job on the worker and
// resumes the awaiting coroutine on context's thread with the job's report.
// The context must outlive the wait; its owner shuts the worker down first
// (DatabaseWorker::shutdown), which delivers every report.
class JobAwaiter {
public:
    JobAwaiter(DatabaseWorker& worker, QObject* context, DatabaseWorker::Job job)
        : worker_(worker), context_(context), job_(std::move(job)) {}
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> awaiting) {
        worker_.submit(std::move(job_), context_, [this, awaiting](const JobReport& report) {
            report_ = report;
            awaiting.resume();
        });
    }
    JobReport await_resume() const { return report_; }

private:
    DatabaseWorker& worker_;
    QObject* context_;
    DatabaseWorker::Job job_;
    JobReport report_;
};

inline JobAwaiter runJob(DatabaseWorker& worker, QObject* context, DatabaseWorker::Job job) {
    return JobAwaiter(worker, context, std::move(job));
}

// co_await untilIdle(worker): resumes once the worker has nothing left to
// run or deliver (at once when it is idle already).
class IdleAwaiter {
public:
    explicit IdleAwaiter(DatabaseWorker& worker) : worker_(worker) {}
    bool await_ready() const noexcept { return worker_.idle(); }
    void await_suspend(std::coroutine_handle<> awaiting) {
        connection_ =
            QObject::connect(&worker_, &DatabaseWorker::becameIdle, &worker_, [this, awaiting] {
                QObject::disconnect(connection_);
                awaiting.resume();
            });
    }
    void await_resume() const noexcept {}

private:
    DatabaseWorker& worker_;
    QMetaObject::Connection connection_;
};

inline IdleAwaiter untilIdle(DatabaseWorker& worker) {
    return IdleAwaiter(worker);
}

} // namespace quarix::session

#pragma once

#include "engine/reader/AccessFileReader.h"
#include "session/JobEnd.h"

#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace quarix::session {

// Runs database jobs one at a time, in the order they come, on one thread
// that lives as long as the worker. A job gets read options that carry its
// progress and its cancel flag; its report is delivered on the thread of the
// context object it came with, and dropped when that object is gone. Nothing
// here waits in a nested event loop: callers continue when the report comes.
class DatabaseWorker : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,       // nothing to do
        Reading,    // a job runs or waits, or its report is on its way
        Cancelling, // asked to stop: what is left reports Cancelled
    };
    using Job = std::function<void(const engine::ReadOptions&)>;
    using Done = std::function<void(const JobReport&)>;

    explicit DatabaseWorker(QObject* parent = nullptr);
    ~DatabaseWorker() override;

    State state() const { return state_; }
    // Nothing queued, running, or finished but not delivered.
    bool idle() const { return pending_.empty(); }

    void submit(Job job, QObject* context, Done done);
    // Runs a job for later's sake (building indexes) when the jobs before it
    // are done: without a report, without changing the state, and stopped
    // by any job submitted after it, by cancel() and by shutdown().
    void submitBackground(Job job);
    // Stops the running job and every job not yet delivered; each reports
    // Cancelled, also one that had finished.
    void cancel();
    // Cancels what is left, waits for the running job to stop and delivers
    // every report at once: for the owner's destructor, so that nothing it
    // started is left waiting for it.
    void shutdown();

    // Damaged tables give the rows that can be read, with warnings, instead
    // of failing: for a window that shows those warnings.
    void setSalvage(bool salvage) { salvage_ = salvage; }

    // Runs before every job on the worker thread, with the job's cancel
    // flag: a test holds jobs there to act while a read is under way.
    using Gate = std::function<void(const std::atomic<bool>& cancel)>;
    void setGate(Gate gate);

signals:
    // A job was handed to the worker.
    void submitted();
    void stateChanged(quarix::session::DatabaseWorker::State state);
    // Percent of the rows a long read has read so far.
    void progress(int percent);
    void becameIdle();

private:
    struct Pending;
    void execute(const std::shared_ptr<Pending>& job);
    void deliver(const std::shared_ptr<Pending>& job);
    void setState(State state);
    void reportProgress();
    void stopBackground();

    QThread thread_;
    QObject* runner_ = nullptr; // lives on thread_; jobs are posted to it
    std::deque<std::shared_ptr<Pending>> pending_;
    State state_ = State::Idle;
    bool shuttingDown_ = false;
    std::atomic<bool> salvage_{false};
    QTimer ticker_;
    std::mutex gateMutex_;
    Gate gate_;
    std::atomic<std::uint64_t> rowsRead_{0};
    std::atomic<std::uint64_t> rowsExpected_{0};
    std::shared_ptr<std::atomic<bool>> background_; // the cancel flag of the last background job
};

} // namespace quarix::session

namespace quarix::session {

// Runs a job on the worker, or at once on this thread when there is none
// (dialogs shown on their own, previews); done gets its report either way.
void submitOrRun(DatabaseWorker* worker, QObject* context, DatabaseWorker::Job job,
                 DatabaseWorker::Done done);

} // namespace quarix::session

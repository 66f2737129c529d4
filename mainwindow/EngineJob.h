#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

// Runs one database job at a time on a worker thread while the window keeps
// repainting, reports the engine's read progress and lets the user cancel.
// run() returns when the job is done and rethrows what the job threw, so
// callers read like plain sequential code.
class EngineJob : public QObject {
    Q_OBJECT
public:
    explicit EngineJob(QObject* parent = nullptr);

    // False (and nothing run) when another job is still running.
    bool run(const std::function<void()>& job);

    bool running() const { return running_; }
    // Asks the running job's reads to stop; the job then fails.
    void cancel();
    // Whether the running job has been asked to stop.
    bool cancelRequested() const { return cancel_.load(); }
    // Whether the last job was asked to stop.
    bool cancelled() const { return cancelled_; }

signals:
    void started();
    // Percent of the rows read so far by a long read.
    void progress(int percent);
    void finished();

private:
    void reportProgress();

    bool running_ = false;
    bool cancelled_ = false;
    // Shared with the engine for the reads of its databases; cleared after
    // each job so that later reads of the same databases are not stopped.
    std::atomic<bool> cancel_{false};
    std::atomic<std::uint64_t> rowsRead_{0};
    std::atomic<std::uint64_t> rowsExpected_{0};
};

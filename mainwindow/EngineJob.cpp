#include "mainwindow/EngineJob.h"

#include "catalogue/Dao.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <exception>

using quarix::catalogue::DBEngine;
using quarix::catalogue::ReadProgress;

EngineJob::EngineJob(QObject* parent) : QObject(parent) {}

void EngineJob::cancel() {
    if (running_)
        cancel_ = true;
}

void EngineJob::reportProgress() {
    const std::uint64_t expected = rowsExpected_.load();
    if (expected == 0)
        return;
    const std::uint64_t read = std::min(rowsRead_.load(), expected);
    emit progress(static_cast<int>(read * 100 / expected));
}

bool EngineJob::run(const std::function<void()>& job) {
    if (running_)
        return false;
    running_ = true;
    cancelled_ = false;
    cancel_ = false;
    rowsRead_ = 0;
    rowsExpected_ = 0;
    emit started();

    std::exception_ptr failure;
    QEventLoop loop;
    QThread* worker = QThread::create([&] {
        auto& workspace = DBEngine::instance().Workspaces(0);
        workspace.setReadProgress(ReadProgress{[this](std::uint64_t read, std::uint64_t expected) {
                                                   rowsRead_ = read;
                                                   rowsExpected_ = expected;
                                               },
                                               &cancel_});
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        workspace.setReadProgress(ReadProgress{});
    });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, &EngineJob::reportProgress);
    ticker.start(100);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    ticker.stop();

    cancelled_ = cancel_.exchange(false);
    running_ = false;
    emit finished();
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

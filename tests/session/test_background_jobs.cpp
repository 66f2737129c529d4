#include "session/DatabaseWorker.h"

#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

using quarix::session::DatabaseWorker;
using quarix::session::JobEnd;
using quarix::session::JobReport;

namespace {

// A background job runs until told to stop, with nobody waiting for it.
struct Spinner {
    std::atomic<bool> started{false};
    std::atomic<bool> stopped{false};

    DatabaseWorker::Job job() {
        return [this](const quarix::engine::ReadOptions& options) {
            started = true;
            while (!options.cancel->load())
                QThread::msleep(1);
            stopped = true;
        };
    }
};

TEST(BackgroundJobs, LeaveTheWorkerIdleAndGiveWayToTheNextJob) {
    DatabaseWorker worker;
    QObject context;
    Spinner spinner;
    worker.submitBackground(spinner.job());
    ASSERT_TRUE(QTest::qWaitFor([&] { return spinner.started.load(); }, 5000));
    EXPECT_TRUE(worker.idle());
    EXPECT_EQ(worker.state(), DatabaseWorker::State::Idle);

    bool ran = false;
    JobReport report;
    worker.submit([&](const quarix::engine::ReadOptions&) { ran = true; }, &context,
                  [&](const JobReport& r) { report = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker.idle(); }, 5000));
    EXPECT_TRUE(spinner.stopped);
    EXPECT_TRUE(ran);
    EXPECT_EQ(report.end, JobEnd::Done);
}

TEST(BackgroundJobs, StopOnCancelAndShutdown) {
    Spinner cancelled, shut;
    DatabaseWorker worker;
    worker.submitBackground(cancelled.job());
    ASSERT_TRUE(QTest::qWaitFor([&] { return cancelled.started.load(); }, 5000));
    worker.cancel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return cancelled.stopped.load(); }, 5000));
    worker.submitBackground(shut.job());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shut.started.load(); }, 5000));
    worker.shutdown();
    EXPECT_TRUE(shut.stopped);
}

} // namespace

#include "engine/EngineError.h"
#include "mainwindow/EngineJob.h"

#include <QSignalSpy>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(EngineJob, RunsOnAnotherThreadAndRethrowsItsFailure) {
    EngineJob job;
    QSignalSpy started(&job, &EngineJob::started);
    QSignalSpy finished(&job, &EngineJob::finished);
    QThread* worker = nullptr;
    EXPECT_TRUE(job.run([&] { worker = QThread::currentThread(); }));
    EXPECT_NE(worker, QThread::currentThread());
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(finished.count(), 1);

    EXPECT_THROW(job.run([] { throw quarix::engine::EngineError(3024, "Could not find file."); }),
                 quarix::engine::EngineError);
    EXPECT_FALSE(job.running());
}

TEST(EngineJob, CancelStopsTheJobAndIsClearedForTheNext) {
    EngineJob job;
    bool nestedRan = true;
    QTimer::singleShot(20, &job, [&] {
        nestedRan = job.run([] {});  // the window stays live, but one job at a time
        job.cancel();
    });
    EXPECT_THROW(job.run([&] {
        while (!job.cancelRequested())
            QThread::msleep(5);
        throw quarix::engine::EngineError(3000, "Read cancelled.");
    }),
                 quarix::engine::EngineError);
    EXPECT_FALSE(nestedRan);
    EXPECT_TRUE(job.cancelled());
    EXPECT_FALSE(job.cancelRequested());
    EXPECT_TRUE(job.run([] {}));
    EXPECT_FALSE(job.cancelled());
}

} // namespace

#include "engine/EngineError.h"
#include "mainwindow/EngineJob.h"
#include "mainwindow/JobEnd.h"

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
        nestedRan = job.run([] {}); // the window stays live, but one job at a time
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

TEST(JobEnd, ACancelIsTheUsersStopAndLeavesTheDatabasesCaption) {
    EXPECT_EQ(jobEnd(false, 0, false), JobEnd::Done);
    EXPECT_EQ(jobEnd(false, 0, true), JobEnd::Done); // finished before the stop took hold
    EXPECT_EQ(jobEnd(true, 3343, false), JobEnd::Failed);
    EXPECT_EQ(jobEnd(true, 3343, true), JobEnd::Cancelled);
    EXPECT_EQ(jobEnd(true, kCancelledErrorNumber, false), JobEnd::Cancelled);

    const QString loading = QStringLiteral("Quarix - LOADING FIELDS...");
    EXPECT_EQ(captionAfterJob(JobEnd::Done, loading, QStringLiteral("/data/shop.mdb")), loading);
    EXPECT_EQ(captionAfterJob(JobEnd::Failed, loading, QStringLiteral("/data/shop.mdb")), loading);
    EXPECT_EQ(captionAfterJob(JobEnd::Cancelled, loading, QStringLiteral("/data/shop.mdb")),
              QStringLiteral("Quarix - shop.mdb"));
    EXPECT_EQ(captionAfterJob(JobEnd::Cancelled, loading, QString()), QStringLiteral("Quarix"));
    EXPECT_EQ(jobEndNote(JobEnd::Cancelled), QStringLiteral("Cancelled."));
    EXPECT_TRUE(jobEndNote(JobEnd::Failed).isEmpty());
}

} // namespace

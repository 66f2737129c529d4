#pragma once

#include <QString>

namespace quarix::session {

// How one database job of the window ended, and what the window shows
// afterwards. A cancel is the user's own choice: it is noted once in the
// status bar, never reported as an error, and leaves nothing half-done on
// screen.
enum class JobEnd {
    Done,
    Failed,    // the engine reported an error
    Cancelled, // the user stopped it (Esc, or closing the window)
};

// The engine's number for a read that was stopped.
constexpr int kCancelledErrorNumber = 3059;

// How a database job ended, with the engine's error when it failed.
struct JobReport {
    JobEnd end = JobEnd::Done;
    int number = 0;
    QString description;
};

// A job that failed after the user asked it to stop, or with the engine's
// cancel error, was cancelled; one that finished anyway is done.
JobEnd jobEnd(bool failed, int errorNumber, bool cancelRequested);

// The caption after the job: what stood before it, except after a cancel,
// when what it described may be gone: then the open database's caption
// ("Quarix - " and the file name, or "Quarix" with none open).
QString captionAfterJob(JobEnd end, const QString& captionBefore, const QString& databasePath);

// The status bar's texts: the hint while a job runs and the note it leaves.
QString jobRunningHint();
QString jobEndNote(JobEnd end);

} // namespace quarix::session

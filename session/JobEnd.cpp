#include "session/JobEnd.h"

#include "search/StatusCaption.h"

namespace quarix::session {

JobEnd jobEnd(bool failed, int errorNumber, bool cancelRequested) {
    if (!failed)
        return JobEnd::Done;
    return cancelRequested || errorNumber == kCancelledErrorNumber ? JobEnd::Cancelled
                                                                   : JobEnd::Failed;
}

QString captionAfterJob(JobEnd end, const QString& captionBefore, const QString& databasePath) {
    if (end != JobEnd::Cancelled)
        return captionBefore;
    return databasePath.isEmpty() ? QStringLiteral("Quarix")
                                  : search::databaseCaption(databasePath);
}

QString jobRunningHint() {
    return QStringLiteral("Reading the database... press Esc to cancel.");
}

QString jobEndNote(JobEnd end) {
    return end == JobEnd::Cancelled ? QStringLiteral("Cancelled.") : QString();
}

} // namespace quarix::session

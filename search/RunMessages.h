#pragma once

#include <QString>

namespace quarix::search {

// Texts a search run shows or writes, apart from the status caption.

// The message of a failed run (engine error or conversion failure).
QString searchFailureMessage(int number, const QString& description);
// The caption of a failed run.
QString searchFailureCaption(int number, const QString& description);

// The Debug SQL message: statement, order (paged), count and time.
QString debugSqlMessage(const QString& displaySql, const QString& orderPart, long resultCount,
                        const QString& seconds);

} // namespace quarix::search

#include "search/StatusCaption.h"

#include "search/Paging.h"

#include <QFileInfo>
#include <QLocale>

namespace quarix::search {

QString statusCaption(const StatusInputs& in) {
    const QString prefix = QStringLiteral("Quarix - ") + in.table;
    const QString tail = QStringLiteral(" seconds) - ") + in.fileName;
    const QString n = QString::number(in.rowsShown);
    const QString pages = QStringLiteral(" out of ") + QString::number(in.resultCount) +
                          QStringLiteral(" on page ") + QString::number(in.page + 1) +
                          QStringLiteral(" out of ") +
                          QString::number(Paging{in.resultCount, in.pageSize}.pageCount()) +
                          QStringLiteral(" pages  in ") + in.seconds + tail;

    if (in.rowsShown != 0 && !in.paged && in.searchMode == 1)
        return prefix + QStringLiteral(" (") + n + QStringLiteral(" filtered results in ") +
               in.seconds + tail;
    if (in.rowsShown != 0 && in.searchMode == 1)
        return prefix + QStringLiteral(" (") + n + QStringLiteral(" filtered results shown") +
               pages;
    if (in.rowsShown != 0 && in.pageSize > 0 && in.paged)
        return prefix + QStringLiteral(" (") + n + QStringLiteral(" results shown") + pages;
    if (in.rowsShown != 0 && !in.paged)
        return prefix + QStringLiteral(" (") + n + QStringLiteral(" results in ") + in.seconds +
               tail;
    return prefix + QStringLiteral(" - ") + in.fileName;
}

QString statusSummary(const StatusInputs& in) {
    if (in.rowsShown == 0)
        return in.table + QStringLiteral(": no results");
    const QString kind =
        in.searchMode == 1 ? QStringLiteral(" filtered results") : QStringLiteral(" results");
    QString text = in.table + QStringLiteral(": ");
    if (in.paged && in.pageSize > 0)
        text += QString::number(in.rowsShown) + QStringLiteral(" of ") +
                QString::number(in.resultCount) + kind + QStringLiteral(", page ") +
                QString::number(in.page + 1) + QStringLiteral(" of ") +
                QString::number(Paging{in.resultCount, in.pageSize}.pageCount()) + QLatin1Char(',');
    else
        text += QString::number(in.rowsShown) + kind;
    return text + QStringLiteral(" in ") + in.seconds + QStringLiteral(" seconds");
}

QString incompleteCaption(const QString& caption) {
    return caption + QStringLiteral(" - INCOMPLETE: damaged records left out");
}

QString incompleteSummary(const QString& summary, const QStringList& warnings) {
    return summary + QStringLiteral(". Incomplete: ") + warnings.join(QLatin1Char(' '));
}

QString databaseCaption(const QString& databasePath) {
    return QStringLiteral("Quarix - ") + QFileInfo(databasePath).fileName();
}

QString secondsText(double seconds) {
    return QLocale::system().toString(seconds, 'f', 2);
}

} // namespace quarix::search

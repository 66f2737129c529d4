#include "search/RunMessages.h"

namespace quarix::search {

QString searchFailureMessage(int number, const QString& description) {
    return QStringLiteral("GET DATA: ") + QString::number(number) + QLatin1Char(' ') + description +
           QStringLiteral(
               "\n\nCheck your search criteria.\n\nSome functions can only be used on numbers.");
}

QString searchFailureCaption(int number, const QString& description) {
    return QStringLiteral("Quarix - Search Error: ") + QString::number(number) + QLatin1Char(' ') +
           description;
}

QString debugSqlMessage(const QString& displaySql, const QString& orderPart, long resultCount,
                        const QString& seconds) {
    return displaySql + orderPart + QLatin1Char('\n') + QString::number(resultCount) +
           QStringLiteral(" Records\n") + seconds +
           QStringLiteral(" Seconds\n\nThe SQL string has been copied to the clipboard.");
}

} // namespace quarix::search

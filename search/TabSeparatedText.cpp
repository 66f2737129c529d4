#include "search/TabSeparatedText.h"

#include <QAbstractItemModel>

namespace quarix::search {

namespace {
QString quotedWhereNeeded(QString cell) {
    if (!cell.contains(QLatin1Char('\t')) && !cell.contains(QLatin1Char('\n')) &&
        !cell.contains(QLatin1Char('\r')) && !cell.contains(QLatin1Char('"')))
        return cell;
    cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + cell + QLatin1Char('"');
}
} // namespace

QString tabSeparatedText(const QAbstractItemModel& model, int top, int left, int bottom,
                         int right) {
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (column > left)
                text += QLatin1Char('\t');
            text += quotedWhereNeeded(model.index(row, column).data().toString());
        }
        text += QLatin1Char('\n');
    }
    return text;
}

} // namespace quarix::search

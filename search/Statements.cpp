#include "search/Statements.h"

#include "search/Criteria.h"

namespace quarix::search {

QString bracketed(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString BuildSearchStatement(const QString& table, const QString& criterion,
                             const QString& sortClause, const QString& field) {
    const QString order = sortClause.isEmpty() ? DefaultSortClause(field) : sortClause;
    return QStringLiteral("select * from ") + bracketed(table) + QStringLiteral(" WHERE ") +
           criterion + QStringLiteral(" ORDER BY ") + order;
}

QString DisplaySql(const QString& table, const QString& criterion) {
    return QStringLiteral("Select * from ") + table + QStringLiteral(" where ") + criterion;
}

QString ValueListStatement(const QString& table, const QString& field) {
    const QString column = bracketed(field);
    return QStringLiteral("select DISTINCT ") + column + QStringLiteral(" from ") +
           bracketed(table) + QStringLiteral(" ORDER BY ") + column + QStringLiteral(" ASC");
}

QString SourceStatement(const QString& table, const QString& criterion, const QString& order) {
    QString statement = QStringLiteral("SELECT * FROM ") + bracketed(table);
    if (!criterion.isEmpty())
        statement += QStringLiteral(" WHERE ") + criterion;
    if (!order.isEmpty())
        statement += QStringLiteral(" ORDER BY ") + order;
    return statement;
}

} // namespace quarix::search

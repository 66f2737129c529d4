#pragma once

#include <QString>

namespace quarix::search {

// Every statement Quarix runs or shows is built here, by both programs.

// The statement of a paged search, ordered by the chosen sort or the field.
QString BuildSearchStatement(const QString& table, const QString& criterion,
                             const QString& sortClause, const QString& field);

// The statement as the clipboard and the Debug SQL message show it.
QString DisplaySql(const QString& table, const QString& criterion);

// The distinct values of a field in ascending order: the value pick list.
QString ValueListStatement(const QString& table, const QString& field);

// Every row of a table or query, with a criterion and an order when given.
QString SourceStatement(const QString& table, const QString& criterion, const QString& order);

// A table, query or field name as a statement writes it.
QString bracketed(const QString& name);

} // namespace quarix::search

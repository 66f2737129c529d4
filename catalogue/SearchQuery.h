#pragma once

#include "search/ResultGridModel.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace quarix::catalogue {

// The engine side of a search run. Engine failures throw engine::EngineError.

class Database;
class Recordset;

// The rows of an open record set for the grid, read as the view asks; owns
// the database and the record set and closes both when destroyed.
std::unique_ptr<search::RowSource> recordsetRows(Database db, Recordset rs);

// One page of a paged search: the statement's rows from firstIndex on, at
// most pageSize of them (all when pageSize is 0).
struct PageOfResults {
    long resultCount = 0;
    QStringList headers; // empty when the page holds no record
    std::vector<QStringList> rows;
};
PageOfResults readResultPage(const QString& path, const QString& statement, long firstIndex,
                             int pageSize);

// Every row of a table or query that meets the criterion, read lazily by
// the grid; the database stays open while the rows are on screen.
struct FilteredResults {
    long resultCount = 0;
    std::unique_ptr<search::RowSource> rows;
};
FilteredResults openFilteredResults(const QString& path, const QString& table,
                                    const QString& criterion);

// Every row of a statement, read lazily like a filtered result: how a
// result too big to sort in memory is shown in a new order.
FilteredResults openStatementResults(const QString& path, const QString& statement);

} // namespace quarix::catalogue

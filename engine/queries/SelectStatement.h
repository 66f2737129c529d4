#pragma once

#include "engine/queries/QueryRows.h"

#include <string>
#include <vector>

namespace quarix::engine {

// The parts of a SELECT-shaped statement that differ between query kinds.
struct SelectParts {
    std::string verb = "SELECT";              // or DELETE
    std::vector<const MSysQueryRow*> columns; // output columns, in order
    std::vector<const MSysQueryRow*> groups;  // GROUP BY expressions, in order
    std::string into;                         // make-table target, as written after INTO
};

// "SELECT [DISTINCT|DISTINCTROW] [TOP n [PERCENT]] columns [INTO t] FROM ...
// [WHERE] [GROUP BY] [HAVING] [ORDER BY]" from the query's rows, without
// the final semicolon. Throws BadQueryRows.
std::string selectStatement(const QueryRows& rows, const SelectParts& parts);

// "DISTINCT ", "DISTINCTROW ", "TOP n [PERCENT] " or a combination, from
// the select-flags row; "" when there is none.
std::string selectPredicate(const QueryRows& rows);

// One output column: its expression and alias ("Sum(x) AS Total").
std::string columnText(const MSysQueryRow& column);

// " IN 'path' [type]" for a query on the tables of another database, else "".
std::string remoteDatabase(const std::optional<std::string>& path,
                           const std::optional<std::string>& type);

// The ORDER BY clause (" ORDER BY a, b DESC"), or "" when there is none.
std::string orderByClause(const QueryRows& rows);

} // namespace quarix::engine

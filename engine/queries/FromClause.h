#pragma once

#include "engine/queries/QueryRows.h"

#include <string>

namespace quarix::engine {

// The table list of a query as Access writes it after FROM: the tables in
// row order with their aliases, those that are joined combined into
// (nested) join expressions, repeated joins between the same two tables
// AND-ed. Empty when the query names no table. Throws BadQueryRows for a
// join that names an unknown table or an unknown join kind.
std::string fromClause(const QueryRows& rows);

} // namespace quarix::engine

#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quarix::engine {

// The first limit distinct texts of a column of a cache table in Access's
// text order, without Null and empty texts: one pass over the column that
// keeps only the smallest texts seen so far. Texts equal but for case are
// one value, shown as the first of them in the table's order.
std::vector<std::string> firstDistinctTexts(sqlite3* db, const std::string& table,
                                            const std::string& column, std::size_t limit);

} // namespace quarix::engine

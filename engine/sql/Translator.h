#pragma once

#include "engine/sql/Schema.h"

#include <string>
#include <vector>

struct sqlite3;

namespace quarix::engine::sql {

struct ResultColumn {
    std::string name;  // the Access name of the result column
    ColumnType type = ColumnType::Unknown; // best static type, for display
};

struct TranslatedQuery {
    std::string sql; // SQLite SELECT, runnable on a connection prepared by registerAccessFunctions
    std::vector<ResultColumn> columns;
};

// Translates one Access SQL SELECT (or UNION of SELECTs) into SQLite.
// Throws EngineError with Access's numbers: 3075 syntax error in an
// expression, 3085 undefined function, 3078 unknown table or query,
// 3061 too few parameters (unknown names that would be parameters),
// 3464 type mismatch where it can be known statically.
TranslatedQuery translateSelect(const std::string& accessSql, SchemaLookup& schema);

// The record set Filter of a source: "SELECT * FROM source WHERE criterion".
TranslatedQuery translateFilter(const std::string& sourceName, const std::string& criterion,
                                SchemaLookup& schema);

// Registers the Access functions, the case-insensitive text collation and
// Like on a connection. Call once per connection before running translations.
void registerAccessFunctions(sqlite3* db);

} // namespace quarix::engine::sql

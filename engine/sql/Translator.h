#pragma once

#include "engine/EngineError.h"
#include "engine/sql/Parameters.h"
#include "engine/sql/Schema.h"

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace quarix::engine::sql {

struct ResultColumn {
    std::string name;                      // the Access name of the result column
    ColumnType type = ColumnType::Unknown; // best static type, for display
    std::string sqlName; // the column's name in the SQLite result, quoted ("r0", "r1", ...)
};

struct TranslatedQuery {
    std::string sql; // SQLite SELECT, runnable on a connection prepared by registerAccessFunctions
    std::vector<ResultColumn> columns; // values arrive in the storage form of each column's type
    // For a plain select over one table (no grouping, DISTINCT or TOP): the
    // rowids of the result rows in result order (one column, qx_id), and the
    // statement that reads those rows back by position, with "{keys}" for
    // the table holding the rowids and ?1, ?2 for the first and last
    // position. A snapshot then keeps keys rather than a copy of the rows.
    // countSql counts the same rows. countedKeysSql, when the rows are
    // sorted, is keysSql with its condition c written qx_counted(c): a
    // function the caller registers, called with c for each row of the table.
    std::string keysSql;
    std::string rowsByKeySql;
    std::string countSql;
    std::string countedKeysSql;
    // The values of the statement's parameters, bound to ?N from
    // ParameterSet::kFirstParameterSlot on (see bindParameters).
    std::vector<BoundValue> parameters;
};

// Translates one Access SQL SELECT (or UNION of SELECTs, or TRANSFORM
// crosstab) into SQLite. A crosstab's columns are the headings in its data:
// translating it runs a query through schema.textColumn.
// Throws EngineError with Access's numbers: 3075 syntax error in an
// expression, 3085 undefined function, 3078 unknown table or query,
// 3061 too few parameters (unknown names that would be parameters, and
// PARAMETERS declarations), 3464 type mismatch where it can be known
// statically, 3096 aggregate in WHERE, 3122 column outside GROUP BY,
// 3079 ambiguous field, 3129/3131/3132/3135/3138/3141/3142/3143 statement
// syntax, 3306/3307 subquery and union column counts, 3123 * in a
// crosstab, 3205 too many crosstab headings, 3190 too many fields,
// 3360 too complex, 6 a number beyond a Double.
TranslatedQuery translateSelect(const std::string& accessSql, SchemaLookup& schema);

// The same with the run's parameters: the statement's declarations and the
// names that are no fields take their slots in parameters, and their
// answers are the result's values. Throws 3421 for an answer that does not
// convert, but not 3061: the caller asks parameters.requireAnswers().
TranslatedQuery translateSelect(const std::string& accessSql, SchemaLookup& schema,
                                ParameterSet& parameters);

// The record set Filter of a source: "SELECT * FROM source WHERE criterion".
TranslatedQuery translateFilter(const std::string& sourceName, const std::string& criterion,
                                SchemaLookup& schema);
TranslatedQuery translateFilter(const std::string& sourceName, const std::string& criterion,
                                SchemaLookup& schema, ParameterSet& parameters);

// Registers the Access functions, the case-insensitive text collation and
// Like on a connection. Call once per connection before running translations.
void registerAccessFunctions(sqlite3* db);

// Errors that only show while a statement runs leave the Access functions
// as SQLite errors whose message is this prefix, the Access error number, a
// colon and Access's description: "QX3464:Data type mismatch in criteria
// expression." (a text that is no number or date), "QX11:Division by zero",
// "QX6:Overflow" (CInt, CLng), "QX5:Invalid procedure call or argument."
// (Sqr(-1), Left(x, -1), dates outside 100..9999), "QX94:Invalid use of
// Null" (Left$(Null, 1)).
inline constexpr const char* kRuntimeErrorPrefix = "QX";

// The EngineError such a message stands for, or 3360 "Query is too complex."
// (3190 "Too many fields defined." for too many columns) for SQLite's
// refusal of a statement too deep or too big; nullopt for any other message.
std::optional<EngineError> engineErrorFromMessage(const std::string& message);

} // namespace quarix::engine::sql

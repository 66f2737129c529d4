#pragma once

#include "engine/ColumnType.h"
#include "engine/EngineError.h"

#include <optional>
#include <string>
#include <vector>

namespace quarix::engine::sql {

// A column as the translator sees it: its Access name and type, and the
// SQLite expression that reads its stored value (see StoredValue.h).
struct SchemaColumn {
    std::string name; // Access name
    ColumnType type = ColumnType::Unknown;
    std::string sqlName; // SQLite column name inside the source, already quoted
};

// A table or saved query that a statement can name in FROM.
struct SchemaSource {
    std::string name;    // Access name
    std::string sqlFrom; // SQLite text to put in FROM: a quoted table name or "(SELECT ...)"
    std::string table;   // the cache table read by name (t<n>); empty for a query
    std::vector<SchemaColumn> columns;
};

// Finds sources by Access name (case-insensitive, as Access does).
// Returns nullptr for an unknown name; the translator then raises 3078.
// May throw EngineError itself (a saved query that cannot run).
class SchemaLookup {
public:
    virtual ~SchemaLookup() = default;
    virtual const SchemaSource* find(const std::string& name) = 0;
    // Runs an SQLite SELECT on the sources found and gives the first column
    // of its rows as text (nullopt for Null): a crosstab's columns are the
    // headings its data holds. Throws EngineError when the statement fails;
    // a lookup without data to run it on refuses it.
    virtual std::vector<std::optional<std::string>> textColumn(const std::string&) {
        throw EngineError(3219, "Invalid operation.");
    }
    // A condition on rowid (the SQL naming a row of the table) that every
    // row whose column is Like the pattern meets, and that an index answers
    // for fewer rows than the table has; empty when there is none.
    virtual std::string narrowLike(const std::string& /*table*/, const std::string& /*column*/,
                                   const std::string& /*rowid*/, const std::string& /*pattern*/) {
        return {};
    }
    // The same for a comparison: rows whose column's stored value lies
    // between lower and upper (a missing bound is open).
    virtual std::string narrowRange(const std::string& /*table*/, const std::string& /*column*/,
                                    const std::string& /*rowid*/, std::optional<double> /*lower*/,
                                    std::optional<double> /*upper*/) {
        return {};
    }
};

} // namespace quarix::engine::sql

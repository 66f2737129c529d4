#pragma once

#include "engine/sql/Parameters.h"
#include "engine/sql/Schema.h"
#include "engine/sql/TypedSql.h"

#include <string>
#include <vector>

namespace quarix::engine::sql {

// A source of rows in FROM as the translator sees it.
struct ScopeSource {
    std::string name;     // Access table or query name (for a derived table, its alias)
    std::string alias;    // alias as written, or empty
    std::string sqlAlias; // t0, t1, ... in the SQLite text
    std::string table;    // the cache table it reads (see SchemaSource::table)
    std::vector<SchemaColumn> columns;

    const std::string& visibleName() const { return alias.empty() ? name : alias; }
};

// The sources a clause can see; subqueries see their enclosing scopes too.
struct Scope {
    std::vector<ScopeSource> sources;
    const Scope* parent = nullptr;
};

// A column reference found while translating.
struct ColumnUse {
    std::string sql;        // e.g. t0."c3"
    std::string accessText; // as written
};

// State shared by every part of one statement's translation.
struct TranslationContext {
    SchemaLookup& schema;
    std::string source; // the statement text, to quote expressions in errors
    int nextSourceId = 0;
    ParameterSet& parameters; // shared with the saved queries the statement reads
    std::string textOf(std::size_t begin, std::size_t end) const {
        return source.substr(begin, end - begin);
    }
};

// The typed SQL of a column read in its storage form.
TypedSql columnSql(const ScopeSource& source, const SchemaColumn& column);

} // namespace quarix::engine::sql

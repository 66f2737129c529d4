#include "engine/cache/RangeNarrowing.h"

#include "engine/sql/TypedSql.h"

namespace quarix::engine {

IndexNarrowing narrowRange(sqlite3* db, const std::string& table, const std::string& column,
                           std::uint64_t rows, const std::string& rowid, const StoredRange& range) {
    IndexNarrowing narrowing;
    if (rows < kLeastRowsIndexed || (!range.lower && !range.upper))
        return narrowing;
    const ColumnIndex ordered{table, column, IndexKind::Ordered};
    if (!indexExists(db, ordered)) {
        narrowing.missing = ordered;
        return narrowing;
    }
    // Texts and blobs sort after every number: "k >= ''" keeps them.
    std::string within = range.lower ? "k >= " + sql::numberLiteral(*range.lower) : "k IS NOT NULL";
    if (range.upper)
        within = "(" + within + " AND k <= " + sql::numberLiteral(*range.upper) + ") OR k >= ''";
    narrowing.condition =
        keepingCandidates(db, "SELECT id FROM " + ordered.name() + " WHERE " + within, rows, rowid);
    return narrowing;
}

} // namespace quarix::engine

#pragma once

#include <sqlite3.h>

#include <string>

namespace quarix::engine {

// An index the cache keeps beside one of its tables, for one column: for
// text, a B-tree over the case-folded value (Equals and Begins) or an FTS5
// trigram index over it (Contains and Like patterns with a literal run of
// three or more characters); for numbers and dates, a B-tree over the stored
// value (comparisons). Its rows name the table's rows by rowid; Null values
// have none. Indexes only narrow the rows a statement looks at: the
// statement's own criterion still decides every row.
enum class IndexKind { FoldedKey, Trigram, Ordered };

struct ColumnIndex {
    std::string table;  // the cache table, t<n>
    std::string column; // c<n>
    IndexKind kind = IndexKind::FoldedKey;

    // The SQLite table that holds the index: x<n>_<column>_key, _tri or _num.
    std::string name() const;
    bool operator==(const ColumnIndex&) const = default;
};

// Registers qx_fold(text): the text with every character case-folded as
// Like compares it. Indexes are built and searched through it.
void registerFoldFunction(sqlite3* db);

bool indexExists(sqlite3* db, const ColumnIndex& index);

// Builds the index in one savepoint; an interrupted or failed build leaves
// nothing behind and throws EngineError.
void buildIndex(sqlite3* db, const ColumnIndex& index);

// Drops the indexes of one cache table, or of every table.
void dropIndexesOf(sqlite3* db, const std::string& table);
void dropAllIndexes(sqlite3* db);

} // namespace quarix::engine

#include "engine/cache/ColumnIndex.h"

#include "engine/cache/SqliteHelpers.h"
#include "engine/sql/AccessText.h"

#include <vector>

namespace quarix::engine {

namespace {

void foldFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(context);
    const auto* p = sqlite3_value_text(argv[0]);
    const auto* end = p + sqlite3_value_bytes(argv[0]);
    std::string folded;
    folded.reserve(static_cast<std::size_t>(end - p));
    while (p < end)
        sql::appendUtf8(folded, sql::foldCase(sql::nextCodePoint(p, end)));
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

std::vector<std::string> tablesMatching(sqlite3* db, const std::string& glob, bool virtualOnes) {
    std::vector<std::string> names;
    Statement q(db, std::string("SELECT name FROM sqlite_schema WHERE type = 'table' AND name "
                                "GLOB ? AND name NOT GLOB '*_tri_*' AND sql ") +
                        (virtualOnes ? "" : "NOT ") + "LIKE 'CREATE VIRTUAL%'");
    sqlite3_bind_text(q.get(), 1, glob.c_str(), -1, SQLITE_TRANSIENT);
    while (q.step())
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0)));
    return names;
}

// FTS tables first: dropping one takes its shadow tables with it.
void dropMatching(sqlite3* db, const std::string& glob) {
    for (const bool virtualOnes : {true, false})
        for (const auto& name : tablesMatching(db, glob, virtualOnes))
            execSql(db, "DROP TABLE IF EXISTS " + quoteIdentifier(name));
}

} // namespace

std::string ColumnIndex::name() const {
    const char* suffix = kind == IndexKind::Trigram   ? "_tri"
                         : kind == IndexKind::Ordered ? "_num"
                                                      : "_key";
    return "x" + table.substr(1) + "_" + column + suffix;
}

void registerFoldFunction(sqlite3* db) {
    sqlite3_create_function(db, "qx_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            &foldFunction, nullptr, nullptr);
}

bool indexExists(sqlite3* db, const ColumnIndex& index) {
    Statement q(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?");
    const std::string name = index.name();
    sqlite3_bind_text(q.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
    return q.step();
}

void buildIndex(sqlite3* db, const ColumnIndex& index) {
    const std::string name = quoteIdentifier(index.name());
    const std::string source =
        " FROM " + quoteIdentifier(index.table) + " WHERE " + index.column + " IS NOT NULL";
    execSql(db, "SAVEPOINT qx_index");
    try {
        if (index.kind != IndexKind::Trigram) {
            const bool text = index.kind == IndexKind::FoldedKey;
            execSql(db, "CREATE TABLE " + name + (text ? " (k TEXT" : " (k NUMERIC") +
                            ", id INTEGER, PRIMARY KEY (k, id)) WITHOUT ROWID");
            execSql(db, "INSERT INTO " + name + " SELECT " +
                            (text ? "qx_fold(" + index.column + ")" : index.column) + ", rowid" +
                            source + " ORDER BY 1, 2");
        } else {
            // Contentless and without positions: it names candidate rows,
            // which is all a narrowing needs, at the least size.
            execSql(db, "CREATE VIRTUAL TABLE " + name +
                            " USING fts5(v, content='', detail=none, columnsize=0, "
                            "tokenize='trigram case_sensitive 1')");
            execSql(db, "INSERT INTO " + name + " (rowid, v) SELECT rowid, qx_fold(" +
                            index.column + ")" + source);
            execSql(db, "INSERT INTO " + name + " (" + name + ") VALUES ('optimize')");
        }
        execSql(db, "RELEASE qx_index");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO qx_index; RELEASE qx_index", nullptr, nullptr, nullptr);
        throw;
    }
}

void dropIndexesOf(sqlite3* db, const std::string& table) {
    dropMatching(db, "x" + table.substr(1) + "_c[0-9]*");
}

void dropAllIndexes(sqlite3* db) {
    dropMatching(db, "x[0-9]*_c[0-9]*");
}

} // namespace quarix::engine

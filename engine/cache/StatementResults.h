#pragma once

#include "engine/sql/Translator.h"

#include <sqlite3.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace quarix::engine {

// A temporary table holding one statement's result in result order (rowid
// 1 is the first row): the rowids of the matching rows of a one-table
// statement, or a copy of the rows. Dropped when its last user goes.
class ResultTable {
public:
    ResultTable(sqlite3* db, std::recursive_mutex& mutex, std::string name, std::int64_t rows)
        : db_(db), mutex_(mutex), name_(std::move(name)), rows_(rows) {}
    ~ResultTable();
    ResultTable(const ResultTable&) = delete;
    ResultTable& operator=(const ResultTable&) = delete;
    const std::string& name() const { return name_; }
    std::int64_t rows() const { return rows_; }

private:
    sqlite3* db_;
    std::recursive_mutex& mutex_;
    std::string name_;
    std::int64_t rows_;
};

// The keys of a one-table statement's result as far as they are known:
// the first table->rows() of `rows` keys.
struct ResultKeys {
    std::int64_t rows = 0;
    std::shared_ptr<ResultTable> table;
    bool complete() const { return table->rows() == rows; }
};

// The results of the last statements run on one connection, served again
// while the cached tables are unchanged: a page change or an export repeats
// the search, and gets the same rows in the same order without running it
// again. Results of statements that call volatile functions are never kept.
// Call everything with the connection's mutex held.
class StatementResults {
public:
    // How many keys a first look at a result reads: one page and some more.
    static constexpr std::int64_t firstKeys = 4096;

    StatementResults(sqlite3* db, std::recursive_mutex& mutex);

    // The keys of a statement that has keysSql: all of them, or at least the
    // first firstKeys of them (found by a sort that keeps only those) and
    // the count of all.
    ResultKeys keys(const sql::TranslatedQuery& query, bool all);

    // A copy of the rows of a statement.
    std::shared_ptr<ResultTable> rows(const sql::TranslatedQuery& query);

    // Forgets every result: the cached tables have changed.
    void clear() { recent_.clear(); }

private:
    struct Known {
        std::string sql; // with the parameters' values (parameterKey)
        ResultKeys keys;
    };
    Known* find(const std::string& sql);
    void remember(const std::string& sql, const ResultKeys& keys);
    // Into a new temporary table; sorted tells whether the plan sorted.
    std::shared_ptr<ResultTable> materialise(const std::string& select,
                                             const std::vector<sql::BoundValue>& parameters,
                                             bool* sorted = nullptr);
    std::int64_t count(const std::string& select,
                       const std::vector<sql::BoundValue>& parameters = {});

    sqlite3* db_;
    std::recursive_mutex& mutex_;
    std::uint64_t tempCounter_ = 0;
    std::int64_t counted_ = 0; // rows qx_counted found holding
    std::deque<Known> recent_; // newest last
};

} // namespace quarix::engine

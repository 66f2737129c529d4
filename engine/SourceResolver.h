#pragma once

#include "engine/DatabaseState.h"
#include "engine/sql/Parameters.h"
#include "engine/sql/Schema.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine {

// Thrown by a resolver without a cache when what it translates must read
// data (a crosstab's column headings).
struct NeedsRows {};

// Resolves the names a statement uses: tables are read into the cache on
// first use, saved queries are translated and used as subqueries.
class Resolver : public sql::SchemaLookup {
public:
    // The saved queries it translates take their parameters' slots in parameters.
    Resolver(DatabaseState& state, CacheFile& cache, const ReadOptions& options,
             sql::ParameterSet& parameters)
        : state_(state), cache_(&cache), options_(options), parameters_(parameters) {}
    // Names and types only: tables are not read, so nothing it translates can run.
    Resolver(DatabaseState& state, const ReadOptions& options, sql::ParameterSet& parameters)
        : state_(state), cache_(nullptr), options_(options), parameters_(parameters) {}

    // What the answer may lack: damaged tables read with salvage, and a
    // cache that could not be kept on disk.
    std::vector<std::string> warnings() const;

    std::vector<std::optional<std::string>> textColumn(const std::string& select) override;
    const sql::SchemaSource* find(const std::string& name) override;
    std::string narrowLike(const std::string& table, const std::string& column,
                           const std::string& rowid, const std::string& pattern) override;
    std::string narrowRange(const std::string& table, const std::string& column,
                            const std::string& rowid, std::optional<double> lower,
                            std::optional<double> upper) override;

private:
    sql::SchemaSource tableSource(const TableInfo& listed);
    sql::SchemaSource querySource(const std::string& name);

    DatabaseState& state_;
    CacheFile* cache_;
    const ReadOptions& options_;
    sql::ParameterSet& parameters_;
    std::deque<sql::SchemaSource> sources_;
    std::vector<std::string> resolving_;
    std::vector<std::string> warnings_;
    std::map<std::string, std::uint64_t> tableRows_; // of the cache tables found
};

// Lets a cancel request stop a long statement inside SQLite.
class CancelGuard {
public:
    CancelGuard(sqlite3* db, const std::atomic<bool>* cancel) : db_(db) {
        if (cancel)
            sqlite3_progress_handler(db_, 10000, &CancelGuard::check,
                                     const_cast<std::atomic<bool>*>(cancel));
    }
    ~CancelGuard() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
    CancelGuard(const CancelGuard&) = delete;
    CancelGuard& operator=(const CancelGuard&) = delete;

private:
    static int check(void* flag) { return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0; }
    sqlite3* db_;
};

// Runs work over a resolver that reads no table, and again over one that
// reads into the cache when the work needs rows (a crosstab's headings).
template <typename Work>
auto withResolver(DatabaseState& state, const ReadOptions& options, Work work)
    -> decltype(work(std::declval<Resolver&>(), std::declval<sql::ParameterSet&>())) {
    try {
        sql::ParameterSet parameters;
        Resolver resolver(state, options, parameters);
        return work(resolver, parameters);
    } catch (const NeedsRows&) {
    }
    return recovering(state, [&] {
        const std::shared_ptr<CacheFile> cache = state.currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        sql::ParameterSet parameters;
        Resolver resolver(state, *cache, options, parameters);
        return work(resolver, parameters);
    });
}

} // namespace quarix::engine

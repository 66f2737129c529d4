#pragma once

#include "engine/StoredValue.h"
#include "engine/sql/Translator.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine {

class CacheFile;
class ResultTable;

// A value read back from the cache, owning its bytes.
struct OwnedValue {
    StoredValue::Kind kind = StoredValue::Kind::Null;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string bytes;

    StoredValue view() const { return {kind, integer, real, bytes}; }
};

// The rows of one executed statement, kept as a snapshot in a temporary
// table of the cache (the rowids of the matching rows when the statement
// reads one table, else a copy of the rows) and read back a chunk at a
// time, so that a result of millions of rows does not live in memory. Of a
// one-table result only the first keys are sorted out at first; the rest
// are when a row past them is asked for.
class ResultSet {
public:
    // Runs a statement and keeps its rows. warnings say what the answer may
    // lack: tables that were damaged, a cache that could not be kept.
    ResultSet(std::shared_ptr<CacheFile> cache, const sql::TranslatedQuery& query,
              std::vector<std::string> warnings = {});
    // The rows of a cached table as they are (rowids 1..rows).
    ResultSet(std::shared_ptr<CacheFile> cache, std::string table,
              std::vector<sql::ResultColumn> columns, std::int64_t rows,
              std::vector<std::string> warnings = {});
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    std::int64_t rowCount() const { return rows_; }
    const std::vector<sql::ResultColumn>& columns() const { return columns_; }
    // Empty for a whole answer; otherwise each says what it may lack.
    const std::vector<std::string>& warnings() const { return warnings_; }

    // The values of one row, 0-based; the reference holds until the next call.
    const std::vector<OwnedValue>& row(std::int64_t index);

    // The text a user sees for a value of a column of this result, wherever
    // it is shown: the grid, the viewer, the value list and quarix-cli.
    std::string text(std::size_t column, const OwnedValue& value) const;

    // The position (from 1, in the file's order) of a row, 0-based, in the
    // one table the result reads; nothing when the result is a copy of rows
    // (a query over several sources, grouped, distinct or limited).
    std::optional<std::int64_t> sourceRow(std::int64_t index);

private:
    void fetchChunk(std::int64_t first);
    void holdKeys(std::shared_ptr<ResultTable> keys);

    std::shared_ptr<CacheFile> cache_;
    std::string table_;
    std::shared_ptr<ResultTable> held_; // the snapshot, unless the rows are a cached table's
    sql::TranslatedQuery query_;        // a one-table statement, whose keys may be read further
    std::string fetchSql_;              // reads rows ?1..?2 (1-based positions)
    std::vector<sql::ResultColumn> columns_;
    std::vector<std::string> warnings_;
    std::int64_t rows_ = 0;
    bool wholeTable_ = false; // the rows of a cached table as they are
    std::int64_t chunkFirst_ = -1;
    std::vector<std::vector<OwnedValue>> chunk_;
};

} // namespace quarix::engine

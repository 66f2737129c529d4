#pragma once

#include "engine/reader/AccessFileReader.h"

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

namespace quarix::engine {

class Statement;

// Receives the rows of an Access table from the reader and inserts them
// into a fresh SQLite table created when the reader announces the columns.
// Rows are inserted many to a statement, bound where the reader left them.
class TableInserter : public RowSink {
public:
    TableInserter(sqlite3* db, std::string sqlName, const TableInfo& expected);
    ~TableInserter() override;

    void begin(const TableInfo& table) override;
    void row(std::span<const StoredValue> values) override;
    void endBatch() override;

    std::uint64_t rows() const { return rows_; }

private:
    void bindRow(sqlite3_stmt* stmt, std::size_t row, std::size_t firstParameter);
    void step(Statement& insert);

    sqlite3* db_;
    std::string sqlName_;
    const TableInfo& expected_;
    std::unique_ptr<Statement> insertOne_;
    std::unique_ptr<Statement> insertMany_; // rowsPerInsert_ rows at once
    std::size_t columns_ = 0;
    std::size_t rowsPerInsert_ = 1;
    std::vector<StoredValue> pending_; // the values of rows not inserted yet
    std::uint64_t rows_ = 0;
};

} // namespace quarix::engine

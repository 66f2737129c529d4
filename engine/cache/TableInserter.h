#pragma once

#include "engine/reader/AccessFileReader.h"

#include <sqlite3.h>

#include <memory>
#include <string>

namespace quarix::engine {

class Statement;

// Receives the rows of an Access table from the reader and inserts them
// into a fresh SQLite table created when the reader announces the columns.
class TableInserter : public RowSink {
public:
    TableInserter(sqlite3* db, std::string sqlName, const TableInfo& expected);
    ~TableInserter() override;

    void begin(const TableInfo& table) override;
    void row(std::span<const StoredValue> values) override;

    std::uint64_t rows() const { return rows_; }

private:
    sqlite3* db_;
    std::string sqlName_;
    const TableInfo& expected_;
    std::unique_ptr<Statement> insert_;
    std::size_t columns_ = 0;
    std::uint64_t rows_ = 0;
};

// The SQLite column affinity that holds a type's storage form.
const char* affinityOf(ColumnType type);

} // namespace quarix::engine

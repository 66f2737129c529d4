#include "engine/cache/TableInserter.h"

#include "engine/EngineError.h"
#include "engine/cache/SqliteHelpers.h"

#include <algorithm>

namespace quarix::engine {

TableInserter::TableInserter(sqlite3* db, std::string sqlName, const TableInfo& expected)
    : db_(db), sqlName_(std::move(sqlName)), expected_(expected) {}

TableInserter::~TableInserter() = default;

void TableInserter::begin(const TableInfo& table) {
    // The file may have changed since its catalogue was read; the columns
    // the cache promises must be the columns that arrive.
    bool same = table.columns.size() == expected_.columns.size();
    for (std::size_t i = 0; same && i < table.columns.size(); ++i)
        same = table.columns[i].name == expected_.columns[i].name &&
               table.columns[i].type == expected_.columns[i].type;
    if (!same)
        throw EngineError(3343, "The table '" + expected_.name +
                                    "' changed while it was being read. Open the database again.");

    columns_ = table.columns.size();
    std::string create = "CREATE TABLE " + sqlName_ + " (";
    std::string values = "(";
    for (std::size_t i = 0; i < columns_; ++i) {
        const char* sep = i ? ", " : "";
        create += sep + std::string("c") + std::to_string(i) + " " +
                  sqliteAffinity(table.columns[i].type);
        values += sep + std::string("?");
    }
    if (columns_ == 0) {
        create += "c0";
        values += "NULL";
    }
    values += ")";
    execSql(db_, create + ")");
    const std::string insert = "INSERT INTO " + sqlName_ + " VALUES ";
    insertOne_ = std::make_unique<Statement>(db_, insert + values);
    // One statement per row costs more in starting and ending it than in
    // inserting; as many rows as SQLite takes parameters for, up to a limit.
    constexpr std::size_t mostRowsPerInsert = 64;
    const auto parameters =
        static_cast<std::size_t>(sqlite3_limit(db_, SQLITE_LIMIT_VARIABLE_NUMBER, -1));
    rowsPerInsert_ =
        columns_ == 0 ? 1 : std::clamp<std::size_t>(parameters / columns_, 1, mostRowsPerInsert);
    if (rowsPerInsert_ > 1) {
        std::string many = insert + values;
        for (std::size_t r = 1; r < rowsPerInsert_; ++r)
            many += ", " + values;
        insertMany_ = std::make_unique<Statement>(db_, many);
    }
    pending_.reserve(rowsPerInsert_ * columns_);
}

void TableInserter::row(std::span<const StoredValue> values) {
    const std::size_t n = std::min(values.size(), columns_);
    pending_.insert(pending_.end(), values.begin(),
                    values.begin() + static_cast<std::ptrdiff_t>(n));
    pending_.resize(pending_.size() + columns_ - n, StoredValue::null());
    if (pending_.size() < rowsPerInsert_ * columns_ && columns_ > 0)
        return;
    Statement& insert = rowsPerInsert_ > 1 ? *insertMany_ : *insertOne_;
    for (std::size_t r = 0; r < rowsPerInsert_; ++r)
        bindRow(insert.get(), r, r * columns_ + 1);
    step(insert);
    rows_ += rowsPerInsert_;
    pending_.clear();
}

void TableInserter::endBatch() {
    // The views of the pending rows end with the batch: insert them now.
    const std::size_t rows = columns_ == 0 ? 0 : pending_.size() / columns_;
    for (std::size_t r = 0; r < rows; ++r) {
        bindRow(insertOne_->get(), r, 1);
        step(*insertOne_);
    }
    rows_ += rows;
    pending_.clear();
}

void TableInserter::bindRow(sqlite3_stmt* stmt, std::size_t row, std::size_t firstParameter) {
    for (std::size_t i = 0; i < columns_; ++i) {
        const StoredValue& v = pending_[row * columns_ + i];
        const int index = static_cast<int>(firstParameter + i);
        switch (v.kind) {
        case StoredValue::Kind::Null:
            sqlite3_bind_null(stmt, index);
            break;
        case StoredValue::Kind::Integer:
            sqlite3_bind_int64(stmt, index, v.integer);
            break;
        case StoredValue::Kind::Real:
            sqlite3_bind_double(stmt, index, v.real);
            break;
        case StoredValue::Kind::Text:
            sqlite3_bind_text(stmt, index, v.bytes.data(), static_cast<int>(v.bytes.size()),
                              SQLITE_STATIC);
            break;
        case StoredValue::Kind::Blob:
            sqlite3_bind_blob(stmt, index, v.bytes.data(), static_cast<int>(v.bytes.size()),
                              SQLITE_STATIC);
            break;
        }
    }
}

void TableInserter::step(Statement& insert) {
    if (sqlite3_step(insert.get()) != SQLITE_DONE)
        throwSqliteError(db_, "cache insert");
    sqlite3_reset(insert.get());
}

} // namespace quarix::engine

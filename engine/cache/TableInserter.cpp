#include "engine/cache/TableInserter.h"

#include "engine/EngineError.h"
#include "engine/cache/SqliteHelpers.h"

namespace quarix::engine {

const char* affinityOf(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Currency:
    case ColumnType::BigInt:
        return "INTEGER";
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
        return "REAL";
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Guid:
    case ColumnType::Decimal:
    case ColumnType::Complex:
    case ColumnType::DateTimeExtended:
        return "TEXT";
    case ColumnType::Binary:
    case ColumnType::OLE:
        return "BLOB";
    case ColumnType::Unknown:
        break;
    }
    return "";
}

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

    std::string create = "CREATE TABLE " + sqlName_ + " (";
    std::string insert = "INSERT INTO " + sqlName_ + " VALUES (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const char* sep = i ? ", " : "";
        create += sep + std::string("c") + std::to_string(i) + " " + affinityOf(table.columns[i].type);
        insert += sep + std::string("?");
    }
    if (table.columns.empty()) {
        create += "c0";
        insert += "NULL";
    }
    execSql(db_, create + ")");
    insert_ = std::make_unique<Statement>(db_, insert + ")");
    columns_ = table.columns.size();
}

void TableInserter::row(std::span<const StoredValue> values) {
    sqlite3_stmt* stmt = insert_->get();
    const std::size_t n = std::min(values.size(), columns_);
    for (std::size_t i = 0; i < n; ++i) {
        const StoredValue& v = values[i];
        const int index = static_cast<int>(i) + 1;
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
            sqlite3_bind_text(stmt, index, v.bytes.data(), static_cast<int>(v.bytes.size()), SQLITE_STATIC);
            break;
        case StoredValue::Kind::Blob:
            sqlite3_bind_blob(stmt, index, v.bytes.data(), static_cast<int>(v.bytes.size()), SQLITE_STATIC);
            break;
        }
    }
    for (std::size_t i = n; i < columns_; ++i)
        sqlite3_bind_null(stmt, static_cast<int>(i) + 1);
    if (sqlite3_step(stmt) != SQLITE_DONE)
        throwSqliteError(db_, "cache insert");
    sqlite3_reset(stmt);
    ++rows_;
}

} // namespace quarix::engine

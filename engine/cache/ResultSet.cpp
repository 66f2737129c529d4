#include "engine/cache/ResultSet.h"

#include "engine/EngineError.h"
#include "engine/cache/CacheErrors.h"
#include "engine/cache/CacheFile.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/sql/AccessText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace quarix::engine {

namespace {

constexpr std::int64_t chunkRows = 256;

OwnedValue readValue(sqlite3_stmt* stmt, int column) {
    OwnedValue v;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        v.kind = StoredValue::Kind::Integer;
        v.integer = sqlite3_column_int64(stmt, column);
        break;
    case SQLITE_FLOAT:
        v.kind = StoredValue::Kind::Real;
        v.real = sqlite3_column_double(stmt, column);
        break;
    case SQLITE_TEXT: {
        v.kind = StoredValue::Kind::Text;
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        v.bytes.assign(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
        break;
    }
    case SQLITE_BLOB: {
        v.kind = StoredValue::Kind::Blob;
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        v.bytes.assign(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
        break;
    }
    default:
        break;
    }
    return v;
}

// A computed column may hold another storage class than its type's storage
// form (a sum of currency is a real); such values show by their own kind.
bool inStorageForm(ColumnType type, StoredValue::Kind kind) {
    using K = StoredValue::Kind;
    switch (traitsOf(type).storage) {
    case Storage::Integer:
        return kind == K::Integer;
    case Storage::Real:
        return kind == K::Real || kind == K::Integer;
    case Storage::Text:
        return kind == K::Text;
    case Storage::Blob:
        return kind == K::Blob;
    case Storage::None:
        break;
    }
    return false;
}

std::string realText(double v, int maxDecimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", maxDecimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

} // namespace

ResultSet::ResultSet(std::shared_ptr<CacheFile> cache, const sql::TranslatedQuery& query,
                     std::vector<std::string> warnings)
    : cache_(std::move(cache)), columns_(query.columns), warnings_(std::move(warnings)) {
    std::lock_guard lock(cache_->mutex());
    if (!query.keysSql.empty()) {
        query_ = query;
        const ResultKeys keys = cache_->results().keys(query, false);
        rows_ = keys.rows;
        holdKeys(keys.table);
        return;
    }
    held_ = cache_->results().rows(query);
    table_ = held_->name();
    rows_ = held_->rows();
    fetchSql_ = "SELECT * FROM " + table_ + " WHERE rowid BETWEEN ?1 AND ?2";
}

ResultSet::ResultSet(std::shared_ptr<CacheFile> cache, std::string table,
                     std::vector<sql::ResultColumn> columns, std::int64_t rows,
                     std::vector<std::string> warnings)
    : cache_(std::move(cache)), table_(std::move(table)),
      fetchSql_("SELECT * FROM " + table_ + " WHERE rowid BETWEEN ?1 AND ?2"),
      columns_(std::move(columns)), warnings_(std::move(warnings)), rows_(rows), wholeTable_(true) {
}

ResultSet::~ResultSet() = default;

void ResultSet::holdKeys(std::shared_ptr<ResultTable> keys) {
    held_ = std::move(keys);
    table_ = held_->name();
    fetchSql_ = query_.rowsByKeySql;
    fetchSql_.replace(fetchSql_.find("{keys}"), 6, table_);
}

const std::vector<OwnedValue>& ResultSet::row(std::int64_t index) {
    if (index < 0 || index >= rows_)
        throw EngineError(3021, "No current record.");
    if (chunkFirst_ < 0 || index < chunkFirst_ ||
        index >= chunkFirst_ + static_cast<std::int64_t>(chunk_.size()))
        fetchChunk(index - index % chunkRows);
    if (index - chunkFirst_ >= static_cast<std::int64_t>(chunk_.size()))
        throw EngineError(3021, "No current record.");
    return chunk_[static_cast<std::size_t>(index - chunkFirst_)];
}

void ResultSet::fetchChunk(std::int64_t first) {
    std::lock_guard lock(cache_->mutex());
    chunk_.clear();
    chunkFirst_ = -1;
    try {
        if (!query_.keysSql.empty() && held_->rows() < std::min(first + chunkRows, rows_))
            holdKeys(cache_->results().keys(query_, true).table);
        Statement q(cache_->db(), fetchSql_);
        bindParameters(q.get(), query_.parameters);
        sqlite3_bind_int64(q.get(), 1, first + 1);
        sqlite3_bind_int64(q.get(), 2, first + chunkRows);
        const int n = sqlite3_column_count(q.get());
        while (q.step()) {
            std::vector<OwnedValue> values;
            values.reserve(static_cast<std::size_t>(n));
            for (int c = 0; c < n; ++c)
                values.push_back(readValue(q.get(), c));
            chunk_.push_back(std::move(values));
        }
    } catch (const CacheDamaged&) {
        cache_->discard(); // the next search starts a new cache file
        chunk_.clear();
        throw;
    }
    chunkFirst_ = first;
}

std::optional<std::int64_t> ResultSet::sourceRow(std::int64_t index) {
    if (index < 0 || index >= rows_)
        throw EngineError(3021, "No current record.");
    if (wholeTable_)
        return index + 1;
    if (query_.keysSql.empty())
        return std::nullopt;
    std::lock_guard lock(cache_->mutex());
    if (held_->rows() <= index)
        holdKeys(cache_->results().keys(query_, true).table);
    Statement q(cache_->db(), "SELECT qx_id FROM " + table_ + " WHERE rowid = ?1");
    sqlite3_bind_int64(q.get(), 1, index + 1);
    if (!q.step())
        throw EngineError(3021, "No current record.");
    return sqlite3_column_int64(q.get(), 0);
}

std::string ResultSet::text(std::size_t column, const OwnedValue& value) const {
    const ColumnType type = column < columns_.size() ? columns_[column].type : ColumnType::Unknown;
    if (value.kind == StoredValue::Kind::Null)
        return {};
    // Floating-point numbers as Access's datasheet shows them: 7 and 0.2,
    // Singles to their seven digits.
    const ColumnTypeTraits& traits = traitsOf(type);
    if (traits.shown == Shown::Single && value.kind == StoredValue::Kind::Real)
        return sql::formatSingle(value.real);
    if (traits.typeClass == TypeClass::Floating && value.kind == StoredValue::Kind::Integer)
        return sql::formatNumber(static_cast<double>(value.integer));
    if (value.kind == StoredValue::Kind::Real && traits.shown != Shown::Date &&
        traits.typeClass != TypeClass::Currency)
        return sql::formatNumber(value.real);
    if (inStorageForm(type, value.kind))
        return displayText(type, value.view());
    switch (value.kind) {
    case StoredValue::Kind::Integer:
        return std::to_string(value.integer);
    case StoredValue::Kind::Real:
        return realText(value.real, 4);
    case StoredValue::Kind::Text:
        return value.bytes;
    case StoredValue::Kind::Blob:
        return displayText(ColumnType::Binary, value.view());
    case StoredValue::Kind::Null:
        break;
    }
    return {};
}

} // namespace quarix::engine

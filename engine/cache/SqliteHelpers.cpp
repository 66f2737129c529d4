#include "engine/cache/SqliteHelpers.h"

#include "engine/EngineError.h"
#include "engine/cache/CacheErrors.h"
#include "engine/sql/Translator.h"

#include <cstdio>

namespace quarix::engine {

void throwSqliteError(sqlite3* db, const std::string& context) {
    const int code = sqlite3_errcode(db);
    const std::string message = sqlite3_errmsg(db);
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    const std::string where = file && *file ? " '" + std::string(file) + "'" : std::string();
    switch (code) {
    case SQLITE_INTERRUPT:
        throw EngineError(3059, "Operation canceled by user.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw CacheDamaged(cache_errors::damaged,
                           "Quarix's cache file" + where + " is damaged (" + message + ").");
    case SQLITE_FULL:
        throw CacheDiskError(cache_errors::diskFull,
                             "Not enough space on disk for Quarix's cache" + where + ".");
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_NOLFS:
        throw CacheDiskError(cache_errors::diskError,
                             "Disk error in Quarix's cache" + where + ": " + message + ".");
    case SQLITE_NOMEM:
        throw EngineError(3035, "System resource exceeded: Quarix's cache ran out of memory.");
    default:
        // Errors our Access functions raise carry Access's own number.
        if (auto access = sql::engineErrorFromMessage(message))
            throw *access;
        throw EngineError(3000, "Reserved error (" + std::to_string(code) + "); " + context + ": " +
                                    message);
    }
}

void execSql(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        sqlite3_free(error);
        throwSqliteError(db, "cache");
    }
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK)
        throwSqliteError(db, "prepare");
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throwSqliteError(db_, "query");
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

void bindParameters(sqlite3_stmt* stmt, const std::vector<sql::BoundValue>& values) {
    const int slots = sqlite3_bind_parameter_count(stmt);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int slot = sql::ParameterSet::kFirstParameterSlot + static_cast<int>(i);
        if (slot > slots)
            break;
        const sql::BoundValue& v = values[i];
        switch (v.kind) {
        case sql::BoundValue::Kind::Null:
            sqlite3_bind_null(stmt, slot);
            break;
        case sql::BoundValue::Kind::Integer:
            sqlite3_bind_int64(stmt, slot, v.integer);
            break;
        case sql::BoundValue::Kind::Real:
            sqlite3_bind_double(stmt, slot, v.real);
            break;
        case sql::BoundValue::Kind::Text:
            sqlite3_bind_text(stmt, slot, v.text.data(), static_cast<int>(v.text.size()),
                              SQLITE_TRANSIENT);
            break;
        }
    }
}

std::string parameterKey(const std::vector<sql::BoundValue>& values) {
    std::string key;
    for (const sql::BoundValue& v : values) {
        switch (v.kind) {
        case sql::BoundValue::Kind::Null:
            key += "\nN";
            break;
        case sql::BoundValue::Kind::Integer:
            key += "\nI" + std::to_string(v.integer);
            break;
        case sql::BoundValue::Kind::Real: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%a", v.real);
            key += std::string("\nR") + buf;
            break;
        }
        case sql::BoundValue::Kind::Text:
            key += "\nT" + std::to_string(v.text.size()) + ":" + v.text;
            break;
        }
    }
    return key;
}

} // namespace quarix::engine

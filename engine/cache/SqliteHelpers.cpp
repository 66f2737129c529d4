#include "engine/cache/SqliteHelpers.h"

#include "engine/EngineError.h"
#include "engine/sql/Translator.h"

namespace quarix::engine {

void throwSqliteError(sqlite3* db, const std::string& context) {
    const int code = sqlite3_errcode(db);
    const std::string message = sqlite3_errmsg(db);
    if (code == SQLITE_INTERRUPT)
        throw EngineError(3059, "Operation canceled by user.");
    if (auto access = sql::engineErrorFromMessage(message))
        throw *access;
    throw EngineError(3000,
                      "Reserved error (" + std::to_string(code) + "); " + context + ": " + message);
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

} // namespace quarix::engine

#pragma once

#include "engine/sql/Parameters.h"

#include <sqlite3.h>

#include <string>
#include <vector>

namespace quarix::engine {

// Throws an EngineError for a failed SQLite call, mapping the messages that
// the Access functions raise back to their Access error numbers.
[[noreturn]] void throwSqliteError(sqlite3* db, const std::string& context);

// Runs statements that return no rows; throws on failure.
void execSql(sqlite3* db, const std::string& sql);

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    // Steps once: true while a row is available; throws on an error.
    bool step();
    void reset();

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

std::string quoteIdentifier(const std::string& name);

// Binds a translated statement's parameter values to the slots the
// statement has (see sql::ParameterSet); the others it leaves alone.
void bindParameters(sqlite3_stmt* stmt, const std::vector<sql::BoundValue>& values);

// A text that tells apart the runs of one statement with other values, to
// keep their results apart.
std::string parameterKey(const std::vector<sql::BoundValue>& values);

} // namespace quarix::engine

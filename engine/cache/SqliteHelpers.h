#pragma once

#include <sqlite3.h>

#include <string>

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

} // namespace quarix::engine

#include "engine/cache/VolatileSql.h"

#include "engine/cache/SqliteHelpers.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

namespace quarix::engine {

namespace {

// SQLite function names are case-insensitive.
std::string lowerCase(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Collects the names of the functions a statement calls while it is prepared.
int noteFunction(void* names, int action, const char*, const char* function, const char*,
                 const char*) {
    if (action == SQLITE_FUNCTION && function)
        static_cast<std::set<std::string>*>(names)->insert(lowerCase(function));
    return SQLITE_OK;
}

} // namespace

bool callsVolatileFunction(sqlite3* db, const std::string& sql) {
    std::set<std::string> called;
    sqlite3_set_authorizer(db, &noteFunction, &called);
    sqlite3_stmt* stmt = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK)
        throwSqliteError(db, "prepare");
    if (called.empty())
        return false;
    // Every function registered without the deterministic flag, SQLite's
    // own (random) and ours (acc_now) alike.
    Statement list(db, "SELECT name FROM pragma_function_list WHERE flags & " +
                           std::to_string(SQLITE_DETERMINISTIC) + " = 0");
    while (list.step()) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0));
        if (name && called.count(lowerCase(name)))
            return true;
    }
    return false;
}

} // namespace quarix::engine

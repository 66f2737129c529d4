// Access SQL through the parser and translator, then run on a small cache:
// the first byte chooses a whole statement or a Filter criterion on
// Customers. Translation may fail with an EngineError and running with an
// SQLite error; nothing may crash, hang or trip a sanitizer, and SQLite
// must accept every statement the translator gives.
#include "engine/EngineError.h"
#include "engine/sql/Translator.h"
#include "fuzz/FuzzSqlSchema.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Bounds one statement: a cross join of the fuzzed sources may be large.
int stopAfterManySteps(void* counter) {
    return ++*static_cast<int*>(counter) > 2000;
}

// Whether SQLite refused a statement only for its size or depth.
bool beyondSqliteLimits(const std::string& message) {
    for (const char* limit : {"too large", "too many", "too big", "stack overflow"})
        if (message.find(limit) != std::string::npos)
            return true;
    return false;
}

// A statement the translator accepted must be one SQLite accepts.
void run(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        if (beyondSqliteLimits(message))
            return;
        std::fprintf(stderr, "SQLite rejects the translation: %s\n%s\n", message.c_str(),
                     sql.c_str());
        std::abort();
    }
    int progress = 0;
    sqlite3_progress_handler(db, 100, stopAfterManySteps, &progress);
    for (int rows = 0; rows < 1000 && sqlite3_step(statement) == SQLITE_ROW; ++rows)
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            sqlite3_column_text(statement, c);
    sqlite3_finalize(statement);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarix::engine;
    static quarix::fuzz::FuzzSqlSchema schema;
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const sql::TranslatedQuery query = data[0] & 1
                                               ? sql::translateFilter("Customers", text, schema)
                                               : sql::translateSelect(text, schema);
        run(schema.db(), query.sql);
    } catch (const EngineError&) {
    }
    return 0;
}

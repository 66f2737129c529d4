#pragma once

#include "engine/sql/Schema.h"

#include <sqlite3.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quarix::fuzz {

// A small in-memory cache in storage form for the SQL fuzzer: Customers and
// Orders with a few rows (Nulls, empty text, extreme dates and amounts) and
// a saved query over them, with the Access functions registered.
class FuzzSqlSchema : public engine::sql::SchemaLookup {
public:
    FuzzSqlSchema();
    ~FuzzSqlSchema() override;
    FuzzSqlSchema(const FuzzSqlSchema&) = delete;
    FuzzSqlSchema& operator=(const FuzzSqlSchema&) = delete;

    const engine::sql::SchemaSource* find(const std::string& name) override;
    std::vector<std::optional<std::string>> textColumn(const std::string& select) override;
    sqlite3* db() const { return db_; }

private:
    void addTable(const std::string& name, const std::map<std::string, engine::ColumnType>& columns,
                  const char* const rows[], int rowCount);
    void addQuery(const std::string& name, const std::string& accessSql);

    sqlite3* db_ = nullptr;
    std::map<std::string, engine::sql::SchemaSource> sources_;
};

} // namespace quarix::fuzz

#include "fuzz/FuzzSqlSchema.h"

#include "engine/EngineError.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/Translator.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace quarix::fuzz {

using engine::ColumnType;
namespace sql = engine::sql;

namespace {

// Bounds one heading query: the fuzzed sources may be a large cross join.
int stopAfterManySteps(void* counter) {
    return ++*static_cast<int*>(counter) > 2000;
}

void exec(sqlite3* db, const std::string& statement) {
    if (sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// Columns in name order (the map's); rows list the values in that order.
const char* const customerRows[] = {
    "25, 0, 'London', 1, 36890.6, 'Anna Smith', -4622100",
    "NULL, -1, 'Zürich', 2, -657434.0, 'Chloé Dubois', 922337203685477",
    "0, 0, '', 3, 2958465.99999, '', NULL",
    "32767, -1, NULL, 4, NULL, NULL, -922337203685477",
};
const char* const orderRows[] = {
    "1.5e308, 1, 1, 36891.0, 'Open'",
    "-0.0, 2, 2, NULL, NULL",
    "NULL, 9, 3, 1e10, '%_*?[#'",
};

} // namespace

FuzzSqlSchema::FuzzSqlSchema() {
    sqlite3_open(":memory:", &db_);
    sql::registerAccessFunctions(db_);
    addTable("Customers",
             {{"Age", ColumnType::Integer},
              {"Active", ColumnType::Boolean},
              {"City", ColumnType::Text},
              {"CustomerID", ColumnType::Long},
              {"Joined", ColumnType::DateTime},
              {"Name", ColumnType::Text},
              {"Balance", ColumnType::Currency}},
             customerRows, 4);
    addTable("Orders",
             {{"Amount", ColumnType::Double},
              {"CustomerID", ColumnType::Long},
              {"OrderID", ColumnType::Long},
              {"OrderDate", ColumnType::DateTime},
              {"Status", ColumnType::Text}},
             orderRows, 3);
    addQuery("London Customers", "SELECT Name, City FROM Customers WHERE City Like 'Lon*'");
}

FuzzSqlSchema::~FuzzSqlSchema() {
    sqlite3_close(db_);
}

const sql::SchemaSource* FuzzSqlSchema::find(const std::string& name) {
    for (const auto& [key, source] : sources_)
        if (sql::equalText(key, name))
            return &source;
    return nullptr;
}

// A crosstab's heading query must be one SQLite accepts, as every
// statement the translator gives must.
std::vector<std::optional<std::string>> FuzzSqlSchema::textColumn(const std::string& select) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, select.c_str(), static_cast<int>(select.size()), &statement,
                           nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db_);
        if (auto limit = sql::engineErrorFromMessage(message))
            throw *limit;
        std::fprintf(stderr, "SQLite rejects a crosstab's heading query: %s\n%s\n", message.c_str(),
                     select.c_str());
        std::abort();
    }
    int progress = 0;
    sqlite3_progress_handler(db_, 100, stopAfterManySteps, &progress);
    std::vector<std::optional<std::string>> values;
    int rc = SQLITE_ROW;
    while (values.size() < 1000 && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        values.push_back(text ? std::optional<std::string>(text) : std::nullopt);
    }
    const std::string message = sqlite3_errmsg(db_);
    sqlite3_finalize(statement);
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw engine::EngineError(3000, message);
    return values;
}

void FuzzSqlSchema::addTable(const std::string& name,
                             const std::map<std::string, ColumnType>& columns,
                             const char* const rows[], int rowCount) {
    const std::string table = "\"t_" + name + "\"";
    sql::SchemaSource source{name, table, {}, {}};
    std::string create = "CREATE TABLE " + table + " (";
    int index = 0;
    for (const auto& [column, type] : columns) {
        const std::string sqlName = "\"c" + std::to_string(index) + "\"";
        source.columns.push_back({column, type, sqlName});
        create += (index++ ? ", " : "") + sqlName;
    }
    exec(db_, create + ")");
    for (int i = 0; i < rowCount; ++i)
        exec(db_, "INSERT INTO " + table + " VALUES (" + rows[i] + ")");
    sources_[name] = source;
}

void FuzzSqlSchema::addQuery(const std::string& name, const std::string& accessSql) {
    const sql::TranslatedQuery query = sql::translateSelect(accessSql, *this);
    sql::SchemaSource source{name, "(" + query.sql + ")", {}, {}};
    for (const auto& column : query.columns)
        source.columns.push_back({column.name, column.type, column.sqlName});
    sources_[name] = source;
}

} // namespace quarix::fuzz

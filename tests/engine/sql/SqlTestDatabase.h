#pragma once

#include "engine/EngineError.h"
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/Translator.h"
#include "engine/sql/TypedSql.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "tests/support/EngineErrors.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarix::test {

using engine::ColumnType;
using engine::EngineError;
namespace sql = engine::sql;

// A small in-memory cache in storage form: Customers, Orders and a
// one-row table One, with the Access functions registered.
class SqlTestDatabase : public sql::SchemaLookup {
public:
    SqlTestDatabase() {
        sqlite3_open(":memory:", &db_);
        sql::registerAccessFunctions(db_);
        addTable(
            "Customers",
            {{"CustomerID", ColumnType::Long},
             {"Name", ColumnType::Text},
             {"City", ColumnType::Text},
             {"Country", ColumnType::Text},
             {"Age", ColumnType::Integer},
             {"Balance", ColumnType::Currency},
             {"Joined", ColumnType::DateTime},
             {"Active", ColumnType::Boolean},
             {"Code", ColumnType::Text}},
            {"1, 'Anna Smith', 'London', 'UK', 25, -4622100, " + date(2001, 1, 14, 14, 30, 15) +
                 ", -1, '00007'",
             "2, 'Ben Müller', 'Berlin', 'Germany', 32, 15005000, " + date(2001, 1, 27) +
                 ", -1, '00014'",
             "3, 'Chloé Dubois', 'Zürich', 'Switzerland', 41, 0, " +
                 date(1999, 12, 31, 23, 59, 59) + ", 0, '00021'",
             "4, 'Dan O''Brien', 'Londonderry', 'UK', NULL, 25000000, " + date(1850, 6, 15, 6) +
                 ", -1, '00028'",
             "5, 'Eve García', NULL, 'Spain', 19, 999900, " + date(2024, 2, 29) + ", 0, '00035'",
             "6, 'Finn Ångström', '', 'Sweden', 60, NULL, NULL, 0, '00042'",
             "7, 'Gus Lee', 'zürich', 'Switzerland', 33, 100000, " + date(2020, 5, 5) +
                 ", -1, '0007x'"});
        addTable("Orders",
                 {{"OrderID", ColumnType::Long},
                  {"CustomerID", ColumnType::Long},
                  {"OrderDate", ColumnType::DateTime},
                  {"Amount", ColumnType::Currency},
                  {"Status", ColumnType::Text},
                  {"Qty", ColumnType::Integer}},
                 {"1, 1, " + date(2020, 1, 2) + ", 12000000, 'Open', 2",
                  "2, 1, " + date(2020, 2, 3) + ", 9005000, 'Shipped', 1",
                  "3, 2, " + date(2020, 3, 4) + ", 25000000, 'Open', 5",
                  "4, 3, " + date(2020, 4, 5) + ", 152500, 'Cancelled', 1",
                  "5, 4, " + date(2020, 5, 6) + ", 3000000, 'Open', 3",
                  "6, 2, " + date(2021, 1, 1) + ", 1000000, 'Shipped', 1"});
        addTable("One",
                 {{"ID", ColumnType::Long},
                  {"Price", ColumnType::Decimal},
                  {"Stamp", ColumnType::DateTimeExtended},
                  {"Ratio", ColumnType::Single},
                  {"Nothing", ColumnType::Text}},
                 {"1, '-12.3400', '2024-02-29 13:45:30.5000000', 1.100000023841858, NULL"});
    }
    ~SqlTestDatabase() override { sqlite3_close(db_); }

    static std::string date(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
        return sql::numberLiteral(sql::serialFromParts({y, m, d, h, n, s}));
    }

    const sql::SchemaSource* find(const std::string& name) override {
        for (const auto& [key, source] : sources_)
            if (sql::equalText(key, name))
                return &source;
        return nullptr;
    }

    std::vector<std::optional<std::string>> textColumn(const std::string& select) override {
        std::vector<std::optional<std::string>> values;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, select.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in " + select);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            values.push_back(text ? std::optional<std::string>(text) : std::nullopt);
        }
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            if (auto e = sql::engineErrorFromMessage(message))
                throw *e;
            throw std::runtime_error(message + " in " + select);
        }
        return values;
    }

    // Registers a saved query under a name, as the catalogue would.
    void addQuery(const std::string& name, const std::string& accessSql) {
        const sql::TranslatedQuery q = sql::translateSelect(accessSql, *this);
        sql::SchemaSource source{name, "(" + q.sql + ")", {}, {}};
        for (const auto& c : q.columns)
            source.columns.push_back({c.name, c.type, c.sqlName});
        sources_[name] = source;
    }

    struct Result {
        std::vector<sql::ResultColumn> columns;
        std::vector<std::vector<std::string>> rows; // display text, "Null" for Null
        std::string column(std::size_t c) const {
            std::string out;
            for (const auto& row : rows)
                out += (out.empty() ? "" : "|") + row[c];
            return out;
        }
        // The column names joined by ",".
        std::string names() const {
            std::string out;
            for (const auto& c : columns)
                out += (out.empty() ? "" : ",") + c.name;
            return out;
        }
        // The rows, values joined by "|" and rows by "\n"; sorted if asked.
        std::string text(bool sorted = false) const {
            std::vector<std::string> lines;
            for (const auto& row : rows) {
                std::string line;
                for (const auto& v : row)
                    line += (line.empty() ? "" : "|") + v;
                lines.push_back(line);
            }
            if (sorted)
                std::sort(lines.begin(), lines.end());
            std::string out;
            for (const auto& l : lines)
                out += (out.empty() ? "" : "\n") + l;
            return out;
        }
    };

    Result run(const sql::TranslatedQuery& q) {
        Result result{q.columns, {}};
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, q.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db_);
            if (auto e = sql::engineErrorFromMessage(message))
                throw *e;
            throw std::runtime_error(message + " in " + q.sql);
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                row.push_back(render(stmt, c,
                                     c < static_cast<int>(q.columns.size()) ? q.columns[c].type
                                                                            : ColumnType::Unknown));
            result.rows.push_back(std::move(row));
        }
        std::string message = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            if (auto e = sql::engineErrorFromMessage(message))
                throw *e;
            throw std::runtime_error(message + " in " + q.sql);
        }
        return result;
    }

    Result select(const std::string& accessSql) {
        return run(sql::translateSelect(accessSql, *this));
    }
    Result filter(const std::string& source, const std::string& criterion) {
        return run(sql::translateFilter(source, criterion, *this));
    }

    // The value of one expression, evaluated on the row of One.
    std::string eval(const std::string& expression) {
        const Result r = select("SELECT " + expression + " AS X FROM One");
        return r.rows.at(0).at(0);
    }

    // The value of an expression, or "#n" for the Access error n it raises.
    std::string evalOrError(const std::string& expression) {
        try {
            return eval(expression);
        } catch (const EngineError& e) {
            return "#" + std::to_string(e.number());
        }
    }

    // CustomerIDs matching a criterion, "1,2,..." in ID order.
    std::string ids(const std::string& criterion) {
        const Result r =
            select("SELECT CustomerID FROM Customers WHERE " + criterion + " ORDER BY CustomerID");
        std::string out;
        for (const auto& row : r.rows)
            out += (out.empty() ? "" : ",") + row[0];
        return out;
    }

    sqlite3* db() const { return db_; }

private:
    static std::string render(sqlite3_stmt* stmt, int c, ColumnType type) {
        sqlite3_value* v = sqlite3_column_value(stmt, c);
        if (sqlite3_value_type(v) == SQLITE_NULL)
            return "Null";
        if (type == ColumnType::DateTime && sqlite3_value_type(v) != SQLITE_TEXT)
            return sql::formatSerial(sqlite3_value_double(v)); // as the grid shows dates
        int code = static_cast<int>(type);
        if (type == ColumnType::Currency && sqlite3_value_type(v) == SQLITE_INTEGER)
            code = sql::kScaledCurrencyCode;
        return sql::fn::displayString(v, code);
    }

    void addTable(const std::string& name,
                  const std::vector<std::pair<std::string, ColumnType>>& columns,
                  const std::vector<std::string>& rows) {
        const std::string table = "\"tbl_" + name + "\"";
        sql::SchemaSource source{name, table, {}, {}};
        std::string create = "CREATE TABLE " + table + " (";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string column = "\"c" + std::to_string(i) + "\"";
            source.columns.push_back({columns[i].first, columns[i].second, column});
            create += (i ? ", " : "") + column;
        }
        exec(create + ")");
        for (const auto& row : rows)
            exec("INSERT INTO " + table + " VALUES (" + row + ")");
        sources_[name] = source;
    }

    void exec(const std::string& statement) {
        char* error = nullptr;
        if (sqlite3_exec(db_, statement.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(message + " in " + statement);
        }
    }

    sqlite3* db_ = nullptr;
    std::map<std::string, sql::SchemaSource> sources_;
};

} // namespace quarix::test

#pragma once

#include "engine/queries/QueryRows.h"

#include <optional>
#include <string>
#include <vector>

namespace quarix::test {

using engine::MSysQueryRow;
namespace attribute = engine::attribute;

// The query type codes of the type row's flag.
namespace queryType {
constexpr int Select = 1, MakeTable = 2, Append = 3, Update = 4, Delete = 5, Crosstab = 6,
              DataDefinition = 7, PassThrough = 8, Union = 9;
} // namespace queryType

// Hand-made MSysQueries rows, written the way Access stores them: a start
// row, a type row, the clauses, an end row; each row numbered in turn.
class QueryRowsBuilder {
public:
    explicit QueryRowsBuilder(int type, std::int32_t objectId = 1) : objectId_(objectId) {
        add(attribute::Start);
        add(attribute::Type, {}, type);
    }

    QueryRowsBuilder& add(int attribute, std::optional<std::string> expression = {}, int flag = 0,
                          std::optional<std::string> name1 = {},
                          std::optional<std::string> name2 = {}) {
        MSysQueryRow row;
        row.attribute = attribute;
        row.expression = std::move(expression);
        row.flag = flag;
        row.name1 = std::move(name1);
        row.name2 = std::move(name2);
        row.objectId = objectId_;
        row.order = ++order_;
        rows_.push_back(std::move(row));
        return *this;
    }

    QueryRowsBuilder& table(const std::string& name, std::optional<std::string> alias = {}) {
        return add(attribute::Table, {}, 0, name, std::move(alias));
    }
    QueryRowsBuilder& column(const std::string& expression, std::optional<std::string> alias = {},
                             int flag = 0) {
        return add(attribute::Column, expression, flag, std::move(alias));
    }
    QueryRowsBuilder& join(const std::string& from, const std::string& to, int kind,
                           const std::string& on) {
        return add(attribute::Join, on, kind, from, to);
    }
    QueryRowsBuilder& flags(int flags, std::optional<std::string> top = {}) {
        return add(attribute::SelectFlags, {}, flags, std::move(top));
    }
    QueryRowsBuilder& parameter(const std::string& name, int type, std::int32_t size = 0) {
        add(attribute::Parameter, {}, type, name);
        rows_.back().extra = size;
        return *this;
    }
    // Fills the type row: the target table (name1, with a database in name2
    // and expression), a connect string (name1) or SQL text (expression).
    QueryRowsBuilder& typeRow(std::optional<std::string> name1,
                              std::optional<std::string> name2 = {},
                              std::optional<std::string> expression = {}) {
        rows_[1].name1 = std::move(name1);
        rows_[1].name2 = std::move(name2);
        rows_[1].expression = std::move(expression);
        return *this;
    }

    // The rows with the end row, in the order given.
    std::vector<MSysQueryRow> rows() const {
        auto result = rows_;
        MSysQueryRow end;
        end.attribute = attribute::End;
        end.objectId = objectId_;
        result.push_back(end);
        return result;
    }

    // Without the end row: what a damaged file may hold.
    std::vector<MSysQueryRow> rowsWithoutEnd() const { return rows_; }

private:
    std::int32_t objectId_;
    int order_ = 0;
    std::vector<MSysQueryRow> rows_;
};

} // namespace quarix::test

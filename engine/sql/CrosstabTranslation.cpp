// The columns of a crosstab: one per heading that its PIVOT expression
// takes in the data (in the order of the expression's values, Null first
// as "<>"), or one per value of its IN list. The headings come from a first
// query on the data, so translating a crosstab runs SQL (SchemaLookup::textColumn).
#include "engine/sql/AccessErrors.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/CoreTranslation.h"
#include "engine/sql/FunctionCatalogue.h"

#include <algorithm>

namespace quarix::engine::sql {

namespace {

// Access keeps at most 255 fields in a result.
constexpr std::size_t kMaxColumns = 255;

// The column a heading gives; a Null heading shows as "<>".
std::string columnName(const std::optional<std::string>& heading) {
    return heading ? *heading : "<>";
}

// The IN list holds constants only.
bool isConstant(const Expr& e) {
    switch (e.kind) {
    case Expr::Kind::Number:
    case Expr::Kind::Text:
    case Expr::Kind::Date:
    case Expr::Kind::Boolean:
    case Expr::Kind::Null:
        return true;
    case Expr::Kind::Unary:
        return e.op == "-" && e.args[0]->kind == Expr::Kind::Number;
    default:
        return false;
    }
}

bool containsAggregate(const Expr& root) {
    std::vector<const Expr*> pending{&root};
    while (!pending.empty()) {
        const Expr* e = pending.back();
        pending.pop_back();
        if (e->kind == Expr::Kind::Call && isAggregateFunction(lowerText(e->text)))
            return true;
        for (const auto& arg : e->args)
            pending.push_back(arg.get());
    }
    return false;
}

// Whether a row's heading (SQL text) is the given one.
std::string isHeading(const std::string& heading, const std::optional<std::string>& value) {
    if (!value)
        return "(" + heading + " IS NULL)";
    return "(" + heading + " = " + quoteText(*value) + " COLLATE " + kTextCollation + ")";
}

} // namespace

// Access keeps a crosstab's criteria on row totals (Avg(x) > 10) in its
// WHERE clause beside the others: they hold for a row's group, as in HAVING.
void CoreTranslation::splitWhere() {
    std::vector<const Expr*> criteria;
    const Expr* rest = core_.where.get();
    for (; rest->kind == Expr::Kind::Binary && rest->op == "and"; rest = rest->args[0].get())
        criteria.push_back(rest->args[1].get());
    criteria.push_back(rest);
    if (std::none_of(criteria.begin(), criteria.end(),
                     [](const Expr* c) { return containsAggregate(*c); })) {
        where_ = asCondition(run(Clause::Where, *core_.where)).sql;
        return;
    }
    std::vector<std::string> rows;
    for (auto it = criteria.rbegin(); it != criteria.rend(); ++it) {
        if (containsAggregate(**it))
            groupCriteria_.push_back(*it);
        else
            rows.push_back(asCondition(run(Clause::Where, **it)).sql);
    }
    if (!rows.empty())
        where_ = balanced(rows, " AND ");
}

// The headings in column order, read from the data, or the IN list's (whose
// other values leave the rows they head out of the result).
std::vector<std::optional<std::string>> CoreTranslation::headings(const std::string& heading,
                                                                  const TypedSql& pivot) {
    std::vector<std::optional<std::string>> out;
    if (!crosstab_->fixedHeadings) {
        const std::string value =
            isTextType(pivot.type) ? withCollation(pivot) : "(" + pivot.sql + ")";
        const std::string groups =
            "SELECT min(h) AS h, min(o) AS o FROM (SELECT " + heading + " AS h, " + value +
            " AS o" + (from_.empty() ? "" : " FROM " + from_) +
            (where_.empty() ? "" : " WHERE " + where_) + ") GROUP BY h COLLATE " + kTextCollation;
        out = context_.schema.textColumn("SELECT h FROM (" + groups + ") ORDER BY " +
                                         keyTerm("o", isTextType(pivot.type), false) + " LIMIT " +
                                         std::to_string(kMaxColumns + 1));
        if (out.size() > kMaxColumns) {
            const auto count = context_.schema.textColumn("SELECT count(*) FROM (" + groups + ")");
            throw errors::tooManyHeadings(std::stoull(count.at(0).value_or("0")));
        }
        return out;
    }
    std::vector<std::string> listed;
    for (const auto& item : crosstab_->headings) {
        if (!isConstant(*item))
            throw errors::transformStatement();
        ExpressionTranslator t(context_, scope_, Clause::Where, item->begin, item->end);
        const auto values =
            context_.schema.textColumn("SELECT nullif(" + asText(t.translate(*item)) + ", '')");
        const std::optional<std::string> value = values.empty() ? std::nullopt : values.front();
        bool repeated = false;
        for (const auto& known : out)
            repeated = repeated || (known && value ? equalText(*known, *value) : !known && !value);
        if (repeated)
            continue;
        out.push_back(value);
        listed.push_back(isHeading(heading, value));
    }
    const std::string inList = balanced(listed, " OR ");
    where_ = where_.empty() ? inList : "(" + where_ + ") AND " + inList;
    return out;
}

// Each cell is the TRANSFORM value over the rows of its row and heading, or
// Null when there are none (a Count too).
void CoreTranslation::addPivotColumns() {
    const Expr& pivotExpr = *crosstab_->pivot;
    ExpressionTranslator t(context_, scope_, Clause::GroupBy, pivotExpr.begin, pivotExpr.end);
    const TypedSql pivot = asValue(t.translate(pivotExpr));
    // "" heads the same column as Null.
    const std::string heading = "nullif(" + asText(pivot) + ", '')";
    const auto found = headings(heading, pivot);
    if (columns_.size() + found.size() > kMaxColumns)
        throw errors::tooManyFields();
    aggregate_ = true;
    for (const auto& value : found) {
        const std::string rows = isHeading(heading, value);
        TypedSql cell = run(Clause::Select, *crosstab_->value, {}, rows);
        cell.sql = "(CASE WHEN count(*) FILTER (WHERE " + rows + ") = 0 THEN NULL ELSE " +
                   cell.sql + " END)";
        cell.isNullLiteral = false;
        cell.isTextLiteral = false;
        columns_.push_back({cell, columnName(value), {}, false});
    }
}

} // namespace quarix::engine::sql

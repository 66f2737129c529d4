// Crosstabs: one column per heading that the PIVOT expression takes in the
// data (in the order of the expression's values, Null first as "<>"), or
// one per value of its IN list. The headings come from a first query on the
// data, so translating a crosstab runs SQL (SchemaLookup::textColumn).
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

void CoreTranslation::addPivotColumns() {
    const Expr& pivotExpr = *crosstab_->pivot;
    ExpressionTranslator t(context_, scope_, Clause::GroupBy, pivotExpr.begin, pivotExpr.end);
    const TypedSql pivot = asValue(t.translate(pivotExpr));
    // "" heads the same column as Null.
    heading_ = "nullif(" + asText(pivot) + ", '')";
    headings_ = headings(heading_, pivot);
    itemCount_ = columns_.size();
    if (itemCount_ + headings_.size() > kMaxColumns)
        throw errors::tooManyFields();
    aggregate_ = true;
    cellValue_ = asStorage(run(Clause::Select, *crosstab_->value));
    for (const auto& value : headings_)
        columns_.push_back({cellValue_, columnName(value), {}, false});
}

// Two grouped queries over the rows, joined: qx_r has a row per row
// heading with the select list's columns, and qx_c a cell per row heading
// and column heading, the value worked out once for each; a column takes
// its heading's cell, or Null when there is none (no data, also for Count).
std::string CoreTranslation::crosstabRows() const {
    std::string rows = selectList(itemCount_) + ", row_number() OVER () AS qx_n, count(*)";
    std::string cells = "SELECT " + heading_ + " AS qx_h, " + cellValue_.sql + " AS qx_v";
    std::string on;
    for (std::size_t i = 0; i < groupOrder_.size(); ++i) {
        const std::string key = "qx_g" + std::to_string(i);
        rows += ", " + groupOrder_[i].sql + " AS " + key;
        cells += ", " + groupOrder_[i].sql + " AS " + key;
        on += (i ? " AND " : "") +
              keyTerm("qx_r." + key + " IS qx_c." + key, groupOrder_[i].text, false);
    }
    for (std::size_t i = 0; i < order_.size(); ++i)
        rows += ", " + order_[i].sql + " AS " + keyName(i);
    rows += body();
    cells += (from_.empty() ? "" : " FROM " + from_) + (where_.empty() ? "" : " WHERE " + where_) +
             " GROUP BY " + (groupBy_.empty() ? "" : groupBy_ + ", ") + heading_ + " COLLATE " +
             kTextCollation;
    std::string out = "SELECT ";
    for (std::size_t i = 0; i < itemCount_; ++i)
        out += "qx_r." + resultName(i) + ", ";
    for (std::size_t i = 0; i < headings_.size(); ++i)
        out += "max(CASE WHEN " + isHeading("qx_c.qx_h", headings_[i]) +
               " THEN qx_c.qx_v END) AS " + resultName(itemCount_ + i) + ", ";
    for (std::size_t i = 0; i < order_.size(); ++i)
        out += "qx_r." + keyName(i) + ", ";
    out.resize(out.size() - 2);
    return out + " FROM (" + rows + ") AS qx_r LEFT JOIN (" + cells + ") AS qx_c ON " +
           (on.empty() ? "1" : on) + " GROUP BY qx_r.qx_n";
}

} // namespace quarix::engine::sql

#include "engine/sql/QueryTranslator.h"

#include "engine/sql/AccessErrors.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/CoreTranslation.h"
#include "engine/sql/ExpressionTranslator.h"
#include "engine/sql/Limits.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace quarix::engine::sql {

namespace {

using Clause = ExpressionTranslator::Clause;

bool isConstant(const Expr& e) {
    return e.kind == Expr::Kind::Number || e.kind == Expr::Kind::Text ||
           e.kind == Expr::Kind::Date || e.kind == Expr::Kind::Boolean ||
           e.kind == Expr::Kind::Null;
}

} // namespace

std::string resultName(std::size_t i) {
    return "\"r" + std::to_string(i) + "\"";
}

std::string keyName(std::size_t i) {
    return "\"k" + std::to_string(i) + "\"";
}

std::string keyTerm(const std::string& sql, bool text, bool descending) {
    return sql + (text ? std::string(" COLLATE ") + kTextCollation : "") +
           (descending ? " DESC" : "");
}

void CoreTranslation::collectSources(const FromNode& node) {
    if (node.kind == FromNode::Kind::Join) {
        collectSources(*node.left);
        collectSources(*node.right);
        return;
    }
    ScopeSource source;
    source.sqlAlias = "t" + std::to_string(context_.nextSourceId++);
    source.alias = node.alias;
    if (node.kind == FromNode::Kind::Table) {
        const SchemaSource* found = context_.schema.find(node.name);
        if (!found)
            throw errors::missingSource(node.name);
        source.name = node.name;
        source.columns = found->columns;
        source.table = found->table;
        sourceSql_.push_back(found->sqlFrom);
    } else {
        const TranslatedQuery inner = translateQuery(context_, *node.query, nullptr);
        source.name = node.alias.empty() ? source.sqlAlias : node.alias;
        for (const ResultColumn& c : inner.columns)
            source.columns.push_back({c.name, c.type, c.sqlName});
        sourceSql_.push_back("(" + inner.sql + ")");
    }
    scope_.sources.push_back(std::move(source));
}

// Emits sources in the order collectSources met them.
std::string CoreTranslation::fromSql(const FromNode& node, bool nested) {
    if (node.kind != FromNode::Kind::Join) {
        const std::size_t i = sourceCursor_++;
        return sourceSql_[i] + " AS " + scope_.sources[i].sqlAlias;
    }
    std::string sql = fromSql(*node.left, false);
    const char* join = node.joinType == FromNode::JoinType::Left    ? " LEFT JOIN "
                       : node.joinType == FromNode::JoinType::Right ? " RIGHT JOIN "
                                                                    : " INNER JOIN ";
    sql += join + fromSql(*node.right, true);
    sql += " ON " + asCondition(run(Clause::On, *node.on)).sql;
    return nested ? "(" + sql + ")" : sql;
}

void CoreTranslation::addItems() {
    for (const SelectItem& item : core_.items) {
        const Expr& e = *item.expr;
        if (e.kind == Expr::Kind::Star && crosstab_)
            throw errors::starInCrosstab();
        if (e.kind == Expr::Kind::Star) {
            bool found = false;
            for (const ScopeSource& source : scope_.sources) {
                if (!e.parts.empty() && !equalText(source.visibleName(), e.parts[0]))
                    continue;
                found = true;
                for (const SchemaColumn& c : source.columns)
                    columns_.push_back({columnSql(source, c), c.name, source.visibleName(), true});
                markSelected(source.sqlAlias + ".");
            }
            if (!found)
                throw errors::missingSource(e.parts.empty() ? std::string("*") : e.parts[0]);
            continue;
        }
        OutputColumn column;
        const std::size_t usesBefore = checkedColumns_.size();
        column.sql = run(Clause::Select, e);
        for (std::size_t i = usesBefore; i < checkedColumns_.size(); ++i)
            markSelected(checkedColumns_[i].sql);
        if (!item.alias.empty()) {
            column.name = item.alias;
        } else if (e.kind == Expr::Kind::Name && column.sql.sql != "NULL") {
            column.name = e.parts.back();
            column.plainColumn = true;
            for (const ScopeSource& source : scope_.sources)
                if (column.sql.sql.rfind(source.sqlAlias + ".", 0) == 0)
                    column.qualifier = source.visibleName();
        }
        columns_.push_back(std::move(column));
    }
}

// Unnamed expressions become Expr1000, Expr1001, ...; plain columns whose
// names clash are told apart by their source: "Customers.ID".
void CoreTranslation::nameColumns() {
    int next = 1000;
    for (OutputColumn& c : columns_)
        if (c.name.empty())
            c.name = "Expr" + std::to_string(next++);
    for (OutputColumn& c : columns_) {
        if (!c.plainColumn || c.qualifier.empty())
            continue;
        int same = 0;
        for (const OutputColumn& other : columns_)
            same += equalText(other.name, c.name);
        if (same > 1)
            c.qualifier = c.qualifier + "." + c.name;
        else
            c.qualifier.clear();
    }
    for (OutputColumn& c : columns_)
        if (!c.qualifier.empty())
            c.name = c.qualifier;
}

void CoreTranslation::addOrder(const std::vector<OrderItem>& orderBy) {
    const AliasLookup aliases = [this](const std::string& name) -> std::optional<TypedSql> {
        for (std::size_t i = 0; i < core_.items.size() && i < columns_.size(); ++i)
            if (!core_.items[i].alias.empty() && equalText(core_.items[i].alias, name))
                return columns_[i].sql;
        return std::nullopt;
    };
    for (const OrderItem& item : orderBy) {
        if (isConstant(*item.expr))
            continue;
        const TypedSql v = asValue(run(Clause::OrderBy, *item.expr, aliases));
        order_.push_back({v.sql, isTextType(v.type), item.descending});
    }
}

void CoreTranslation::markSelected(const std::string& columnSql) {
    for (std::size_t i = 0; i < scope_.sources.size(); ++i)
        if (columnSql.rfind(scope_.sources[i].sqlAlias + ".", 0) == 0)
            selected_[i] = true;
}

// DISTINCTROW keeps one row per combination of the records behind it, counting
// only the tables that give fields to the select list: grouping by their row
// keys drops the repeats that the other tables' records make. A saved query
// has no row keys; its whole row stands for its record.
std::string CoreTranslation::distinctRowKeys() const {
    if (!core_.distinctRow || core_.distinct || aggregate_ ||
        std::all_of(selected_.begin(), selected_.end(), [](bool s) { return s; }))
        return {};
    std::string keys;
    for (std::size_t i = 0; i < scope_.sources.size(); ++i) {
        if (!selected_[i])
            continue;
        const ScopeSource& source = scope_.sources[i];
        if (sourceSql_[i].rfind('(', 0) != 0) {
            keys += (keys.empty() ? "" : ", ") + source.sqlAlias + ".rowid";
            continue;
        }
        for (const SchemaColumn& column : source.columns)
            keys += (keys.empty() ? "" : ", ") + source.sqlAlias + "." + column.sqlName;
    }
    return keys;
}

// In a query with GROUP BY or aggregates, every column outside an aggregate
// must be one that GROUP BY names.
void CoreTranslation::checkGrouping() {
    if (!aggregate_)
        return;
    for (const ColumnUse& use : checkedColumns_) {
        bool grouped = false;
        for (const std::string& g : groupColumns_)
            grouped = grouped || g == use.sql;
        if (!grouped)
            throw errors::notInAggregate(use.accessText);
    }
}

void CoreTranslation::translate(const std::vector<OrderItem>* orderBy) {
    for (const auto& node : core_.from)
        collectSources(*node);
    for (const auto& node : core_.from)
        from_ += (from_.empty() ? "" : ", ") + fromSql(*node, false);
    selected_.assign(scope_.sources.size(), false);
    addItems();
    if (crosstab_ && core_.where)
        splitWhere();
    else if (core_.where) {
        where_ = asCondition(run(Clause::Where, *core_.where)).sql;
        if (const auto narrowings = narrowingsOf(*core_.where); !narrowings.empty())
            narrowing_ = balanced(narrowings, " AND ");
    }
    for (const auto& g : core_.groupBy) {
        const TypedSql v = asValue(run(Clause::GroupBy, *g));
        groupBy_ +=
            (groupBy_.empty() ? "" : ", ") + keyTerm("(" + v.sql + ")", isTextType(v.type), false);
        groupOrder_.push_back({"(" + v.sql + ")", isTextType(v.type), false});
    }
    if (!core_.groupBy.empty())
        aggregate_ = true;
    if (core_.having)
        having_ = asCondition(run(Clause::Having, *core_.having)).sql;
    for (const Expr* criterion : groupCriteria_) {
        const std::string held = asCondition(run(Clause::Having, *criterion)).sql;
        having_ = having_.empty() ? held : "(" + having_ + " AND " + held + ")";
    }
    if (crosstab_)
        addPivotColumns();
    if (orderBy)
        addOrder(*orderBy);
    if (crosstab_) // its rows come in the order of their headings
        order_.insert(order_.end(), groupOrder_.begin(), groupOrder_.end());
    checkGrouping();
    nameColumns();
    distinctRowKeys_ = distinctRowKeys();
}

std::string CoreTranslation::selectList(std::size_t count) const {
    std::string select = "SELECT ";
    if (core_.distinct)
        select += "DISTINCT ";
    for (std::size_t i = 0; i < columns_.size() && i < count; ++i) {
        const TypedSql out = asStorage(columns_[i].sql);
        select += (i ? ", " : "") + out.sql;
        if ((core_.distinct || collateText_) && isTextType(out.type) &&
            out.form == TypedSql::Form::Value)
            select += std::string(" COLLATE ") + kTextCollation;
        select += " AS " + resultName(i);
    }
    return select;
}

std::string CoreTranslation::body() const {
    std::string body;
    if (!from_.empty())
        body += " FROM " + from_;
    if (!where_.empty())
        body += " WHERE " + narrowed(where_);
    if (!core_.groupBy.empty())
        body += " GROUP BY " + groupBy_;
    else if (!distinctRowKeys_.empty())
        body += " GROUP BY " + distinctRowKeys_;
    if (!having_.empty())
        body += " HAVING " + having_;
    return body;
}

// The criteria that all rows must meet (those joined by And at the top of
// WHERE), each narrowed by an index to the rows it can hold. The chain is
// walked with a stack of its own: a run of thousands of Ands is as deep.
std::vector<std::string> CoreTranslation::narrowingsOf(const Expr& where) {
    // An index or two decide; more terms would only cost their lookups.
    constexpr std::size_t kMostTermsTried = 64;
    std::vector<std::string> narrowings;
    std::vector<const Expr*> pending{&where};
    std::size_t tried = 0;
    while (!pending.empty() && tried < kMostTermsTried) {
        const Expr& e = *pending.back();
        pending.pop_back();
        if (e.kind == Expr::Kind::Binary && e.op == "and") {
            pending.push_back(e.args[1].get());
            pending.push_back(e.args[0].get());
            continue;
        }
        ++tried;
        if (std::string narrowing = narrowingOf(e); !narrowing.empty())
            narrowings.push_back(std::move(narrowing));
    }
    return narrowings;
}

// One criterion narrowed: a Like of a text column or a comparison of a
// number or date column with a constant.
std::string CoreTranslation::narrowingOf(const Expr& e) {
    if (const auto range = comparedRangeOf(e))
        return rangeNarrowingOf(*range);
    if (e.kind != Expr::Kind::Like || e.negated || e.args[0]->kind != Expr::Kind::Name ||
        e.args[1]->kind != Expr::Kind::Text)
        return {};
    const TypedSql value = run(Clause::Where, *e.args[0]);
    if (value.originTable.empty() || !isTextType(value.type))
        return {};
    return context_.schema.narrowLike(value.originTable, value.originColumn, value.originRowid,
                                      e.args[1]->text);
}

// A comparison of a number or date column, narrowed through the column's
// ordered index to its range in stored units.
std::string CoreTranslation::rangeNarrowingOf(const ComparedRange& range) {
    const TypedSql value = run(Clause::Where, *range.field);
    const double units = storedUnitsPerValue(value.type);
    if (value.originTable.empty() || units == 0)
        return {};
    // Room for a constant or a Single rounded on the way, and for dates a
    // day more: before 1899-12-30 a serial's fraction runs the other way.
    const double days = traitsOf(value.type).typeClass == TypeClass::Date ? 1 : 0;
    auto stored = [&](std::optional<double> bound, double direction) -> std::optional<double> {
        if (!bound)
            return std::nullopt;
        const double room = days + 1e-6 * std::max(1.0, std::fabs(*bound));
        return (*bound + direction * room) * units;
    };
    return context_.schema.narrowRange(value.originTable, value.originColumn, value.originRowid,
                                       stored(range.lower, -1), stored(range.upper, 1));
}

std::string CoreTranslation::narrowed(const std::string& condition) const {
    return narrowing_.empty() ? condition : narrowing_ + " AND (" + condition + ")";
}

std::string CoreTranslation::ordering() const {
    std::string sql;
    for (std::size_t i = 0; i < order_.size(); ++i)
        sql += (i ? ", " : " ORDER BY ") +
               keyTerm("(" + order_[i].sql + ")", order_[i].text, order_[i].descending);
    return sql;
}

void CoreTranslation::keyed(TranslatedQuery& result) const {
    if (core_.distinct || core_.top || aggregate_ || !core_.groupBy.empty() || !having_.empty() ||
        scope_.sources.size() != 1 || sourceSql_[0].rfind('(', 0) == 0)
        return;
    const std::string& alias = scope_.sources[0].sqlAlias;
    // The rowid breaks ties, so that the first rows of the order are the
    // same whether a few or all of them are asked for.
    const std::string order = ordering();
    result.keysSql = "SELECT " + alias + ".rowid AS qx_id" + body() +
                     (order.empty() ? " ORDER BY " : order + ", ") + alias + ".rowid";
    result.countSql = "SELECT count(*)" + body();
    // A sort reads every row, so it can count them on the way.
    if (!order.empty())
        result.countedKeysSql = "SELECT " + alias + ".rowid AS qx_id FROM " + from_ + " WHERE " +
                                narrowed("qx_counted(" + (where_.empty() ? "1" : where_) + ")") +
                                order + ", " + alias + ".rowid";
    result.rowsByKeySql =
        selectList() + " FROM {keys} AS qx_k JOIN " + sourceSql_[0] + " AS " + alias + " ON " +
        alias + ".rowid = qx_k.qx_id WHERE qx_k.rowid BETWEEN ?1 AND ?2 ORDER BY qx_k.rowid";
}

std::string CoreTranslation::keyedRows() const {
    if (crosstab_)
        return crosstabRows();
    std::string rows = selectList();
    for (std::size_t i = 0; i < order_.size(); ++i)
        rows += ", " + order_[i].sql + " AS " + keyName(i);
    return rows + body();
}

std::string CoreTranslation::sql() const {
    if (!core_.top && !crosstab_)
        return selectList() + body() + ordering();
    std::string ordering;
    for (std::size_t i = 0; i < order_.size(); ++i)
        ordering += (i ? ", " : "") + keyTerm(keyName(i), order_[i].text, order_[i].descending);
    std::string outer = "SELECT ";
    for (std::size_t i = 0; i < columns_.size(); ++i)
        outer += (i ? ", " : "") + resultName(i);
    if (!core_.top)
        return outer + " FROM (" + keyedRows() + ")" +
               (ordering.empty() ? "" : " ORDER BY " + ordering);
    // TOP keeps ties with the last row, as Access does: rank the rows by the
    // sort keys and keep those ranked within the limit.
    const std::string rank =
        order_.empty() ? "row_number() OVER ()" : "rank() OVER (ORDER BY " + ordering + ")";
    const std::string n = numberLiteral(core_.top->count);
    const std::string keep =
        core_.top->percent ? "(qx_rank - 1) * 100 < qx_count * " + n : "qx_rank <= " + n;
    outer += " FROM (SELECT *, " + rank + " AS qx_rank, count(*) OVER () AS qx_count FROM (" +
             keyedRows() + ")) WHERE " + keep;
    if (!ordering.empty())
        outer += " ORDER BY " + ordering;
    return outer;
}

namespace {

// The result type of a union column: the common type, else a number when
// every branch gives one, else text.
void unifyUnionColumns(std::vector<std::unique_ptr<CoreTranslation>>& cores) {
    const std::size_t width = cores[0]->columns().size();
    for (std::size_t i = 0; i < width; ++i) {
        bool same = true, numeric = true;
        const TypedSql first = asStorage(cores[0]->columns()[i].sql);
        for (auto& core : cores) {
            const TypedSql s = asStorage(core->columns()[i].sql);
            same = same && s.type == first.type && s.form == first.form;
            numeric = numeric && (isNumericType(asValue(s).type) || s.isNullLiteral);
        }
        if (same)
            continue;
        for (auto& core : cores) {
            TypedSql& s = core->columns()[i].sql;
            s = numeric ? TypedSql::value(asValue(s).sql, ColumnType::Double)
                        : TypedSql::value(asText(s), ColumnType::Text);
        }
    }
}

} // namespace

TranslatedQuery translateQuery(TranslationContext& context, const Query& query,
                               const Scope* parent) {
    std::vector<std::unique_ptr<CoreTranslation>> cores;
    const bool single = query.selects.size() == 1;
    const Crosstab* crosstab = query.crosstab ? &*query.crosstab : nullptr;
    for (const SelectCore& core : query.selects) {
        cores.push_back(std::make_unique<CoreTranslation>(context, core, parent, crosstab));
        cores.back()->translate(single ? &query.orderBy : nullptr);
        if (cores.back()->columns().size() != cores[0]->columns().size())
            throw errors::unionColumns();
    }
    TranslatedQuery result;
    if (!single) {
        unifyUnionColumns(cores);
        for (bool all : query.unionAll)
            if (!all)
                cores[0]->collateText();
    }
    const auto& columns = cores[0]->columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const TypedSql out = asStorage(columns[i].sql);
        result.columns.push_back({columns[i].name, out.type, resultName(i)});
    }
    if (single) {
        result.sql = cores[0]->sql();
        // Saved queries are written out wherever a statement names them.
        if (result.sql.size() > kMaxSqlBytes)
            throw errors::tooComplex();
        cores[0]->keyed(result);
        return result;
    }
    std::string sql = "SELECT * FROM (" + cores[0]->sql();
    for (std::size_t i = 1; i < cores.size(); ++i)
        sql += (query.unionAll[i - 1] ? " UNION ALL " : " UNION ") +
               std::string("SELECT * FROM (") + cores[i]->sql() + ")";
    sql += ")";
    std::string ordering;
    for (const OrderItem& item : query.orderBy) {
        if (isConstant(*item.expr))
            continue;
        if (item.expr->kind != Expr::Kind::Name)
            throw errors::orderByClause();
        std::size_t found = columns.size();
        for (std::size_t i = 0; i < columns.size() && found == columns.size(); ++i)
            if (equalText(columns[i].name, item.expr->parts.back()) ||
                equalText(columns[i].name, context.textOf(item.expr->begin, item.expr->end)))
                found = i;
        if (found == columns.size())
            throw errors::orderByClause();
        const bool text = isTextType(result.columns[found].type);
        ordering += (ordering.empty() ? " ORDER BY " : ", ") +
                    keyTerm(resultName(found), text, item.descending);
    }
    result.sql = sql + ordering;
    if (result.sql.size() > kMaxSqlBytes)
        throw errors::tooComplex();
    return result;
}

} // namespace quarix::engine::sql

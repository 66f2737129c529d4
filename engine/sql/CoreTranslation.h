#pragma once

#include "engine/sql/AccessErrors.h"
#include "engine/sql/Ast.h"
#include "engine/sql/ComparedRange.h"
#include "engine/sql/ExpressionTranslator.h"
#include "engine/sql/Limits.h"
#include "engine/sql/TranslationScope.h"
#include "engine/sql/Translator.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine::sql {

struct OutputColumn {
    TypedSql sql;
    std::string name;
    std::string qualifier; // source of a plain column reference, for "T.F" names
    bool plainColumn = false;
};

struct OrderKey {
    std::string sql; // plain value, without collation
    bool text = false;
    bool descending = false;
};

// One SELECT of a query: its sources, result columns and clauses.
class CoreTranslation {
public:
    // crosstab, when given, makes the SELECT a TRANSFORM statement's.
    CoreTranslation(TranslationContext& context, const SelectCore& core, const Scope* parent,
                    const Crosstab* crosstab = nullptr)
        : context_(context), core_(core), crosstab_(crosstab) {
        scope_.parent = parent;
    }

    void translate(const std::vector<OrderItem>* orderBy);
    std::string sql() const;
    // Fills the keyed form of the result when the statement allows it.
    void keyed(TranslatedQuery& result) const;
    std::vector<OutputColumn>& columns() { return columns_; }
    // Text result columns compare without regard to case (DISTINCT, UNION).
    void collateText() { collateText_ = true; }

private:
    void collectSources(const FromNode& node);
    std::string fromSql(const FromNode& node, bool nested);
    void addItems();
    void nameColumns();
    // The first count result columns (all by default).
    std::string selectList(std::size_t count = std::string::npos) const;
    // The rows with their sort keys after their columns, as k0, k1, ...
    std::string keyedRows() const;
    std::string crosstabRows() const;
    std::string body() const;
    std::vector<std::string> narrowingsOf(const Expr& where);
    std::string narrowingOf(const Expr& e);
    std::string rangeNarrowingOf(const ComparedRange& range);
    std::string narrowed(const std::string& condition) const;
    std::string ordering() const;
    void addOrder(const std::vector<OrderItem>& orderBy);
    void checkGrouping();
    void markSelected(const std::string& columnSql);
    std::string distinctRowKeys() const;
    void splitWhere();
    void addPivotColumns();
    std::vector<std::optional<std::string>> headings(const std::string& heading,
                                                     const TypedSql& pivot);
    using AliasLookup = std::function<std::optional<TypedSql>(const std::string&)>;
    using Clause = ExpressionTranslator::Clause;

    // Translates one clause expression and notes what GROUP BY checks need.
    TypedSql run(Clause clause, const Expr& e, AliasLookup aliases = {}) {
        ExpressionTranslator t(context_, scope_, clause, e.begin, e.end);
        t.aliasLookup = std::move(aliases);
        TypedSql result = t.translate(e);
        // Aliases repeat their expression wherever ORDER BY names them.
        bytes_ += result.sql.size();
        if (bytes_ > kMaxSqlBytes)
            throw errors::tooComplex();
        aggregate_ = aggregate_ || t.sawAggregate();
        for (const ColumnUse& use : t.bareColumns()) {
            if (clause == Clause::GroupBy)
                groupColumns_.push_back(use.sql);
            else if (clause == Clause::Select || clause == Clause::Having ||
                     clause == Clause::OrderBy)
                checkedColumns_.push_back(use);
        }
        return result;
    }

    TranslationContext& context_;
    const SelectCore& core_;
    const Crosstab* crosstab_;
    Scope scope_;
    std::vector<std::string> sourceSql_; // parallel to scope_.sources
    std::vector<bool> selected_; // parallel to scope_.sources: a field of it is in the select list
    std::string distinctRowKeys_;
    std::vector<OutputColumn> columns_;
    std::vector<ColumnUse> checkedColumns_;
    std::vector<std::string> groupColumns_;
    std::string from_, where_, groupBy_, having_;
    std::string narrowing_; // what indexes make of where_: rows it can hold
    std::vector<OrderKey> order_;
    std::vector<OrderKey> groupOrder_;       // the GROUP BY keys, a crosstab's default order
    std::vector<const Expr*> groupCriteria_; // a crosstab's WHERE criteria on aggregates
    // A crosstab: its select list's columns (before the headings'), the
    // heading of each source row, the headings, and a cell's value.
    std::size_t itemCount_ = 0;
    std::string heading_;
    std::vector<std::optional<std::string>> headings_;
    TypedSql cellValue_;
    std::size_t bytes_ = 0;
    bool aggregate_ = false;
    bool collateText_ = false;
    std::size_t sourceCursor_ = 0;
};

// The names of result columns ("r0", ...) and sort keys ("k0", ...), quoted.
std::string resultName(std::size_t i);
std::string keyName(std::size_t i);
// A sort term: sql, in the text order for text, descending or not.
std::string keyTerm(const std::string& sql, bool text, bool descending);

} // namespace quarix::engine::sql

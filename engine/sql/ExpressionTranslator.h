#pragma once

#include "engine/sql/Ast.h"
#include "engine/sql/TranslationScope.h"
#include "engine/sql/TypedSql.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine::sql {

class QueryTranslator;

// Translates Access expressions of one clause into SQLite with Access's
// semantics: text compares without regard to case, Null propagates, numbers
// and text convert where Access converts, and unknown names are parameters.
class ExpressionTranslator {
public:
    enum class Clause { Select, Where, On, GroupBy, Having, OrderBy };

    ExpressionTranslator(TranslationContext& context, const Scope& scope, Clause clause,
                         std::size_t clauseBegin, std::size_t clauseEnd);

    TypedSql translate(const Expr& e);

    // Column references outside aggregate functions, for GROUP BY checks.
    const std::vector<ColumnUse>& bareColumns() const { return bareColumns_; }
    bool sawAggregate() const { return sawAggregate_; }

    // ORDER BY may name a result column by its alias.
    std::function<std::optional<TypedSql>(const std::string&)> aliasLookup;

private:
    TypedSql numberSql(const Expr& e);
    TypedSql translateName(const Expr& e);
    TypedSql translateUnary(const Expr& e);
    TypedSql translateBinary(const Expr& e);
    TypedSql translateArithmetic(const std::string& op, const TypedSql& a, const TypedSql& b);
    TypedSql translateLogical(const std::string& op, const TypedSql& a, const TypedSql& b);
    TypedSql translateLike(const Expr& e);
    TypedSql translateBetween(const Expr& e);
    TypedSql translateIn(const Expr& e);
    TypedSql translateSubquery(const Expr& e);
    TypedSql translateCall(const Expr& e);
    TypedSql translateAggregate(const Expr& e, const std::string& name);
    std::optional<TypedSql> translateBuiltIn(const std::string& name,
                                             const std::vector<TypedSql>& args);
    std::vector<TypedSql> translateArgs(const Expr& e);

    TypedSql numericOperand(const TypedSql& e, ColumnType other);
    [[noreturn]] void syntaxError() const;
    [[noreturn]] void argumentCountError() const;

public:
    // A comparison with Access's conversions (op is one of = <> < > <= >=).
    TypedSql compare(const std::string& op, const TypedSql& a, const TypedSql& b);

private:
    TranslationContext& context_;
    const Scope& scope_;
    Clause clause_;
    std::size_t clauseBegin_, clauseEnd_;
    int aggregateDepth_ = 0;
    bool sawAggregate_ = false;
    std::vector<ColumnUse> bareColumns_;
};

} // namespace quarix::engine::sql

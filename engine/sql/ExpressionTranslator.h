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

    // Runs of operators (a chain of nodes down the left operand) are
    // translated in a loop, so only nesting costs stack.
    TypedSql translate(const Expr& e);

    // Column references outside aggregate functions, for GROUP BY checks.
    const std::vector<ColumnUse>& bareColumns() const { return bareColumns_; }
    bool sawAggregate() const { return sawAggregate_; }

    // ORDER BY may name a result column by its alias.
    std::function<std::optional<TypedSql>(const std::string&)> aliasLookup;

private:
    // The run of one operator that a chain is in, kept as its terms until it ends.
    struct OperatorRun {
        enum class Kind { None, Logical, Concat, Sum, Product } kind = Kind::None;
        std::string op;                        // Logical: "and" or "or"
        std::vector<std::string> terms;        // Logical: conditions; Concat: texts
        bool allNull = true;                   // Concat: every term is a Null literal
        std::string body;                      // Sum, Product: "a + b - c"
        ColumnType type = ColumnType::Unknown; // Sum, Product
    };
    // The pieces of a + - or * that SQLite works out itself.
    struct InfixStep {
        std::string left, right;
        ColumnType type;
    };

    TypedSql translateOperand(const Expr& e);
    TypedSql extend(const Expr& node, const TypedSql& left);
    bool joinRun(OperatorRun& run, const std::string& op, const TypedSql& right);
    bool openRun(OperatorRun& run, const std::string& op, const TypedSql& left,
                 const TypedSql& right);
    TypedSql closeRun(OperatorRun& run, TypedSql left);
    void requireSize(std::size_t bytes) const;

    TypedSql numberSql(const Expr& e);
    TypedSql translateName(const Expr& e);
    TypedSql translateUnary(const Expr& e);
    // A comparison, logical or arithmetic operator (& always runs: see openRun).
    TypedSql translateBinary(const std::string& op, const TypedSql& a, const TypedSql& b);
    std::optional<InfixStep> infixStep(const std::string& op, const TypedSql& a, const TypedSql& b);
    TypedSql translateArithmetic(const std::string& op, const TypedSql& a, const TypedSql& b);
    TypedSql translateLogical(const std::string& op, const TypedSql& a, const TypedSql& b);
    TypedSql translateLike(const Expr& e, const TypedSql& value);
    TypedSql translateBetween(const Expr& e, const TypedSql& value);
    TypedSql translateIn(const Expr& e, const TypedSql& value);
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

// Chains of operators: a run of operators written one after the other
// parses into nodes that each hold the run before them as their left
// operand. They are translated in a loop along that left edge, and runs of
// one operator are written so that SQLite's parser does not nest on them:
// And and Or as a balanced tree (any grouping gives the same truth value),
// & as calls of acc_cat with many arguments (it is associative), and + -
// and * as one flat sum or product, evaluated from the left as written.
#include "engine/sql/AccessErrors.h"
#include "engine/sql/ExpressionTranslator.h"
#include "engine/sql/Limits.h"

namespace quarix::engine::sql {

namespace {

// SQLite takes at most 127 arguments in one call.
constexpr std::size_t kCatArguments = 100;

bool chainsLeft(const Expr& e) {
    return e.kind == Expr::Kind::Binary || e.kind == Expr::Kind::Like ||
           e.kind == Expr::Kind::Between || e.kind == Expr::Kind::In ||
           e.kind == Expr::Kind::IsNull;
}

bool runsOn(const Expr& e) {
    return e.kind == Expr::Kind::Binary && (e.op == "and" || e.op == "or" || e.op == "&" ||
                                            e.op == "+" || e.op == "-" || e.op == "*");
}

bool logicalOperands(const TypedSql& a, const TypedSql& b) {
    auto bitwise = [](const TypedSql& e) {
        return e.form != TypedSql::Form::Condition && isNumericType(asValue(e).type);
    };
    return !bitwise(a) || !bitwise(b) ||
           (asValue(a).type == ColumnType::Boolean && asValue(b).type == ColumnType::Boolean);
}

std::string concatenation(std::vector<std::string> texts) {
    while (texts.size() > 1) {
        std::vector<std::string> calls;
        for (std::size_t i = 0; i < texts.size(); i += kCatArguments) {
            const std::size_t end = std::min(texts.size(), i + kCatArguments);
            if (end - i == 1) {
                calls.push_back(std::move(texts[i]));
                continue;
            }
            std::string call = "acc_cat(";
            for (std::size_t j = i; j < end; ++j)
                call += (j > i ? ", " : "") + texts[j];
            calls.push_back(call + ")");
        }
        texts = std::move(calls);
    }
    return texts.front();
}

} // namespace

void ExpressionTranslator::requireSize(std::size_t bytes) const {
    if (bytes > kMaxSqlBytes)
        throw errors::tooComplex();
}

TypedSql ExpressionTranslator::translate(const Expr& e) {
    std::vector<const Expr*> chain;
    const Expr* first = &e;
    for (; chainsLeft(*first); first = first->args[0].get())
        chain.push_back(first);
    TypedSql left = translateOperand(*first);
    OperatorRun run;
    std::size_t runBytes = 0;
    // Other steps wrap what came before them: SQLite nests on each.
    int wrapped = 0;
    auto wrap = [&](TypedSql sql) {
        if (++wrapped > kMaxNesting)
            throw errors::tooComplex();
        requireSize(sql.sql.size());
        return sql;
    };
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Expr& node = **it;
        if (!runsOn(node)) {
            left = wrap(extend(node, closeRun(run, std::move(left))));
            continue;
        }
        const TypedSql right = translate(*node.args[1]);
        runBytes += right.sql.size();
        requireSize(runBytes);
        if (joinRun(run, node.op, right))
            continue;
        left = closeRun(run, std::move(left));
        runBytes = left.sql.size() + right.sql.size();
        if (!openRun(run, node.op, left, right))
            left = wrap(translateBinary(node.op, left, right));
    }
    return closeRun(run, std::move(left));
}

bool ExpressionTranslator::joinRun(OperatorRun& run, const std::string& op, const TypedSql& right) {
    using Kind = OperatorRun::Kind;
    switch (run.kind) {
    case Kind::None:
        return false;
    case Kind::Logical:
        if (op != run.op)
            return false;
        run.terms.push_back(asCondition(right).sql);
        return true;
    case Kind::Concat:
        if (op != "&")
            return false;
        run.terms.push_back(asText(right));
        run.allNull = run.allNull && right.isNullLiteral;
        return true;
    case Kind::Sum:
    case Kind::Product:
        break;
    }
    const bool sumOperator = op == "+" || op == "-";
    if (run.kind == Kind::Sum ? !sumOperator : op != "*")
        return false;
    // Only the type of the run so far matters to the step, not its text.
    const auto step = infixStep(op, TypedSql::value({}, run.type), right);
    if (!step)
        return false;
    run.body += " " + op + " " + step->right;
    run.type = step->type;
    return true;
}

bool ExpressionTranslator::openRun(OperatorRun& run, const std::string& op, const TypedSql& left,
                                   const TypedSql& right) {
    using Kind = OperatorRun::Kind;
    if (op == "and" || op == "or") {
        if (!logicalOperands(left, right))
            return false;
        run = {Kind::Logical, op, {asCondition(left).sql, asCondition(right).sql}, true, {}, {}};
        return true;
    }
    if (op == "&") {
        run = {Kind::Concat,
               op,
               {asText(left), asText(right)},
               left.isNullLiteral && right.isNullLiteral,
               {},
               {}};
        return true;
    }
    const auto step = infixStep(op, left, right);
    if (!step)
        return false;
    run = {op == "*" ? Kind::Product : Kind::Sum,     op,        {}, true,
           step->left + " " + op + " " + step->right, step->type};
    return true;
}

TypedSql ExpressionTranslator::closeRun(OperatorRun& run, TypedSql left) {
    using Kind = OperatorRun::Kind;
    TypedSql result;
    switch (run.kind) {
    case Kind::None:
        return left;
    case Kind::Logical:
        result = TypedSql::condition(balanced(run.terms, run.op == "and" ? " AND " : " OR "));
        break;
    case Kind::Concat:
        if (run.allNull) {
            result = TypedSql::value("NULL", ColumnType::Unknown);
            result.isNullLiteral = true;
        } else {
            result = TypedSql::value(concatenation(std::move(run.terms)), ColumnType::Text);
        }
        break;
    case Kind::Sum:
    case Kind::Product:
        result = TypedSql::value("(" + run.body + ")", run.type);
        break;
    }
    run = {};
    requireSize(result.sql.size());
    return result;
}

} // namespace quarix::engine::sql

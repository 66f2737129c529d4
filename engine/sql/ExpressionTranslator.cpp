#include "engine/sql/ExpressionTranslator.h"

#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessErrors.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/QueryTranslator.h"

#include <charconv>

namespace quarix::engine::sql {

TypedSql columnSql(const ScopeSource& source, const SchemaColumn& column) {
    TypedSql t = TypedSql::value(source.sqlAlias + "." + column.sqlName, column.type);
    if (!source.table.empty()) {
        t.originTable = source.table;
        t.originColumn = column.sqlName;
        t.originRowid = source.sqlAlias + ".rowid";
    }
    const ColumnTypeTraits& traits = traitsOf(column.type);
    if (traits.typeClass == TypeClass::Currency)
        t.form = TypedSql::Form::ScaledCurrency;
    else if (traits.typeClass == TypeClass::Decimal)
        t.form = TypedSql::Form::RawDecimal;
    else if (traits.typeClass == TypeClass::Date && traits.storage == Storage::Text)
        t.form = TypedSql::Form::RawExtendedDate;
    return t;
}

ExpressionTranslator::ExpressionTranslator(TranslationContext& context, const Scope& scope,
                                           Clause clause, std::size_t clauseBegin,
                                           std::size_t clauseEnd)
    : context_(context), scope_(scope), clause_(clause), clauseBegin_(clauseBegin),
      clauseEnd_(clauseEnd) {}

void ExpressionTranslator::syntaxError() const {
    throw errors::missingOperator(context_.textOf(clauseBegin_, clauseEnd_));
}

void ExpressionTranslator::argumentCountError() const {
    throw errors::wrongArgumentCount(context_.textOf(clauseBegin_, clauseEnd_));
}

TypedSql ExpressionTranslator::translateOperand(const Expr& e) {
    switch (e.kind) {
    case Expr::Kind::Number:
        return numberSql(e);
    case Expr::Kind::Text: {
        TypedSql t = TypedSql::value(quoteText(e.text), ColumnType::Text);
        t.isTextLiteral = true;
        t.literal = e.text;
        return t;
    }
    case Expr::Kind::Date:
        return TypedSql::value(numberLiteral(e.number), ColumnType::DateTime);
    case Expr::Kind::Boolean:
        return TypedSql::value(e.number != 0 ? "-1" : "0", ColumnType::Boolean);
    case Expr::Kind::Null: {
        TypedSql t = TypedSql::value("NULL", ColumnType::Unknown);
        t.isNullLiteral = true;
        return t;
    }
    case Expr::Kind::Name:
        return translateName(e);
    case Expr::Kind::Star:
        syntaxError();
    case Expr::Kind::Unary:
        return translateUnary(e);
    case Expr::Kind::Binary:
    case Expr::Kind::Like:
    case Expr::Kind::Between:
    case Expr::Kind::In:
    case Expr::Kind::IsNull:
        return translate(e);
    case Expr::Kind::Call:
        return translateCall(e);
    case Expr::Kind::Subquery:
        return translateSubquery(e);
    case Expr::Kind::Exists: {
        const TranslatedQuery q = translateQuery(context_, *e.query, &scope_);
        return TypedSql::condition("EXISTS (" + q.sql + ")");
    }
    }
    syntaxError();
}

// One node of a chain, on its translated left operand.
TypedSql ExpressionTranslator::extend(const Expr& node, const TypedSql& left) {
    switch (node.kind) {
    case Expr::Kind::Binary:
        return translateBinary(node.op, left, translate(*node.args[1]));
    case Expr::Kind::Like:
        return translateLike(node, left);
    case Expr::Kind::Between:
        return translateBetween(node, left);
    case Expr::Kind::In:
        return translateIn(node, left);
    default:
        return TypedSql::condition("(" + left.sql + (node.negated ? " IS NOT NULL)" : " IS NULL)"));
    }
}

// Whole numbers keep every digit: a Large Number compares exactly only with
// an integer, and through a double the last digits of 2^53 + 1 are lost.
TypedSql ExpressionTranslator::numberSql(const Expr& e) {
    std::int64_t whole = 0;
    const char* end = e.text.data() + e.text.size();
    if (!e.text.empty() && e.text.find_first_not_of("0123456789") == std::string::npos &&
        std::from_chars(e.text.data(), end, whole).ptr == end)
        return TypedSql::value(std::to_string(whole),
                               e.isInteger ? ColumnType::Long : ColumnType::Double);
    return TypedSql::value(numberLiteral(e.number), ColumnType::Double);
}

TypedSql ExpressionTranslator::translateName(const Expr& e) {
    const std::string written = context_.textOf(e.begin, e.end);
    if (e.parts.size() <= 2) {
        int level = 0;
        for (const Scope* scope = &scope_; scope; scope = scope->parent, ++level) {
            const ScopeSource* foundSource = nullptr;
            const SchemaColumn* foundColumn = nullptr;
            for (const ScopeSource& source : scope->sources) {
                if (e.parts.size() == 2 && !equalText(source.visibleName(), e.parts[0]))
                    continue;
                for (const SchemaColumn& column : source.columns) {
                    if (!equalText(column.name, e.parts.back()))
                        continue;
                    if (foundColumn && foundSource != &source)
                        throw errors::ambiguousField(e.parts.back());
                    foundSource = &source;
                    foundColumn = &column;
                    break;
                }
            }
            if (foundColumn) {
                TypedSql t = columnSql(*foundSource, *foundColumn);
                if (level == 0 && aggregateDepth_ == 0)
                    bareColumns_.push_back({t.sql, written});
                return t;
            }
        }
        if (e.parts.size() == 1 && aliasLookup) {
            if (auto aliased = aliasLookup(e.parts[0]))
                return *aliased;
        }
    }
    const auto [sql, type] = context_.parameters.use(parameterPromptName(written));
    return TypedSql::value(sql, type);
}

TypedSql ExpressionTranslator::numericOperand(const TypedSql& e, ColumnType other) {
    const TypedSql v = asValue(e);
    if (isNumericType(v.type) || v.isNullLiteral)
        return v;
    if (v.isTextLiteral) {
        if (other == ColumnType::DateTime || other == ColumnType::DateTimeExtended) {
            if (const auto serial = parseDateText(v.literal))
                return TypedSql::value(numberLiteral(*serial), ColumnType::DateTime);
        }
        double number = 0;
        if (parseNumber(v.literal, number))
            return TypedSql::value(numberLiteral(number), ColumnType::Double);
        throw errors::typeMismatch();
    }
    if (other == ColumnType::DateTime)
        return TypedSql::value("acc_cdate(" + v.sql + ")", ColumnType::DateTime);
    return TypedSql::value("acc_num(" + v.sql + ")", ColumnType::Double);
}

TypedSql ExpressionTranslator::compare(const std::string& op, const TypedSql& a,
                                       const TypedSql& b) {
    if (a.isNullLiteral || b.isNullLiteral)
        return TypedSql::condition("NULL");
    TypedSql va = asValue(a), vb = asValue(b);
    auto plain = [](ColumnType t) { return isTextType(t) || isNumericType(t); };
    if (isTextType(va.type) && isTextType(vb.type))
        return TypedSql::condition("((" + va.sql + ") " + op + " (" + vb.sql + ") COLLATE " +
                                   kTextCollation + ")");
    if (!plain(va.type) || !plain(vb.type))
        return TypedSql::condition("(acc_cmp(" + va.sql + ", " + vb.sql + ") " + op + " 0)");
    if (isTextType(va.type))
        va = numericOperand(va, vb.type);
    else if (isTextType(vb.type))
        vb = numericOperand(vb, va.type);
    return TypedSql::condition("((" + va.sql + ") " + op + " (" + vb.sql + "))");
}

TypedSql ExpressionTranslator::translateUnary(const Expr& e) {
    const TypedSql a = translate(*e.args[0]);
    if (e.op == "-") {
        if (a.isNullLiteral)
            return a;
        TypedSql v = numericOperand(a, ColumnType::Double);
        v.sql = "(-(" + v.sql + "))";
        if (v.type == ColumnType::Boolean)
            v.type = ColumnType::Integer;
        return v;
    }
    const TypedSql v = asValue(a);
    if (a.form != TypedSql::Form::Condition && isNumericType(v.type) &&
        v.type != ColumnType::Boolean)
        return TypedSql::value("(~acc_clng(" + v.sql + "))", ColumnType::Long);
    return TypedSql::condition("(NOT " + asCondition(a).sql + ")");
}

TypedSql ExpressionTranslator::translateBinary(const std::string& op, const TypedSql& a,
                                               const TypedSql& b) {
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=")
        return compare(op, a, b);
    if (op == "and" || op == "or" || op == "xor" || op == "eqv" || op == "imp")
        return translateLogical(op, a, b);
    return translateArithmetic(op, a, b);
}

TypedSql ExpressionTranslator::translateLogical(const std::string& op, const TypedSql& a,
                                                const TypedSql& b) {
    const TypedSql va = asValue(a), vb = asValue(b);
    auto bitwise = [](const TypedSql& raw, const TypedSql& v) {
        return raw.form != TypedSql::Form::Condition && isNumericType(v.type);
    };
    if (bitwise(a, va) && bitwise(b, vb) &&
        (va.type != ColumnType::Boolean || vb.type != ColumnType::Boolean)) {
        const std::string x = "acc_clng(" + va.sql + ")", y = "acc_clng(" + vb.sql + ")";
        std::string sql;
        if (op == "and")
            sql = "(" + x + " & " + y + ")";
        else if (op == "or")
            sql = "(" + x + " | " + y + ")";
        else if (op == "xor")
            sql = "((" + x + " | " + y + ") - (" + x + " & " + y + "))";
        else if (op == "eqv")
            sql = "(~((" + x + " | " + y + ") - (" + x + " & " + y + ")))";
        else
            sql = "((~" + x + ") | " + y + ")";
        return TypedSql::value(sql, ColumnType::Long);
    }
    const std::string x = asCondition(a).sql, y = asCondition(b).sql;
    if (op == "and")
        return TypedSql::condition("(" + x + " AND " + y + ")");
    if (op == "or")
        return TypedSql::condition("(" + x + " OR " + y + ")");
    if (op == "xor")
        return TypedSql::condition("(" + x + " <> " + y + ")");
    if (op == "eqv")
        return TypedSql::condition("(" + x + " = " + y + ")");
    return TypedSql::condition("((NOT " + x + ") OR " + y + ")");
}

namespace {

int numericRank(ColumnType t) {
    if (isIntegerType(t))
        return 1;
    if (t == ColumnType::Currency)
        return 2;
    return 3;
}

ColumnType rankType(int rank) {
    return rank == 1 ? ColumnType::Long : rank == 2 ? ColumnType::Currency : ColumnType::Double;
}

} // namespace

std::optional<ExpressionTranslator::InfixStep>
ExpressionTranslator::infixStep(const std::string& op, const TypedSql& a, const TypedSql& b) {
    if ((op != "+" && op != "-" && op != "*") || a.isNullLiteral || b.isNullLiteral)
        return std::nullopt;
    const TypedSql va = asValue(a), vb = asValue(b);
    if (op == "+" && ((isTextType(va.type) && isTextType(vb.type)) ||
                      va.type == ColumnType::Unknown || vb.type == ColumnType::Unknown ||
                      va.type == ColumnType::Binary || vb.type == ColumnType::Binary))
        return std::nullopt;
    const TypedSql x = numericOperand(va, vb.type), y = numericOperand(vb, va.type);
    ColumnType type;
    const bool dateA = x.type == ColumnType::DateTime, dateB = y.type == ColumnType::DateTime;
    if (op == "+" && (dateA || dateB))
        type = ColumnType::DateTime;
    else if (op == "-" && dateA)
        type = dateB ? ColumnType::Double : ColumnType::DateTime;
    else
        type = rankType(std::max(numericRank(x.type), numericRank(y.type)));
    return InfixStep{x.sql, y.sql, type};
}

TypedSql ExpressionTranslator::translateArithmetic(const std::string& op, const TypedSql& a,
                                                   const TypedSql& b) {
    if (a.isNullLiteral || b.isNullLiteral) {
        TypedSql t = TypedSql::value("NULL", ColumnType::Unknown);
        t.isNullLiteral = true;
        return t;
    }
    if (const auto step = infixStep(op, a, b))
        return TypedSql::value("(" + step->left + " " + op + " " + step->right + ")", step->type);
    const TypedSql va = asValue(a), vb = asValue(b);
    if (op == "+") {
        if (isTextType(va.type) && isTextType(vb.type))
            return TypedSql::value("(" + va.sql + " || " + vb.sql + ")", ColumnType::Text);
        return TypedSql::value("acc_add(" + va.sql + ", " + vb.sql + ")", ColumnType::Unknown);
    }
    const TypedSql x = numericOperand(va, vb.type), y = numericOperand(vb, va.type);
    if (op == "/")
        return TypedSql::value("acc_div(" + x.sql + ", " + y.sql + ")", ColumnType::Double);
    if (op == "\\")
        return TypedSql::value("acc_idiv(" + x.sql + ", " + y.sql + ")", ColumnType::Long);
    if (op == "mod")
        return TypedSql::value("acc_mod(" + x.sql + ", " + y.sql + ")", ColumnType::Long);
    return TypedSql::value("acc_pow(" + x.sql + ", " + y.sql + ")", ColumnType::Double);
}

TypedSql ExpressionTranslator::translateLike(const Expr& e, const TypedSql& value) {
    const TypedSql pattern = translate(*e.args[1]);
    if (value.isNullLiteral || pattern.isNullLiteral)
        return TypedSql::condition("NULL");
    const std::string like = "acc_like(" + asText(pattern) + ", " + asText(value) + ")";
    return TypedSql::condition(e.negated ? "(NOT " + like + ")" : like);
}

namespace {

// The value of a number or date literal, negated or not.
std::optional<double> constantNumber(const Expr& e) {
    if (e.kind == Expr::Kind::Number || e.kind == Expr::Kind::Date || e.kind == Expr::Kind::Boolean)
        return e.number;
    if (e.kind == Expr::Kind::Unary && e.op == "-")
        if (const auto inner = constantNumber(*e.args[0]))
            return -*inner;
    return std::nullopt;
}

// Whether two literal bounds stand in descending order; nullopt when that
// is only known at run time.
std::optional<bool> literalBoundsDescend(const Expr& low, const Expr& high) {
    if (low.kind == Expr::Kind::Text && high.kind == Expr::Kind::Text)
        return compareText(low.text, high.text) > 0;
    const auto a = constantNumber(low), b = constantNumber(high);
    if (a && b)
        return *a > *b;
    return std::nullopt;
}

} // namespace

// Between matches whichever way round the bounds are written; literal
// bounds are put in order here, others are tried both ways.
TypedSql ExpressionTranslator::translateBetween(const Expr& e, const TypedSql& value) {
    requireSize(value.sql.size() * 4); // value is written up to four times
    const std::optional<bool> descending = literalBoundsDescend(*e.args[1], *e.args[2]);
    const bool swap = descending.value_or(false);
    const TypedSql low = translate(*e.args[swap ? 2 : 1]);
    const TypedSql high = translate(*e.args[swap ? 1 : 2]);
    auto within = [&](const TypedSql& from, const TypedSql& to) {
        return "(" + compare(">=", value, from).sql + " AND " + compare("<=", value, to).sql + ")";
    };
    std::string both = within(low, high);
    if (!descending)
        both = "(" + both + " OR " + within(high, low) + ")";
    return TypedSql::condition(e.negated ? "(NOT " + both + ")" : both);
}

TypedSql ExpressionTranslator::translateIn(const Expr& e, const TypedSql& value) {
    std::string sql;
    if (e.query) {
        const TranslatedQuery q = translateQuery(context_, *e.query, &scope_);
        if (q.columns.size() != 1)
            throw EngineError(
                3306,
                "You have written a subquery that can return more than one field without using "
                "the EXISTS reserved word in the main query's FROM clause. Revise the SELECT "
                "statement of the subquery to request only one field.");
        const ScopeSource inner{"", "", "qx_in", {}, {}};
        const TypedSql column =
            asValue(columnSql(inner, {q.columns[0].name, q.columns[0].type, q.columns[0].sqlName}));
        const TypedSql v = asValue(value);
        sql = "(" + (isTextType(v.type) ? withCollation(v) : "(" + v.sql + ")") + " IN (SELECT " +
              column.sql + " FROM (" + q.sql + ") AS qx_in))";
    } else {
        requireSize(value.sql.size() * (e.args.size() - 1)); // value is written once per item
        std::vector<std::string> matches;
        for (std::size_t i = 1; i < e.args.size(); ++i)
            matches.push_back(compare("=", value, translate(*e.args[i])).sql);
        sql = balanced(matches, " OR ");
    }
    return TypedSql::condition(e.negated ? "(NOT " + sql + ")" : sql);
}

TypedSql ExpressionTranslator::translateSubquery(const Expr& e) {
    const TranslatedQuery q = translateQuery(context_, *e.query, &scope_);
    if (q.columns.size() != 1)
        syntaxError();
    const ScopeSource inner{"", "", "qx_sq", {}, {}};
    const TypedSql column =
        asValue(columnSql(inner, {q.columns[0].name, q.columns[0].type, q.columns[0].sqlName}));
    return TypedSql::value("(SELECT " + column.sql + " FROM (" + q.sql + ") AS qx_sq)",
                           column.type);
}

} // namespace quarix::engine::sql

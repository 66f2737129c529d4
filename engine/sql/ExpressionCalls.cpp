// Function calls and aggregates in Access expressions.
#include "engine/sql/AccessErrors.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/ExpressionTranslator.h"
#include "engine/sql/FunctionCatalogue.h"

namespace quarix::engine::sql {

namespace {

// Result type of Int, Fix, Abs and Round: the argument's numeric type.
ColumnType sameNumericType(ColumnType t) {
    if (isIntegerType(t))
        return t == ColumnType::Boolean ? ColumnType::Integer : t;
    if (t == ColumnType::Currency || t == ColumnType::Single || t == ColumnType::DateTime)
        return t;
    return ColumnType::Double;
}

} // namespace

std::vector<TypedSql> ExpressionTranslator::translateArgs(const Expr& e) {
    std::vector<TypedSql> args;
    for (const auto& a : e.args)
        args.push_back(translate(*a));
    return args;
}

TypedSql ExpressionTranslator::translateCall(const Expr& e) {
    const std::string name = lowerAscii(e.text);
    if (isAggregateFunction(name))
        return translateAggregate(e, name);
    if (e.starArgument)
        syntaxError();
    const std::vector<TypedSql> args = translateArgs(e);
    auto requireArgs = [&](std::size_t lo, std::size_t hi) {
        if (args.size() < lo || args.size() > hi)
            argumentCountError();
    };
    if (auto builtIn = translateBuiltIn(name, args))
        return *builtIn;
    const FunctionInfo* info = findFunction(name);
    const bool textForm = !info && name.size() > 1 && name.back() == '$' &&
                          hasTextForm(name.substr(0, name.size() - 1));
    if (textForm)
        info = findFunction(name.substr(0, name.size() - 1));
    if (!info)
        throw errors::undefinedFunction(e.text);
    if (isWholePartFunction(name) && args.size() == 1 && isIntegerType(asValue(args[0]).type)) {
        // A whole number is its own whole part; the functions work in doubles,
        // which would round a Large Number.
        const TypedSql v = asValue(args[0]);
        return TypedSql::value(v.sql, sameNumericType(v.type));
    }
    requireArgs(static_cast<std::size_t>(info->minArgs), static_cast<std::size_t>(info->maxArgs));
    std::string sql = std::string(info->sqlName) + "(";
    std::string kinds = info->argKinds;
    if (info->optionalFirst && args.size() < static_cast<std::size_t>(info->maxArgs) - 1)
        kinds.erase(0, 1);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const char kind = kinds[std::min(i, kinds.size() - 1)];
        if (i > 0)
            sql += ", ";
        if (kind == 't') {
            sql += asText(args[i]);
        } else {
            const TypedSql v = asValue(args[i]);
            sql += v.sql;
            if (kind == 'a')
                sql += ", " + std::to_string(static_cast<int>(v.type));
        }
    }
    sql += ")";
    if (textForm)
        return TypedSql::value("acc_nonnull(" + sql + ")", ColumnType::Text);
    ColumnType type = info->type;
    if (info->result == FunctionInfo::Result::SameAsFirst)
        type = sameNumericType(asValue(args[0]).type);
    return TypedSql::value(sql, type);
}

TypedSql ExpressionTranslator::translateAggregate(const Expr& e, const std::string& name) {
    if (clause_ == Clause::Where || clause_ == Clause::On || clause_ == Clause::GroupBy ||
        aggregateDepth_ > 0)
        throw errors::aggregateInWhere(context_.textOf(clauseBegin_, clauseEnd_));
    if (e.starArgument && name != "count")
        syntaxError();
    if (!e.starArgument && e.args.size() != 1)
        argumentCountError();
    sawAggregate_ = true;
    if (e.starArgument)
        return TypedSql::value("count(*)", ColumnType::Long);
    TypedSql result;
    ++aggregateDepth_;
    const TypedSql a = translate(*e.args[0]);
    --aggregateDepth_;
    const TypedSql v = asValue(a);
    if (name == "count") {
        result = TypedSql::value("count(" + a.sql + ")", ColumnType::Long);
    } else if (name == "sum" || name == "avg") {
        if (a.form == TypedSql::Form::ScaledCurrency) {
            result = TypedSql::value(name == "sum" ? "sum(" + a.sql + ")"
                                                   : "CAST(round(avg(" + a.sql + ")) AS INTEGER)",
                                     ColumnType::Currency);
            result.form = TypedSql::Form::ScaledCurrency;
        } else {
            const TypedSql n = numericOperand(v, ColumnType::Double);
            ColumnType type = ColumnType::Double;
            if (n.type == ColumnType::Currency)
                type = ColumnType::Currency;
            else if (name == "sum" && isIntegerType(n.type))
                type = ColumnType::Long;
            result = TypedSql::value(name + "(" + n.sql + ")", type);
        }
    } else if (name == "min" || name == "max" || name == "first" || name == "last") {
        const bool keepForm =
            a.form == TypedSql::Form::Value || a.form == TypedSql::Form::ScaledCurrency;
        const TypedSql& arg = keepForm ? a : v;
        const std::string fn = name == "min" || name == "max" ? name : "acc_" + name;
        const bool collate = (name == "min" || name == "max") && isTextType(arg.type);
        result = arg;
        result.sql = fn + "(" + (collate ? withCollation(arg) : arg.sql) + ")";
    } else {
        const TypedSql n = numericOperand(v, ColumnType::Double);
        result = TypedSql::value("acc_" + name + "(" + n.sql + ")", ColumnType::Double);
    }
    result.isNullLiteral = false;
    result.isTextLiteral = false;
    return result;
}

} // namespace quarix::engine::sql

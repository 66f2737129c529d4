// The functions the translator writes out itself rather than calling one
// registered function: IIf, Nz, Choose and Switch (only the chosen value is
// evaluated), IsNull, CStr, and VarType and TypeName where the type is known.
#include "engine/sql/ExpressionTranslator.h"

namespace quarix::engine::sql {

namespace {

ColumnType commonType(const TypedSql& a, const TypedSql& b) {
    if (a.isNullLiteral)
        return b.type;
    if (b.isNullLiteral || a.type == b.type)
        return a.type;
    return ColumnType::Unknown;
}

// The common type of the arguments first, first + step, ...
ColumnType commonType(const std::vector<TypedSql>& args, std::size_t first, std::size_t step) {
    TypedSql common = asValue(args[first]);
    for (std::size_t i = first + step; i < args.size(); i += step) {
        const TypedSql v = asValue(args[i]);
        common.type = commonType(common, v);
        common.isNullLiteral = common.isNullLiteral && v.isNullLiteral;
    }
    return common.type;
}

struct VariantType {
    int code;
    const char* name;
};

// VarType and TypeName of a value of a known static type (not Null).
std::optional<VariantType> variantTypeOf(ColumnType type) {
    const ColumnTypeTraits& traits = traitsOf(type);
    if (traits.varType < 0)
        return std::nullopt;
    return VariantType{traits.varType, traits.typeName};
}

} // namespace

std::optional<TypedSql> ExpressionTranslator::translateBuiltIn(const std::string& name,
                                                               const std::vector<TypedSql>& args) {
    auto requireArgs = [&](std::size_t lo, std::size_t hi) {
        if (args.size() < lo || args.size() > hi)
            argumentCountError();
    };
    if (name == "iif") {
        requireArgs(3, 3);
        const TypedSql a = asValue(args[1]), b = asValue(args[2]);
        return TypedSql::value("(CASE WHEN " + asCondition(args[0]).sql + " THEN " + a.sql +
                                   " ELSE " + b.sql + " END)",
                               commonType(a, b));
    }
    if (name == "nz") {
        requireArgs(1, 2);
        const TypedSql a = asValue(args[0]);
        if (args.size() == 1)
            return TypedSql::value("coalesce(" + a.sql + ", '')",
                                   isTextType(a.type) ? ColumnType::Text : ColumnType::Unknown);
        const TypedSql b = asValue(args[1]);
        return TypedSql::value("coalesce(" + a.sql + ", " + b.sql + ")", commonType(a, b));
    }
    if (name == "choose") {
        requireArgs(2, 256);
        std::string sql = "(CASE acc_chooseindex(" + asValue(args[0]).sql + ")";
        for (std::size_t i = 1; i < args.size(); ++i)
            sql += " WHEN " + std::to_string(i) + " THEN " + asValue(args[i]).sql;
        return TypedSql::value(sql + " END)", commonType(args, 1, 1));
    }
    if (name == "switch") {
        if (args.empty() || args.size() % 2 != 0)
            argumentCountError();
        std::string sql = "(CASE";
        for (std::size_t i = 0; i < args.size(); i += 2)
            sql += " WHEN " + asCondition(args[i]).sql + " THEN " + asValue(args[i + 1]).sql;
        return TypedSql::value(sql + " END)", commonType(args, 1, 2));
    }
    if (name == "isnull") {
        requireArgs(1, 1);
        return TypedSql::condition("(" + args[0].sql + " IS NULL)");
    }
    if (name == "cstr") {
        requireArgs(1, 1);
        return TypedSql::value(asText(args[0]), ColumnType::Text);
    }
    if (name == "vartype" || name == "typename") {
        requireArgs(1, 1);
        const bool code = name == "vartype";
        if (args[0].isNullLiteral)
            return TypedSql::value(code ? "1" : "'Null'",
                                   code ? ColumnType::Integer : ColumnType::Text);
        const TypedSql v = asValue(args[0]);
        const std::optional<VariantType> known = variantTypeOf(args[0].type);
        const std::string whenNull = code ? "1" : "'Null'";
        const std::string otherwise =
            !known ? std::string(code ? "acc_vartype(" : "acc_typename(") + v.sql + ")"
            : code ? std::to_string(known->code)
                   : quoteText(known->name);
        return TypedSql::value("(CASE WHEN " + v.sql + " IS NULL THEN " + whenNull + " ELSE " +
                                   otherwise + " END)",
                               code ? ColumnType::Integer : ColumnType::Text);
    }
    return std::nullopt;
}

} // namespace quarix::engine::sql

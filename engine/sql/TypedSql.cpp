#include "engine/sql/TypedSql.h"

#include <cmath>
#include <cstdio>

namespace quarix::engine::sql {

bool isTextType(ColumnType type) {
    return traitsOf(type).typeClass == TypeClass::Text;
}

bool isIntegerType(ColumnType type) {
    const TypeClass c = traitsOf(type).typeClass;
    return c == TypeClass::Boolean || c == TypeClass::Integer;
}

bool isNumericType(ColumnType type) {
    const TypeClass c = traitsOf(type).typeClass;
    return c != TypeClass::Text && c != TypeClass::Binary && c != TypeClass::None;
}

TypedSql asValue(const TypedSql& e) {
    TypedSql v = e;
    switch (e.form) {
    case TypedSql::Form::Value:
        return e;
    case TypedSql::Form::Condition:
        v.sql = "(-(" + e.sql + "))";
        v.type = ColumnType::Boolean;
        break;
    case TypedSql::Form::ScaledCurrency:
        v.sql = "(" + e.sql + "/10000.0)";
        break;
    case TypedSql::Form::RawDecimal:
        v.sql = "CAST(" + e.sql + " AS REAL)";
        v.type = ColumnType::Double;
        break;
    case TypedSql::Form::RawExtendedDate:
        v.sql = "acc_dtx(" + e.sql + ")";
        v.type = ColumnType::DateTime;
        break;
    }
    v.form = TypedSql::Form::Value;
    return v;
}

TypedSql asCondition(const TypedSql& e) {
    if (e.form == TypedSql::Form::Condition)
        return e;
    TypedSql c = e;
    c.form = TypedSql::Form::Condition;
    c.type = ColumnType::Boolean;
    if (e.isNullLiteral)
        return c;
    const TypedSql v = asValue(e);
    if (isNumericType(v.type))
        c.sql = "(" + v.sql + " <> 0)";
    else
        c.sql = "acc_bool(" + v.sql + ")";
    return c;
}

std::string asText(const TypedSql& e) {
    if (e.isNullLiteral)
        return "NULL";
    if (isTextType(e.type) && e.form == TypedSql::Form::Value)
        return e.sql;
    switch (e.form) {
    case TypedSql::Form::RawDecimal:
        return e.sql;
    case TypedSql::Form::RawExtendedDate:
        return "substr(" + e.sql + ", 1, 19)";
    case TypedSql::Form::ScaledCurrency:
        return "acc_str(" + e.sql + ", " + std::to_string(kScaledCurrencyCode) + ")";
    case TypedSql::Form::Condition:
    case TypedSql::Form::Value:
        break;
    }
    const TypedSql v = asValue(e);
    return "acc_str(" + v.sql + ", " + std::to_string(static_cast<int>(v.type)) + ")";
}

TypedSql asStorage(const TypedSql& e) {
    if (e.form == TypedSql::Form::Condition)
        return asValue(e);
    if (e.type == ColumnType::Currency && e.form == TypedSql::Form::Value && !e.isNullLiteral) {
        TypedSql s = e;
        s.sql = "CAST(round((" + e.sql + ")*10000) AS INTEGER)";
        s.form = TypedSql::Form::ScaledCurrency;
        return s;
    }
    return e;
}

// SQLite ends a statement at a zero character, so one inside a text is
// written as char(0) joined to the parts around it.
std::string quoteText(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\0') {
            out += "' || char(0) || '";
            continue;
        }
        out += c;
        if (c == '\'')
            out += '\'';
    }
    out += '\'';
    return text.find('\0') == std::string::npos ? out : "(" + out + ")";
}

namespace {

void appendBalanced(std::string& out, const std::vector<std::string>& terms, std::size_t from,
                    std::size_t to, const char* op) {
    if (to - from == 1) {
        out += terms[from];
        return;
    }
    const std::size_t middle = from + (to - from) / 2;
    out += '(';
    appendBalanced(out, terms, from, middle, op);
    out += op;
    appendBalanced(out, terms, middle, to, op);
    out += ')';
}

} // namespace

std::string balanced(const std::vector<std::string>& terms, const char* op) {
    std::string out;
    appendBalanced(out, terms, 0, terms.size(), op);
    return out;
}

std::string numberLiteral(double value) {
    if (value == std::trunc(value) && std::fabs(value) < 9e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", value);
        return buf;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    std::string s = buf;
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

std::string withCollation(const TypedSql& e) {
    if (isTextType(e.type) && e.form == TypedSql::Form::Value)
        return "(" + e.sql + ") COLLATE " + kTextCollation;
    return "(" + e.sql + ")";
}

} // namespace quarix::engine::sql

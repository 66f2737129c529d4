#pragma once

#include "engine/ColumnType.h"

#include <string>
#include <vector>

namespace quarix::engine::sql {

// The SQLite collation that orders and compares text as Access does.
inline constexpr const char* kTextCollation = "ACCESSTEXT";

// A translated expression: SQLite text, its best static Access type, and the
// form its value takes. Columns arrive in their storage form (see
// StoredValue.h); arithmetic and functions want plain values; logic wants
// SQLite truth values (1/0/NULL) rather than Access's -1/0.
struct TypedSql {
    enum class Form {
        Value,          // a plain number, text, serial date or -1/0 boolean
        Condition,      // SQLite truth value, type Boolean
        ScaledCurrency, // Currency times 10,000 (storage form)
        RawDecimal,     // Decimal as exact text (storage form)
        RawExtendedDate // DateTimeExtended as "yyyy-MM-dd HH:mm:ss.fffffff"
    };

    std::string sql;
    ColumnType type = ColumnType::Unknown; // Unknown: a Variant whose type shows only at run time
    Form form = Form::Value;
    bool isNullLiteral = false;
    bool isTextLiteral = false;
    std::string literal; // the value of a text literal
    // A column of a cache table read as it is stored: the table, the column
    // and the SQL naming its row.
    std::string originTable, originColumn, originRowid;

    static TypedSql value(std::string sql, ColumnType type) {
        TypedSql t;
        t.sql = std::move(sql);
        t.type = type;
        return t;
    }
    static TypedSql condition(std::string sql) {
        TypedSql t = value(std::move(sql), ColumnType::Boolean);
        t.form = Form::Condition;
        return t;
    }
};

bool isTextType(ColumnType type);
bool isNumericType(ColumnType type); // numbers, dates and booleans
bool isIntegerType(ColumnType type); // Boolean, Byte, Integer, Long, BigInt

// The number acc_str takes as its type argument for a Currency in storage form.
inline constexpr int kScaledCurrencyCode = 100;

// Conversions between forms. Each keeps Null as Null.
TypedSql
asValue(const TypedSql& e); // plain value (Decimal becomes Double, DateTimeExtended DateTime)
TypedSql asCondition(const TypedSql& e); // truth value; text converts as CBool does
std::string asText(const TypedSql& e);   // the text a user would see
TypedSql asStorage(const TypedSql& e);   // the storage form of e.type, for result columns

std::string quoteText(const std::string& text);
// Terms joined by an associative operator (" AND ") as a balanced tree, so
// that the parentheses nest only as deep as the log of their number.
std::string balanced(const std::vector<std::string>& terms, const char* op);
std::string numberLiteral(double value);
std::string
withCollation(const TypedSql& e); // e in parentheses, with the text collation when e is text

} // namespace quarix::engine::sql

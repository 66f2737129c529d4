#pragma once

#include "engine/sql/Weeks.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

// Helpers shared by the Access functions registered on SQLite connections.
namespace quarix::engine::sql::fn {

using ScalarFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

inline bool isNull(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}
inline bool isText(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_TEXT;
}
inline bool isNumber(sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

// The UTF-8 text of a value (numbers as SQLite writes them); valid until
// the value changes.
inline std::string_view textOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string_view();
}

// Raises an Access error from inside a function (see kRuntimeErrorPrefix).
void fail(sqlite3_context* ctx, int number, const char* description);
inline void mismatch(sqlite3_context* ctx) {
    fail(ctx, 3464, "Data type mismatch in criteria expression.");
}
inline void invalidArgument(sqlite3_context* ctx) {
    fail(ctx, 5, "Invalid procedure call or argument.");
}
inline void overflow(sqlite3_context* ctx) {
    fail(ctx, 6, "Overflow");
}
inline void invalidUseOfNull(sqlite3_context* ctx) {
    fail(ctx, 94, "Invalid use of Null");
}

// A number from a number or a numeric text (also a date text, as its serial);
// otherwise raises a type mismatch and returns false.
bool toNumber(sqlite3_context* ctx, sqlite3_value* v, double& out);

// A number (not Null) rounded half to even that lies in [lo, hi]; false
// after raising a type mismatch or, out of range, the given error.
bool roundedInRange(sqlite3_context* ctx, sqlite3_value* v, double lo, double hi,
                    void (*outOfRange)(sqlite3_context*), double& out);

// A date serial from a number or a date text; otherwise a type mismatch.
bool toDate(sqlite3_context* ctx, sqlite3_value* v, double& out);

// The firstdayofweek and firstweekofyear arguments at dayIndex and
// dayIndex + 1; absent, Null or 0 mean Sunday and the week of January 1.
// False after raising "invalid procedure call" for any other value.
bool weekRuleArguments(sqlite3_context* ctx, int argc, sqlite3_value** argv, int dayIndex,
                       WeekRule& rule);

// Rounds half to even at the given decimals, treating values within
// floating-point noise of a half as exact halves (Round(2.675, 2) = 2.68).
double bankersRound(double value, int digits = 0);

// The text a value of the given static type code turns into inside an
// expression, as CStr gives it (static_cast<int>(ColumnType), or
// kScaledCurrencyCode); dates in Access's general date form.
std::string displayString(sqlite3_value* v, int typeCode);

inline void resultText(sqlite3_context* ctx, std::string_view text) {
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A whole number as an INTEGER, anything else as a REAL.
void resultNumber(sqlite3_context* ctx, double value);

// Registers a scalar function; deterministic ones may be evaluated once per statement.
void define(sqlite3* db, const char* name, int argCount, ScalarFunction function,
            bool deterministic = true);

} // namespace quarix::engine::sql::fn

// The functions the translator itself emits: Like, the text collation,
// conversions between text and numbers, comparisons and operators with
// Access's rules.
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/LikePattern.h"
#include "engine/sql/TypedSql.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>
#include <cstdio>

namespace quarix::engine::sql::fn {

namespace {

void deletePattern(void* p) {
    delete static_cast<LikePattern*>(p);
}

// acc_like(pattern, text): the pattern is compiled once per statement.
void like(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        pattern = new LikePattern(textOf(argv[0]));
        sqlite3_set_auxdata(ctx, 0, pattern, deletePattern);
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) // not kept (the pattern is not a constant): use it once
            return sqlite3_result_int(ctx, LikePattern(textOf(argv[0])).matches(textOf(argv[1])));
    }
    sqlite3_result_int(ctx, pattern->matches(textOf(argv[1])));
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareText(
        std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
        std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

void str(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, displayString(argv[0], sqlite3_value_int(argv[1])));
}

void num(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (isNumber(argv[0]))
        return sqlite3_result_value(ctx, argv[0]);
    double d = 0;
    if (toNumber(ctx, argv[0], d))
        sqlite3_result_double(ctx, d);
}

void cdate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double d = 0;
    if (toDate(ctx, argv[0], d))
        sqlite3_result_double(ctx, d);
}

// 1, 0, or -1 for an error already raised.
int truth(sqlite3_context* ctx, sqlite3_value* v) {
    if (isNumber(v))
        return sqlite3_value_double(v) != 0;
    const std::string_view t = textOf(v);
    for (const char* yes : {"true", "yes", "on"})
        if (equalText(t, yes))
            return 1;
    for (const char* no : {"false", "no", "off"})
        if (equalText(t, no))
            return 0;
    double d = 0;
    if (parseNumber(t, d))
        return d != 0;
    mismatch(ctx);
    return -1;
}

void boolean(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int t = truth(ctx, argv[0]);
    if (t >= 0)
        sqlite3_result_int(ctx, t);
}

void cbool(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int t = truth(ctx, argv[0]);
    if (t >= 0)
        sqlite3_result_int(ctx, t ? -1 : 0);
}

// acc_cmp(a, b): -1, 0 or 1 as Access compares two values of unknown types.
void cmp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (isText(argv[0]) && isText(argv[1])) {
        const int c = compareText(textOf(argv[0]), textOf(argv[1]));
        return sqlite3_result_int(ctx, (c > 0) - (c < 0));
    }
    double a = 0, b = 0;
    if (!toNumber(ctx, argv[0], a) || !toNumber(ctx, argv[1], b))
        return;
    sqlite3_result_int(ctx, (a > b) - (a < b));
}

// acc_add(a, b): + on values of unknown types: texts join, numbers add.
void add(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (isText(argv[0]) && isText(argv[1]))
        return resultText(ctx, std::string(textOf(argv[0])) + std::string(textOf(argv[1])));
    double a = 0, b = 0;
    if (toNumber(ctx, argv[0], a) && toNumber(ctx, argv[1], b))
        resultNumber(ctx, a + b);
}

bool twoNumbers(sqlite3_context* ctx, sqlite3_value** argv, double& a, double& b) {
    if (isNull(argv[0]) || isNull(argv[1])) {
        sqlite3_result_null(ctx);
        return false;
    }
    return toNumber(ctx, argv[0], a) && toNumber(ctx, argv[1], b);
}

void divide(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double a = 0, b = 0;
    if (!twoNumbers(ctx, argv, a, b))
        return;
    if (b == 0)
        return fail(ctx, 11, "Division by zero");
    sqlite3_result_double(ctx, a / b);
}

// \ and Mod round both operands to whole numbers first.
bool twoWholeNumbers(sqlite3_context* ctx, sqlite3_value** argv, long long& a, long long& b) {
    double x = 0, y = 0;
    if (!twoNumbers(ctx, argv, x, y))
        return false;
    x = bankersRound(x);
    y = bankersRound(y);
    if (std::fabs(x) > 9.2e18 || std::fabs(y) > 9.2e18) {
        overflow(ctx);
        return false;
    }
    a = static_cast<long long>(x);
    b = static_cast<long long>(y);
    if (b == 0) {
        fail(ctx, 11, "Division by zero");
        return false;
    }
    return true;
}

void integerDivide(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long a = 0, b = 0;
    if (twoWholeNumbers(ctx, argv, a, b))
        sqlite3_result_int64(ctx, a / b);
}

void modulo(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long a = 0, b = 0;
    if (twoWholeNumbers(ctx, argv, a, b))
        sqlite3_result_int64(ctx, a % b);
}

void power(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double a = 0, b = 0;
    if (!twoNumbers(ctx, argv, a, b))
        return;
    const double r = std::pow(a, b);
    if (!std::isfinite(r))
        return invalidArgument(ctx);
    resultNumber(ctx, r);
}

// & joins texts; Null counts as "" unless every side is Null. A run of &
// comes as one call: the operator is associative.
void concatenate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string joined;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        allNull = allNull && isNull(argv[i]);
        joined += textOf(argv[i]);
    }
    if (allNull)
        return sqlite3_result_null(ctx);
    resultText(ctx, joined);
}

// A DateTimeExtended storage text "yyyy-MM-dd HH:mm:ss.fffffff" as a serial.
void extendedDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    int y = 0, m = 0, d = 0, h = 0, n = 0;
    double s = 0;
    const std::string text(textOf(argv[0]));
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%lf", &y, &m, &d, &h, &n, &s) < 3 ||
        !isValidDate(y, m, d))
        return mismatch(ctx);
    const double day = static_cast<double>(dayNumber(y, m, d));
    sqlite3_result_double(ctx, serialFromDayAndTime(day, (h * 3600 + n * 60 + s) / 86400.0));
}

// acc_nonnull(v): the text forms of functions (Left$, Str$) have no Null.
void nonNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return invalidUseOfNull(ctx);
    sqlite3_result_value(ctx, argv[0]);
}

// acc_chooseindex(i): Choose's index as the Integer it rounds to.
void chooseIndex(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return invalidUseOfNull(ctx);
    double r = 0;
    if (roundedInRange(ctx, argv[0], -32768, 32767, overflow, r))
        sqlite3_result_int(ctx, static_cast<int>(r));
}

// acc_vartype(v) and acc_typename(v) for a value whose type shows only at
// run time; other types the translator knows.
void varType(sqlite3_context* ctx, int, sqlite3_value** argv) {
    static constexpr int kCodes[] = {
        0, 3, 5, 8, 8209, 1}; // by SQLite type: -, INTEGER, FLOAT, TEXT, BLOB, NULL
    sqlite3_result_int(ctx, kCodes[sqlite3_value_type(argv[0])]);
}
void typeName(sqlite3_context* ctx, int, sqlite3_value** argv) {
    static constexpr const char* kNames[] = {"", "Long", "Double", "String", "Byte()", "Null"};
    resultText(ctx, kNames[sqlite3_value_type(argv[0])]);
}

} // namespace

void registerCoreFunctions(sqlite3* db) {
    sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr, collate, nullptr);
    define(db, "acc_like", 2, like);
    define(db, "acc_str", 2, str);
    define(db, "acc_num", 1, num);
    define(db, "acc_cdate", 1, cdate);
    define(db, "acc_bool", 1, boolean);
    define(db, "acc_cbool", 1, cbool);
    define(db, "acc_cmp", 2, cmp);
    define(db, "acc_add", 2, add);
    define(db, "acc_div", 2, divide);
    define(db, "acc_idiv", 2, integerDivide);
    define(db, "acc_mod", 2, modulo);
    define(db, "acc_pow", 2, power);
    define(db, "acc_cat", -1, concatenate);
    define(db, "acc_dtx", 1, extendedDate);
    define(db, "acc_nonnull", 1, nonNull);
    define(db, "acc_chooseindex", 1, chooseIndex);
    define(db, "acc_vartype", 1, varType);
    define(db, "acc_typename", 1, typeName);
}

} // namespace quarix::engine::sql::fn

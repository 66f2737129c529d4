// Access's numeric functions and conversions: Int, Fix, Round (to even),
// CByte, CInt, CLng, CDec, Val, Str, IsNumeric, IsDate and the like.
#include "engine/ColumnType.h"
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/NumericText.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>

namespace quarix::engine::sql::fn {

namespace {

// Runs f on the first argument as a number; Null gives Null.
template <typename F> void unary(sqlite3_context* ctx, sqlite3_value** argv, F f) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double x = 0;
    if (toNumber(ctx, argv[0], x))
        f(x);
}

void intFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { resultNumber(ctx, std::floor(x)); });
}
void fixFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { resultNumber(ctx, std::trunc(x)); });
}
void absFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { resultNumber(ctx, std::fabs(x)); });
}
void sgnFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_int(ctx, (x > 0) - (x < 0)); });
}
void sqrFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        x < 0 ? invalidArgument(ctx) : sqlite3_result_double(ctx, std::sqrt(x));
    });
}
void expFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        const double r = std::exp(x);
        std::isfinite(r) ? sqlite3_result_double(ctx, r) : overflow(ctx);
    });
}
void logFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        x <= 0 ? invalidArgument(ctx) : sqlite3_result_double(ctx, std::log(x));
    });
}
void sinFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_double(ctx, std::sin(x)); });
}
void cosFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_double(ctx, std::cos(x)); });
}
void tanFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_double(ctx, std::tan(x)); });
}
void atnFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_double(ctx, std::atan(x)); });
}

void roundFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0]) || (argc > 1 && isNull(argv[1])))
        return sqlite3_result_null(ctx);
    double x = 0, digits = 0;
    if (!toNumber(ctx, argv[0], x) || (argc > 1 && !toNumber(ctx, argv[1], digits)))
        return;
    if (digits < 0 || digits > 15)
        return invalidArgument(ctx);
    resultNumber(ctx, bankersRound(x, static_cast<int>(digits)));
}

void wholeNumber(sqlite3_context* ctx, sqlite3_value** argv, double lo, double hi) {
    unary(ctx, argv, [&](double x) {
        const double r = bankersRound(x);
        if (r < lo || r > hi)
            return overflow(ctx);
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(r));
    });
}
void cintFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    wholeNumber(ctx, argv, -32768, 32767);
}
void clngFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    wholeNumber(ctx, argv, -2147483648.0, 2147483647.0);
}

void cbyteFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    wholeNumber(ctx, argv, 0, 255);
}

// A Decimal holds up to 29 digits; its value is kept as a Double here.
void cdecFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) {
        std::fabs(x) >= 7.9228162514264337593543950336e28 ? overflow(ctx) : resultNumber(ctx, x);
    });
}

void csngFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { sqlite3_result_double(ctx, static_cast<float>(x)); });
}
void ccurFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    unary(ctx, argv, [&](double x) { resultNumber(ctx, bankersRound(x, 4)); });
}

// Val reads the leading number of a text; "abc" gives 0.
void valFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const ValResult r = valOfText(textOf(argv[0]));
    switch (r.status) {
    case ValResult::Status::Ok:
        return resultNumber(ctx, r.value);
    case ValResult::Status::Overflow:
        return overflow(ctx);
    case ValResult::Status::TypeMismatch:
        return mismatch(ctx);
    }
}

// Str writes a leading blank in place of the sign of a positive number;
// dates and booleans become their text.
void strFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto type = static_cast<ColumnType>(sqlite3_value_int(argv[1]));
    if (isNumber(argv[0]) && (type == ColumnType::DateTime || type == ColumnType::Boolean))
        return resultText(ctx, displayString(argv[0], sqlite3_value_int(argv[1])));
    unary(ctx, argv, [&](double x) { resultText(ctx, (x >= 0 ? " " : "") + formatNumber(x)); });
}

void isNumericFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto type = static_cast<ColumnType>(sqlite3_value_int(argv[1]));
    bool numeric = false;
    if (isNumber(argv[0]))
        numeric = type != ColumnType::DateTime;
    else if (isText(argv[0]))
        numeric = isNumericText(textOf(argv[0]));
    sqlite3_result_int(ctx, numeric ? -1 : 0);
}

void isDateFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto type = static_cast<ColumnType>(sqlite3_value_int(argv[1]));
    bool date = false;
    if (isNumber(argv[0]))
        date = type == ColumnType::DateTime;
    else if (isText(argv[0]))
        date = parseDateText(textOf(argv[0])).has_value();
    sqlite3_result_int(ctx, date ? -1 : 0);
}

} // namespace

void registerNumberFunctions(sqlite3* db) {
    define(db, "acc_int", 1, intFn);
    define(db, "acc_fix", 1, fixFn);
    define(db, "acc_abs", 1, absFn);
    define(db, "acc_sgn", 1, sgnFn);
    define(db, "acc_sqr", 1, sqrFn);
    define(db, "acc_exp", 1, expFn);
    define(db, "acc_log", 1, logFn);
    define(db, "acc_sin", 1, sinFn);
    define(db, "acc_cos", 1, cosFn);
    define(db, "acc_tan", 1, tanFn);
    define(db, "acc_atn", 1, atnFn);
    define(db, "acc_round", 1, roundFn);
    define(db, "acc_round", 2, roundFn);
    define(db, "acc_cint", 1, cintFn);
    define(db, "acc_clng", 1, clngFn);
    define(db, "acc_cbyte", 1, cbyteFn);
    define(db, "acc_cdec", 1, cdecFn);
    define(db, "acc_csng", 1, csngFn);
    define(db, "acc_ccur", 1, ccurFn);
    define(db, "acc_val", 1, valFn);
    define(db, "acc_strfn", 2, strFn);
    define(db, "acc_isnumeric", 2, isNumericFn);
    define(db, "acc_isdate", 2, isDateFn);
}

} // namespace quarix::engine::sql::fn

#include "engine/sql/functions/FunctionSupport.h"

#include "engine/ColumnType.h"
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/Translator.h"
#include "engine/sql/TypedSql.h"

#include <cmath>
#include <cstdio>

namespace quarix::engine::sql::fn {

void fail(sqlite3_context* ctx, int number, const char* description) {
    const std::string message =
        std::string(kRuntimeErrorPrefix) + std::to_string(number) + ":" + description;
    sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
}

bool toNumber(sqlite3_context* ctx, sqlite3_value* v, double& out) {
    if (isNumber(v)) {
        out = sqlite3_value_double(v);
        return true;
    }
    const std::string_view text = textOf(v);
    if (parseNumber(text, out))
        return true;
    if (const auto serial = parseDateText(text)) {
        out = *serial;
        return true;
    }
    mismatch(ctx);
    return false;
}

bool roundedInRange(sqlite3_context* ctx, sqlite3_value* v, double lo, double hi,
                    void (*outOfRange)(sqlite3_context*), double& out) {
    double d = 0;
    if (!toNumber(ctx, v, d))
        return false;
    out = bankersRound(d);
    if (out < lo || out > hi) {
        outOfRange(ctx);
        return false;
    }
    return true;
}

bool toDate(sqlite3_context* ctx, sqlite3_value* v, double& out) {
    if (isNumber(v)) {
        out = sqlite3_value_double(v);
    } else if (const auto serial = parseDateText(textOf(v))) {
        out = *serial;
    } else if (!parseNumber(textOf(v), out)) {
        mismatch(ctx);
        return false;
    }
    if (!serialInRange(out)) {
        invalidArgument(ctx);
        return false;
    }
    return true;
}

bool weekRuleArguments(sqlite3_context* ctx, int argc, sqlite3_value** argv, int dayIndex,
                       WeekRule& rule) {
    auto read = [&](int index, int highest, int& out) {
        if (index >= argc || isNull(argv[index]))
            return true;
        double d = 0;
        if (!toNumber(ctx, argv[index], d))
            return false;
        const int value = static_cast<int>(bankersRound(d));
        if (value < 0 || value > highest) {
            invalidArgument(ctx);
            return false;
        }
        if (value > 0)
            out = value;
        return true;
    };
    return read(dayIndex, 7, rule.firstDay) && read(dayIndex + 1, 3, rule.firstWeek);
}

double bankersRound(double value, int digits) {
    const double scale = std::pow(10.0, digits);
    const double scaled = value * scale;
    const double floor = std::floor(scaled);
    const double fraction = scaled - floor;
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(scaled));
    double rounded;
    if (std::fabs(fraction - 0.5) < tolerance)
        rounded = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    else
        rounded = std::round(scaled);
    return rounded / scale;
}

namespace {

std::string scaledCurrencyText(sqlite3_int64 scaled) {
    const bool negative = scaled < 0;
    const unsigned long long magnitude = negative
                                             ? static_cast<unsigned long long>(-(scaled + 1)) + 1
                                             : static_cast<unsigned long long>(scaled);
    std::string text = std::to_string(magnitude / 10000);
    unsigned long long fraction = magnitude % 10000;
    if (fraction != 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04llu", fraction);
        std::string digits = buf;
        while (digits.back() == '0')
            digits.pop_back();
        text += "." + digits;
    }
    return negative ? "-" + text : text;
}

} // namespace

std::string displayString(sqlite3_value* v, int typeCode) {
    if (typeCode == kScaledCurrencyCode && sqlite3_value_type(v) == SQLITE_INTEGER)
        return scaledCurrencyText(sqlite3_value_int64(v));
    if (isText(v))
        return std::string(textOf(v));
    const ColumnTypeTraits& traits = traitsOf(static_cast<ColumnType>(typeCode));
    const double d = sqlite3_value_double(v);
    if (traits.typeClass == TypeClass::Boolean)
        return d != 0 ? "True" : "False";
    if (traits.typeClass == TypeClass::Date)
        return serialInRange(d) ? generalDateText(d) : formatNumber(d);
    if (traits.typeClass == TypeClass::Currency)
        return formatNumber(bankersRound(d, 4));
    if (traits.shown == Shown::Single) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.7G", d);
        return formatNumber(std::strtod(buf, nullptr));
    }
    if (sqlite3_value_type(v) == SQLITE_INTEGER)
        return std::to_string(sqlite3_value_int64(v));
    if (sqlite3_value_type(v) == SQLITE_BLOB)
        return std::string(textOf(v));
    return formatNumber(d);
}

void resultNumber(sqlite3_context* ctx, double value) {
    if (value == std::trunc(value) && std::fabs(value) < 9e18)
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(value));
    else
        sqlite3_result_double(ctx, value);
}

void define(sqlite3* db, const char* name, int argCount, ScalarFunction function,
            bool deterministic) {
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function_v2(db, name, argCount, flags, nullptr, function, nullptr, nullptr,
                               nullptr);
}

} // namespace quarix::engine::sql::fn

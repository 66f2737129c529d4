// Format(value [, format [, firstdayofweek [, firstweekofyear]]]) and
// FormatNumber, FormatPercent, FormatCurrency and FormatDateTime, on the
// formats of engine/sql/format.
#include "engine/ColumnType.h"
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/format/AccessFormat.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>
#include <optional>

namespace quarix::engine::sql::fn {

namespace {

using format::Style;

void resultDate(sqlite3_context* ctx, double serial, std::string_view f, const WeekRule& rule) {
    if (!serialInRange(serial))
        return invalidArgument(ctx);
    resultText(ctx, format::formatDateValue(serial, f, rule));
}

// The number a value stands for in a number format: a number, or a text
// that reads as a number, as True or False, or as a date.
std::optional<double> numberOf(sqlite3_value* value) {
    if (isNumber(value))
        return sqlite3_value_double(value);
    const std::string_view text = textOf(value);
    double number = 0;
    if (parseNumber(text, number))
        return number;
    if (equalText(text, "True"))
        return -1.0;
    if (equalText(text, "False"))
        return 0.0;
    return parseDateText(text);
}

// acc_format(value, type [, format [, firstdayofweek [, firstweekofyear]]])
void formatFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const std::string_view f = argc > 2 && !isNull(argv[2]) ? textOf(argv[2]) : std::string_view();
    WeekRule rule;
    if (!weekRuleArguments(ctx, argc, argv, 3, rule))
        return;
    sqlite3_value* value = argv[0];
    const int typeCode = sqlite3_value_int(argv[1]);
    const Style style = f.empty() ? Style::Number : format::styleOf(f);
    if (isNull(value)) {
        if (style == Style::Text)
            return resultText(ctx, format::formatTextValue({}, f));
        const auto text = format::formatNullValue(f);
        return text ? resultText(ctx, *text) : sqlite3_result_null(ctx);
    }
    const auto type = static_cast<ColumnType>(typeCode);
    const bool date =
        isNumber(value) && (type == ColumnType::DateTime || type == ColumnType::DateTimeExtended);
    if (f.empty())
        return resultText(ctx, date ? generalDateText(sqlite3_value_double(value))
                                    : displayString(value, typeCode));
    if (style == Style::Date) {
        double serial = 0;
        if (isNumber(value) || parseNumber(textOf(value), serial)) {
            if (isNumber(value))
                serial = sqlite3_value_double(value);
            return resultDate(ctx, serial, f, rule);
        }
        if (const auto parsed = parseDateText(textOf(value)))
            return resultDate(ctx, *parsed, f, rule);
        return resultText(ctx, textOf(value));
    }
    const std::optional<double> number = style == Style::Text ? std::nullopt : numberOf(value);
    if (number)
        return resultText(ctx, format::formatNumberValue(*number, f));
    if (style == Style::Number) // a text that is no number in a number format stays as it is
        return resultText(ctx, textOf(value));
    resultText(ctx, format::formatTextValue(displayString(value, typeCode), f));
}

// A TriState argument: -1 true, 0 false, -2 (or absent) the default.
bool triState(int argc, sqlite3_value** argv, int index, bool byDefault) {
    if (index >= argc || isNull(argv[index]))
        return byDefault;
    const long long v = sqlite3_value_int64(argv[index]);
    return v == -2 ? byDefault : v != 0;
}

// FormatNumber and its kin: (value [, digits [, leading digit [, parentheses
// [, grouping]]]]) on a pattern built from the arguments.
void formatNumbered(sqlite3_context* ctx, int argc, sqlite3_value** argv, const char* prefix,
                    bool percent, bool parensByDefault) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double value = 0, digits = -1;
    if (!toNumber(ctx, argv[0], value) ||
        (argc > 1 && !isNull(argv[1]) && !toNumber(ctx, argv[1], digits)))
        return;
    digits = bankersRound(digits);
    if (digits < -1 || digits > 99)
        return invalidArgument(ctx);
    const int decimals = digits == -1 ? 2 : static_cast<int>(digits);
    const bool leading = triState(argc, argv, 2, true),
               parens = triState(argc, argv, 3, parensByDefault),
               grouping = triState(argc, argv, 4, true);
    std::string pattern =
        std::string(prefix) + (grouping ? (leading ? "#,##0" : "#,###") : (leading ? "0" : "#"));
    if (decimals > 0)
        pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
    if (percent)
        pattern += "\\%";
    if (parens)
        pattern += ";(" + pattern + ")";
    // These round half to even, unlike Format: FormatNumber(12.345) is 12.34.
    const double shown = percent ? value * 100 : value;
    const double rounded = bankersRound(shown, decimals);
    resultText(ctx, format::formatNumberValue(std::isfinite(rounded) ? rounded : shown, pattern));
}

void formatNumberFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    formatNumbered(ctx, argc, argv, "", false, false);
}
void formatPercentFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    formatNumbered(ctx, argc, argv, "", true, false);
}
void formatCurrencyFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    formatNumbered(ctx, argc, argv, "$", false, true);
}

// FormatDateTime(date [, 0 general | 1 long date | 2 short date | 3 long time | 4 short time])
void formatDateTimeFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    static constexpr const char* kNamed[] = {"General Date", "Long Date", "Short Date", "Long Time",
                                             "hh:nn"};
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double serial = 0, named = 0;
    if (!toDate(ctx, argv[0], serial) ||
        (argc > 1 && !isNull(argv[1]) && !toNumber(ctx, argv[1], named)))
        return;
    named = bankersRound(named);
    if (named < 0 || named > 4)
        return invalidArgument(ctx);
    resultText(ctx, format::formatDateValue(serial, kNamed[static_cast<int>(named)], WeekRule{}));
}

} // namespace

void registerFormatFunction(sqlite3* db) {
    define(db, "acc_format", -1, formatFn);
    define(db, "acc_formatnumber", -1, formatNumberFn);
    define(db, "acc_formatpercent", -1, formatPercentFn);
    define(db, "acc_formatcurrency", -1, formatCurrencyFn);
    define(db, "acc_formatdatetime", -1, formatDateTimeFn);
}

} // namespace quarix::engine::sql::fn

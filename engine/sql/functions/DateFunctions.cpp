// Access's date functions on serial dates: parts, DateAdd, DateDiff,
// DatePart with the interval strings yyyy q m y d w ww h n s.
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>
#include <cstdio>

namespace quarix::engine::sql::fn {

namespace {

enum class Interval {
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Weekday,
    Week,
    Hour,
    Minute,
    Second,
    Invalid
};

Interval intervalOf(std::string_view text) {
    const std::string t = lowerText(text);
    if (t == "yyyy")
        return Interval::Year;
    if (t == "q")
        return Interval::Quarter;
    if (t == "m")
        return Interval::Month;
    if (t == "y")
        return Interval::DayOfYear;
    if (t == "d")
        return Interval::Day;
    if (t == "w")
        return Interval::Weekday;
    if (t == "ww")
        return Interval::Week;
    if (t == "h")
        return Interval::Hour;
    if (t == "n")
        return Interval::Minute;
    if (t == "s")
        return Interval::Second;
    return Interval::Invalid;
}

long long wholeDay(double serial) {
    return static_cast<long long>(std::trunc(serial));
}

// Seconds since the epoch day, time rounded to the second.
long long totalSeconds(double serial) {
    const DateParts p = partsFromSerial(serial);
    return dayNumber(p.year, p.month, p.day) * 86400LL + p.hour * 3600 + p.minute * 60 + p.second;
}

double serialFromSeconds(long long seconds) {
    long long day = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --day;
    }
    return serialFromDayAndTime(static_cast<double>(day), static_cast<double>(rest) / 86400.0);
}

// Runs f on the parts of a date argument; Null gives Null.
template <typename F> void withDate(sqlite3_context* ctx, sqlite3_value* v, F f) {
    if (isNull(v))
        return sqlite3_result_null(ctx);
    double serial = 0;
    if (toDate(ctx, v, serial))
        f(serial, partsFromSerial(serial));
}

void yearFn(sqlite3_context* c, int, sqlite3_value** a) {
    withDate(c, a[0], [&](double, DateParts p) { sqlite3_result_int(c, p.year); });
}
void monthFn(sqlite3_context* c, int, sqlite3_value** a) {
    withDate(c, a[0], [&](double, DateParts p) { sqlite3_result_int(c, p.month); });
}
void dayFn(sqlite3_context* c, int, sqlite3_value** a) {
    withDate(c, a[0], [&](double, DateParts p) { sqlite3_result_int(c, p.day); });
}
void hourFn(sqlite3_context* c, int, sqlite3_value** a) {
    withDate(c, a[0], [&](double, DateParts p) { sqlite3_result_int(c, p.hour); });
}
void minuteFn(sqlite3_context* c, int, sqlite3_value** a) {
    withDate(c, a[0], [&](double, DateParts p) { sqlite3_result_int(c, p.minute); });
}
void secondFn(sqlite3_context* c, int, sqlite3_value** a) {
    withDate(c, a[0], [&](double, DateParts p) { sqlite3_result_int(c, p.second); });
}

void weekdayFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    WeekRule rule;
    if (!weekRuleArguments(ctx, std::min(argc, 2), argv, 1, rule))
        return;
    withDate(ctx, argv[0], [&](double, DateParts p) {
        sqlite3_result_int(ctx, weekdayOf(dayNumber(p.year, p.month, p.day), rule.firstDay));
    });
}

DateParts addMonths(DateParts p, long long months) {
    long long index = p.year * 12LL + (p.month - 1) + months;
    p.year = static_cast<int>(index / 12);
    p.month = static_cast<int>(index % 12) + 1;
    p.day = std::min(p.day, daysInMonth(p.year, p.month));
    return p;
}

void dateAddFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    const Interval interval = intervalOf(textOf(argv[0]));
    double amount = 0, serial = 0;
    if (interval == Interval::Invalid)
        return invalidArgument(ctx);
    if (!toNumber(ctx, argv[1], amount) || !toDate(ctx, argv[2], serial))
        return;
    const long long n = static_cast<long long>(bankersRound(amount));
    const DateParts p = partsFromSerial(serial);
    double result = 0;
    switch (interval) {
    case Interval::Year:
    case Interval::Quarter:
    case Interval::Month: {
        const long long months = interval == Interval::Year      ? n * 12
                                 : interval == Interval::Quarter ? n * 3
                                                                 : n;
        const long long index = p.year * 12LL + (p.month - 1) + months;
        if (index < 100 * 12 || index > 9999 * 12 + 11)
            return invalidArgument(ctx);
        result = serialFromParts(addMonths(p, months));
        break;
    }
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        result = serialFromSeconds(totalSeconds(serial) + n * 86400);
        break;
    case Interval::Week:
        result = serialFromSeconds(totalSeconds(serial) + n * 7 * 86400);
        break;
    case Interval::Hour:
        result = serialFromSeconds(totalSeconds(serial) + n * 3600);
        break;
    case Interval::Minute:
        result = serialFromSeconds(totalSeconds(serial) + n * 60);
        break;
    case Interval::Second:
        result = serialFromSeconds(totalSeconds(serial) + n);
        break;
    case Interval::Invalid:
        break;
    }
    if (!serialInRange(result))
        return invalidArgument(ctx);
    sqlite3_result_double(ctx, result);
}

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

void dateDiffFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    const Interval interval = intervalOf(textOf(argv[0]));
    double s1 = 0, s2 = 0;
    if (interval == Interval::Invalid)
        return invalidArgument(ctx);
    WeekRule rule;
    if (!weekRuleArguments(ctx, argc, argv, 3, rule) || !toDate(ctx, argv[1], s1) ||
        !toDate(ctx, argv[2], s2))
        return;
    const DateParts a = partsFromSerial(s1), b = partsFromSerial(s2);
    const long long dayA = dayNumber(a.year, a.month, a.day),
                    dayB = dayNumber(b.year, b.month, b.day);
    long long r = 0;
    switch (interval) {
    case Interval::Year:
        r = b.year - a.year;
        break;
    case Interval::Quarter:
        r = (b.year * 4LL + (b.month - 1) / 3) - (a.year * 4LL + (a.month - 1) / 3);
        break;
    case Interval::Month:
        r = (b.year * 12LL + b.month) - (a.year * 12LL + a.month);
        break;
    case Interval::DayOfYear:
    case Interval::Day:
        r = dayB - dayA;
        break;
    case Interval::Weekday:
        r = (dayB - dayA) / 7;
        break;
    case Interval::Week: {
        const int first = rule.firstDay;
        const long long startA = dayA - (weekdayOf(dayA, first) - 1),
                        startB = dayB - (weekdayOf(dayB, first) - 1);
        r = (startB - startA) / 7;
        break;
    }
    case Interval::Hour:
        r = floorDiv(totalSeconds(s2), 3600) - floorDiv(totalSeconds(s1), 3600);
        break;
    case Interval::Minute:
        r = floorDiv(totalSeconds(s2), 60) - floorDiv(totalSeconds(s1), 60);
        break;
    case Interval::Second:
        r = totalSeconds(s2) - totalSeconds(s1);
        break;
    case Interval::Invalid:
        break;
    }
    sqlite3_result_int64(ctx, r);
}

void datePartFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const Interval interval = intervalOf(textOf(argv[0]));
    if (interval == Interval::Invalid)
        return invalidArgument(ctx);
    WeekRule rule;
    if (!weekRuleArguments(ctx, argc, argv, 2, rule))
        return;
    withDate(ctx, argv[1], [&](double, DateParts p) {
        const long long day = dayNumber(p.year, p.month, p.day);
        const long long dayOfYear = day - dayNumber(p.year, 1, 1) + 1;
        long long r = 0;
        switch (interval) {
        case Interval::Year:
            r = p.year;
            break;
        case Interval::Quarter:
            r = (p.month - 1) / 3 + 1;
            break;
        case Interval::Month:
            r = p.month;
            break;
        case Interval::DayOfYear:
            r = dayOfYear;
            break;
        case Interval::Day:
            r = p.day;
            break;
        case Interval::Weekday:
            r = weekdayOf(day, rule.firstDay);
            break;
        case Interval::Week:
            r = weekOfYear(day, rule);
            break;
        case Interval::Hour:
            r = p.hour;
            break;
        case Interval::Minute:
            r = p.minute;
            break;
        case Interval::Second:
            r = p.second;
            break;
        case Interval::Invalid:
            break;
        }
        sqlite3_result_int64(ctx, r);
    });
}

// DateSerial rolls over months and days beyond their range, as Access does.
void dateSerialFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double y = 0, m = 0, d = 0;
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    if (!toNumber(ctx, argv[0], y) || !toNumber(ctx, argv[1], m) || !toNumber(ctx, argv[2], d))
        return;
    long long year = static_cast<long long>(bankersRound(y));
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    const long long monthIndex = year * 12 + static_cast<long long>(bankersRound(m)) - 1;
    const long long yy = floorDiv(monthIndex, 12);
    if (yy < 100 || yy > 9999)
        return invalidArgument(ctx);
    const long long day =
        dayNumber(static_cast<int>(yy), static_cast<int>(monthIndex - yy * 12) + 1, 1) +
        static_cast<long long>(bankersRound(d)) - 1;
    const double serial = static_cast<double>(day);
    if (!serialInRange(serial))
        return invalidArgument(ctx);
    sqlite3_result_double(ctx, serial);
}

void timeSerialFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double h = 0, m = 0, s = 0;
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    if (!toNumber(ctx, argv[0], h) || !toNumber(ctx, argv[1], m) || !toNumber(ctx, argv[2], s))
        return;
    const long long seconds =
        static_cast<long long>(bankersRound(h) * 3600 + bankersRound(m) * 60 + bankersRound(s));
    // A time past midnight, either way, wraps round to a time of day: 30
    // hours is 6:00:00 AM, -10 hours 2:00:00 PM.
    sqlite3_result_double(ctx, serialFromSeconds((seconds % 86400 + 86400) % 86400));
}

void dateValueFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    withDate(ctx, argv[0], [&](double serial, DateParts) {
        sqlite3_result_double(ctx, static_cast<double>(wholeDay(serial)));
    });
}

void timeValueFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    withDate(ctx, argv[0], [&](double serial, DateParts) {
        sqlite3_result_double(ctx, std::fabs(serial - std::trunc(serial)));
    });
}

void dateFn(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, std::trunc(nowSerial()));
}
void nowFn(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, nowSerial());
}
void timeFn(sqlite3_context* ctx, int, sqlite3_value**) {
    const double n = nowSerial();
    sqlite3_result_double(ctx, n - std::trunc(n));
}

// Date$ and Time$: today as mm-dd-yyyy and the time as hh:mm:ss.
void dateTextFn(sqlite3_context* ctx, int, sqlite3_value**) {
    const DateParts p = partsFromSerial(nowSerial());
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", p.month, p.day, p.year);
    resultText(ctx, buf);
}
void timeTextFn(sqlite3_context* ctx, int, sqlite3_value**) {
    const DateParts p = partsFromSerial(nowSerial());
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    resultText(ctx, buf);
}

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};

void monthNameFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int m = sqlite3_value_int(argv[0]);
    if (m < 1 || m > 12)
        return invalidArgument(ctx);
    const bool abbreviate = argc > 1 && sqlite3_value_int(argv[1]) != 0;
    const std::string name = kMonths[m - 1];
    resultText(ctx, abbreviate ? name.substr(0, 3) : name);
}

void weekdayNameFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int w = sqlite3_value_int(argv[0]);
    if (w < 1 || w > 7)
        return invalidArgument(ctx);
    const bool abbreviate = argc > 1 && sqlite3_value_int(argv[1]) != 0;
    WeekRule rule;
    if (!weekRuleArguments(ctx, std::min(argc, 3), argv, 2, rule))
        return;
    const std::string name = kDays[(w - 1 + rule.firstDay - 1) % 7];
    resultText(ctx, abbreviate ? name.substr(0, 3) : name);
}

} // namespace

void registerDateFunctions(sqlite3* db) {
    define(db, "acc_year", 1, yearFn);
    define(db, "acc_month", 1, monthFn);
    define(db, "acc_day", 1, dayFn);
    define(db, "acc_hour", 1, hourFn);
    define(db, "acc_minute", 1, minuteFn);
    define(db, "acc_second", 1, secondFn);
    define(db, "acc_weekday", -1, weekdayFn);
    define(db, "acc_dateadd", 3, dateAddFn);
    define(db, "acc_datediff", -1, dateDiffFn);
    define(db, "acc_datepart", -1, datePartFn);
    define(db, "acc_dateserial", 3, dateSerialFn);
    define(db, "acc_timeserial", 3, timeSerialFn);
    define(db, "acc_datevalue", 1, dateValueFn);
    define(db, "acc_timevalue", 1, timeValueFn);
    define(db, "acc_date", 0, dateFn, false);
    define(db, "acc_now", 0, nowFn, false);
    define(db, "acc_time", 0, timeFn, false);
    define(db, "acc_datetext", 0, dateTextFn, false);
    define(db, "acc_timetext", 0, timeTextFn, false);
    define(db, "acc_monthname", -1, monthNameFn);
    define(db, "acc_weekdayname", -1, weekdayNameFn);
}

} // namespace quarix::engine::sql::fn

#include "engine/sql/Weeks.h"

#include "engine/sql/AccessDate.h"

namespace quarix::engine::sql {

namespace {

long long weekStart(long long day, int firstDay) {
    return day - (weekdayOf(day, firstDay) - 1);
}

long long firstWeekStart(int year, const WeekRule& rule) {
    const long long januaryFirst = dayNumber(year, 1, 1);
    const long long start = weekStart(januaryFirst, rule.firstDay);
    switch (rule.firstWeek) {
    case 2:
        return weekStart(januaryFirst + 3, rule.firstDay);
    case 3:
        return start == januaryFirst ? start : start + 7;
    default:
        return start;
    }
}

} // namespace

int weekdayOf(long long day, int firstDay) {
    const int sundayBased =
        static_cast<int>(((day + 6) % 7 + 7) % 7); // 0 = Sunday; day 0 was a Saturday
    return (sundayBased - (firstDay - 1) + 7) % 7 + 1;
}

int weekOfYear(long long day, const WeekRule& rule) {
    const int year = partsFromSerial(static_cast<double>(day)).year;
    if (rule.firstWeek == 2 && day >= firstWeekStart(year + 1, rule))
        return 1;
    long long first = firstWeekStart(year, rule);
    if (day < first)
        first = firstWeekStart(year - 1, rule);
    return static_cast<int>((weekStart(day, rule.firstDay) - first) / 7 + 1);
}

} // namespace quarix::engine::sql

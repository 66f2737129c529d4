#pragma once

namespace quarix::engine::sql {

// How Access counts days in a week and weeks in a year: the first day of
// the week (1 = Sunday .. 7 = Saturday), and which week is the first of the
// year (1: the week of January 1; 2: the first week with at least four
// days in the year; 3: the first full week).
struct WeekRule {
    int firstDay = 1;
    int firstWeek = 1;
};

// 1..7 for a day number (0 = 1899-12-30), the rule's first day being 1.
int weekdayOf(long long day, int firstDay);

// The week of the year of a day number. Days before week 1 are in the last
// week of the year before (52 or 53); under rule 2 the last days of
// December may be in week 1 of the next year.
int weekOfYear(long long day, const WeekRule& rule);

} // namespace quarix::engine::sql

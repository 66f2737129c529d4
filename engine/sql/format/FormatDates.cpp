// Dates in named and custom date formats.
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/format/AccessFormat.h"

#include <cstdio>

namespace quarix::engine::sql::format {

namespace {

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};

std::string two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string longDate(const DateParts& p, long long day) {
    return std::string(kDays[weekdayOf(day, 1) - 1]) + ", " + kMonths[p.month - 1] + " " +
           std::to_string(p.day) + ", " + std::to_string(p.year);
}

bool startsWith(const std::string& lower, std::size_t i, std::string_view word) {
    return lower.compare(i, word.size(), word) == 0;
}

// The length of the run of letter c at i, at most limit.
std::size_t runAt(const std::string& lower, std::size_t i, std::size_t limit) {
    std::size_t run = 1;
    while (run < limit && i + run < lower.size() && lower[i + run] == lower[i])
        ++run;
    return run;
}

std::string customDate(double serial, std::string_view f, const WeekRule& rule) {
    const DateParts p = partsFromSerial(serial);
    const long long day = dayNumber(p.year, p.month, p.day);
    const std::string lower = lowerText(f);
    const bool twelveHour = lower.find("am/pm") != std::string::npos ||
                            lower.find("a/p") != std::string::npos ||
                            lower.find("ampm") != std::string::npos;
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    std::string out;
    bool afterHour = false; // m right after h is the minute
    for (std::size_t i = 0; i < f.size();) {
        if (auto literal = literalAt(f, i)) {
            out += *literal;
            continue;
        }
        const bool upper = f[i] >= 'A' && f[i] <= 'Z';
        if (startsWith(lower, i, "am/pm")) {
            out += p.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            i += 5;
            continue;
        }
        if (startsWith(lower, i, "a/p")) {
            out += p.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
            i += 3;
            continue;
        }
        if (startsWith(lower, i, "ampm")) {
            out += p.hour < 12 ? "AM" : "PM";
            i += 4;
            continue;
        }
        const char c = lower[i];
        std::size_t run = 1;
        std::string piece;
        bool part = true;
        switch (c) {
        case 'y':
            run = runAt(lower, i, 4);
            piece = run >= 3   ? std::to_string(p.year)
                    : run == 2 ? two(p.year % 100)
                               : std::to_string(day - dayNumber(p.year, 1, 1) + 1);
            break;
        case 'm':
            run = runAt(lower, i, 4);
            if (afterHour && run <= 2)
                piece = run == 2 ? two(p.minute) : std::to_string(p.minute);
            else
                piece = run == 1   ? std::to_string(p.month)
                        : run == 2 ? two(p.month)
                        : run == 3 ? std::string(kMonths[p.month - 1]).substr(0, 3)
                                   : std::string(kMonths[p.month - 1]);
            break;
        case 'd': {
            run = runAt(lower, i, 6);
            const std::string weekday = kDays[weekdayOf(day, 1) - 1];
            piece = run == 1   ? std::to_string(p.day)
                    : run == 2 ? two(p.day)
                    : run == 3 ? weekday.substr(0, 3)
                    : run == 4 ? weekday
                    : run == 5 ? shortDateText(p)
                               : longDate(p, day);
            break;
        }
        case 'h': {
            run = runAt(lower, i, 2);
            const int h = twelveHour ? hour12 : p.hour;
            piece = run == 2 ? two(h) : std::to_string(h);
            break;
        }
        case 'n':
        case 's': {
            run = runAt(lower, i, 2);
            const int v = c == 'n' ? p.minute : p.second;
            piece = run == 2 ? two(v) : std::to_string(v);
            break;
        }
        case 'q':
            piece = std::to_string((p.month - 1) / 3 + 1);
            break;
        case 'w':
            run = runAt(lower, i, 2);
            piece =
                std::to_string(run == 2 ? weekOfYear(day, rule) : weekdayOf(day, rule.firstDay));
            break;
        case 'c':
            piece = generalDateText(serial);
            break;
        case 't':
            part = startsWith(lower, i, "ttttt");
            run = part ? 5 : 1;
            piece = part ? longTimeText(p) : std::string(1, f[i]);
            break;
        default:
            part = false;
        }
        if (!part) {
            const std::size_t next = byteOffsetOfCharacter(f.substr(i), 1) + i;
            out += f.substr(i, next - i);
            i = next;
            continue;
        }
        afterHour = c == 'h';
        out += piece;
        i += run;
    }
    return out;
}

} // namespace

std::string formatDateValue(double serial, std::string_view format, const WeekRule& rule) {
    const std::string lower = lowerText(format);
    if (lower == "general date")
        return generalDateText(serial);
    if (lower == "long date")
        return customDate(serial, "dddddd", rule);
    if (lower == "medium date")
        return customDate(serial, "dd-mmm-yy", rule);
    if (lower == "short date")
        return customDate(serial, "ddddd", rule);
    if (lower == "long time")
        return customDate(serial, "ttttt", rule);
    if (lower == "medium time")
        return customDate(serial, "hh:nn AM/PM", rule);
    if (lower == "short time")
        return customDate(serial, "hh:nn", rule);
    return customDate(serial, sectionsOf(format)[0], rule);
}

} // namespace quarix::engine::sql::format

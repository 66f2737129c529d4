// Access's Format(value, format): the named formats (General Date, Long
// Date, Currency, Percent, Yes/No, ...) and custom date (yyyy mm dd hh nn
// ss AM/PM ...) and number (0 # . , %) formats, in US English conventions.
#include "engine/ColumnType.h"
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace quarix::engine::sql::fn {

namespace {

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string formatDate(double serial, std::string_view format);

std::string shortDate(const DateParts& p) {
    return std::to_string(p.month) + "/" + std::to_string(p.day) + "/" + std::to_string(p.year);
}

std::string longTime(const DateParts& p) {
    const int h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    return std::to_string(h12) + ":" + two(p.minute) + ":" + two(p.second) + (p.hour < 12 ? " AM" : " PM");
}

std::string generalDate(double serial) {
    const DateParts p = partsFromSerial(serial);
    const bool hasTime = p.hour || p.minute || p.second;
    if (std::trunc(serial) == 0 && hasTime)
        return longTime(p);
    return hasTime ? shortDate(p) + " " + longTime(p) : shortDate(p);
}

int weekdayOf(const DateParts& p) {
    const long long day = dayNumber(p.year, p.month, p.day);
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1; // 1 = Sunday
}

std::string formatDate(double serial, std::string_view f) {
    const DateParts p = partsFromSerial(serial);
    const std::string lower = lowerText(f);
    const bool twelveHour = lower.find("am/pm") != std::string::npos || lower.find("a/p") != std::string::npos ||
                            lower.find("ampm") != std::string::npos;
    std::string out;
    bool afterHour = false;
    for (std::size_t i = 0; i < f.size();) {
        const char c = f[i];
        const char lc = static_cast<char>(kAsciiLower[static_cast<unsigned char>(c)]);
        if (c == '"') {
            const auto close = f.find('"', i + 1);
            out += f.substr(i + 1, (close == std::string_view::npos ? f.size() : close) - i - 1);
            i = close == std::string_view::npos ? f.size() : close + 1;
            continue;
        }
        if (c == '\\' && i + 1 < f.size()) {
            out += f[i + 1];
            i += 2;
            continue;
        }
        if (lower.compare(i, 5, "am/pm") == 0) {
            const bool upper = c == 'A';
            out += p.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            i += 5;
            continue;
        }
        if (lower.compare(i, 3, "a/p") == 0) {
            const bool upper = c == 'A';
            out += p.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
            i += 3;
            continue;
        }
        std::size_t run = 1;
        while (i + run < f.size() && kAsciiLower[static_cast<unsigned char>(f[i + run])] == static_cast<unsigned char>(lc))
            ++run;
        std::string piece;
        bool consumed = true;
        switch (lc) {
        case 'y':
            piece = run >= 3 ? std::to_string(p.year) : run == 2 ? two(p.year % 100)
                                                                 : std::to_string(dayNumber(p.year, p.month, p.day) -
                                                                                  dayNumber(p.year, 1, 1) + 1);
            if (run > 4)
                run = 4;
            break;
        case 'm':
            if (afterHour && run <= 2)
                piece = run == 2 ? two(p.minute) : std::to_string(p.minute);
            else
                piece = run == 1 ? std::to_string(p.month) : run == 2 ? two(p.month)
                        : run == 3 ? std::string(kMonths[p.month - 1]).substr(0, 3)
                                   : std::string(kMonths[p.month - 1]);
            break;
        case 'd':
            piece = run == 1 ? std::to_string(p.day) : run == 2 ? two(p.day)
                    : run == 3 ? std::string(kDays[weekdayOf(p) - 1]).substr(0, 3)
                    : run == 4 ? std::string(kDays[weekdayOf(p) - 1])
                    : run == 5 ? shortDate(p)
                               : std::string(kDays[weekdayOf(p) - 1]) + ", " + kMonths[p.month - 1] + " " +
                                     std::to_string(p.day) + ", " + std::to_string(p.year);
            break;
        case 'h': {
            const int h = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
            piece = run >= 2 ? two(h) : std::to_string(h);
            break;
        }
        case 'n':
            piece = run >= 2 ? two(p.minute) : std::to_string(p.minute);
            break;
        case 's':
            piece = run >= 2 ? two(p.second) : std::to_string(p.second);
            break;
        case 'q':
            piece = std::to_string((p.month - 1) / 3 + 1);
            break;
        case 'w':
            piece = std::to_string(run >= 2 ? (dayNumber(p.year, p.month, p.day) - dayNumber(p.year, 1, 1) +
                                               weekdayOf(DateParts{p.year, 1, 1, 0, 0, 0}) - 1) / 7 + 1
                                            : weekdayOf(p));
            break;
        case 'c':
            piece = generalDate(serial);
            break;
        default:
            consumed = false;
        }
        if (!consumed) {
            out += c;
            ++i;
            continue;
        }
        afterHour = lc == 'h';
        out += piece;
        i += run;
    }
    return out;
}

// A number pattern of one section: placeholders 0 and #, a decimal point,
// thousands commas and literal text around them.
std::string formatNumberPattern(double value, std::string_view section) {
    std::string prefix, suffix, pattern;
    bool seenPlaceholder = false, percent = false;
    std::string pendingLiteral;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        std::string literal;
        if (c == '"') {
            const auto close = section.find('"', i + 1);
            literal = std::string(section.substr(i + 1, (close == std::string_view::npos ? section.size() : close) - i - 1));
            i = close == std::string_view::npos ? section.size() : close;
        } else if (c == '\\' && i + 1 < section.size()) {
            literal = section[++i];
        } else if (c == '0' || c == '#' || c == '.' || (c == ',' && seenPlaceholder)) {
            suffix += pendingLiteral;
            pendingLiteral.clear();
            pattern += c;
            seenPlaceholder = true;
            continue;
        } else {
            if (c == '%')
                percent = true;
            literal = c;
        }
        (seenPlaceholder ? pendingLiteral : prefix) += literal;
    }
    suffix += pendingLiteral;
    if (percent)
        value *= 100;
    const auto point = pattern.find('.');
    const std::string intPattern = pattern.substr(0, point);
    const std::string decPattern = point == std::string::npos ? "" : pattern.substr(point + 1);
    int minInt = 0, decimals = 0, minDec = 0;
    for (char c : intPattern)
        minInt += c == '0';
    for (std::size_t i = 0; i < decPattern.size(); ++i) {
        if (decPattern[i] == '0' || decPattern[i] == '#')
            ++decimals;
        if (decPattern[i] == '0')
            minDec = decimals;
    }
    const bool grouping = intPattern.find(',') != std::string::npos;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
    std::string digits = buf;
    const auto dot = digits.find('.');
    std::string whole = digits.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : digits.substr(dot + 1);
    while (static_cast<int>(fraction.size()) > minDec && !fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (whole == "0" && minInt == 0)
        whole.clear();
    while (static_cast<int>(whole.size()) < minInt)
        whole.insert(0, "0");
    if (grouping)
        for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(static_cast<std::size_t>(i), ",");
    std::string number = whole;
    if (point != std::string::npos)
        number += "." + fraction;
    return prefix + number + suffix;
}

std::vector<std::string_view> sections(std::string_view format) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '"')
            quoted = !quoted;
        else if (format[i] == ';' && !quoted) {
            out.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(format.substr(start));
    return out;
}

std::string formatNumberCustom(double value, std::string_view format) {
    const auto parts = sections(format);
    if (value < 0 && parts.size() > 1 && !parts[1].empty())
        return formatNumberPattern(-value, parts[1]);
    if (value == 0 && parts.size() > 2 && !parts[2].empty())
        return formatNumberPattern(0, parts[2]);
    const std::string s = formatNumberPattern(value, parts[0]);
    const bool showsDigit = s.find_first_of("123456789") != std::string::npos;
    return value < 0 && showsDigit ? "-" + s : s;
}

std::string scientific(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2E", value);
    std::string s = buf;
    const auto e = s.find('E');
    std::string exponent = s.substr(e + 2);
    while (exponent.size() > 2 && exponent[0] == '0')
        exponent.erase(0, 1);
    return s.substr(0, e + 2) + exponent;
}

bool isNamedNumberFormat(const std::string& lower) {
    for (const char* name : {"general number", "currency", "fixed", "standard", "percent", "scientific", "yes/no",
                             "true/false", "on/off"})
        if (lower == name)
            return true;
    return false;
}

bool isDateFormat(const std::string& lower) {
    if (isNamedNumberFormat(lower))
        return false;
    for (const char* name : {"general date", "long date", "medium date", "short date", "long time", "medium time",
                             "short time"})
        if (lower == name)
            return true;
    return lower.find_first_of("ymdhnsqwc") != std::string::npos && lower.find_first_of("0#") == std::string::npos;
}

std::string namedDate(double serial, const std::string& lower, std::string_view format) {
    if (lower == "general date")
        return generalDate(serial);
    if (lower == "long date")
        return formatDate(serial, "dddd, mmmm d, yyyy");
    if (lower == "medium date")
        return formatDate(serial, "dd-mmm-yy");
    if (lower == "short date")
        return formatDate(serial, "m/d/yyyy");
    if (lower == "long time")
        return formatDate(serial, "h:nn:ss AM/PM");
    if (lower == "medium time")
        return formatDate(serial, "hh:nn AM/PM");
    if (lower == "short time")
        return formatDate(serial, "hh:nn");
    return formatDate(serial, format);
}

std::string namedNumber(double value, const std::string& lower, std::string_view format) {
    if (lower == "general number")
        return formatNumber(value);
    if (lower == "currency")
        return formatNumberCustom(value, "$#,##0.00;($#,##0.00)");
    if (lower == "fixed")
        return formatNumberCustom(value, "0.00");
    if (lower == "standard")
        return formatNumberCustom(value, "#,##0.00");
    if (lower == "percent")
        return formatNumberCustom(value, "0.00%");
    if (lower == "scientific")
        return scientific(value);
    if (lower == "yes/no")
        return value != 0 ? "Yes" : "No";
    if (lower == "true/false")
        return value != 0 ? "True" : "False";
    if (lower == "on/off")
        return value != 0 ? "On" : "Off";
    return formatNumberCustom(value, format);
}

void formatFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto type = static_cast<ColumnType>(sqlite3_value_int(argv[1]));
    const std::string_view format = textOf(argv[2]);
    const std::string lower = lowerText(format);
    const bool dateValue = type == ColumnType::DateTime || type == ColumnType::DateTimeExtended;
    if (format.empty())
        return resultText(ctx, dateValue ? generalDate(sqlite3_value_double(argv[0])) : displayString(argv[0], sqlite3_value_int(argv[1])));
    double number = 0;
    if (isDateFormat(lower)) {
        double serial = 0;
        if (isNumber(argv[0]))
            serial = sqlite3_value_double(argv[0]);
        else if (const auto parsed = parseDateText(textOf(argv[0])))
            serial = *parsed;
        else
            return resultText(ctx, textOf(argv[0]));
        if (!serialInRange(serial))
            return invalidArgument(ctx);
        return resultText(ctx, namedDate(serial, lower, format));
    }
    if (isNumber(argv[0]) || parseNumber(textOf(argv[0]), number)) {
        if (isNumber(argv[0]))
            number = sqlite3_value_double(argv[0]);
        return resultText(ctx, namedNumber(number, lower, format));
    }
    const std::string_view text = textOf(argv[0]);
    if (format.find('>') != std::string_view::npos)
        return resultText(ctx, upperText(text));
    if (format.find('<') != std::string_view::npos)
        return resultText(ctx, lowerText(text));
    resultText(ctx, text);
}

} // namespace

void registerFormatFunction(sqlite3* db) { define(db, "acc_format", 3, formatFn); }

} // namespace quarix::engine::sql::fn

#include "engine/sql/AccessDate.h"

#include "engine/sql/AccessText.h"

#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace quarix::engine::sql {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

const long long kEpoch = daysFromCivil(1899, 12, 30);

const char* const kMonthNames[] = {"january",   "february", "march",    "april",
                                   "may",       "june",     "july",     "august",
                                   "september", "october",  "november", "december"};

struct Token {
    enum Kind { Number, Word, Sep } kind;
    std::string text;
    char sep = 0;
};

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isdigit(c)) {
            std::size_t j = i;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            out.push_back({Token::Number, std::string(s.substr(i, j - i))});
            i = j;
        } else if (std::isalpha(c)) {
            std::size_t j = i;
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j])))
                ++j;
            out.push_back({Token::Word, lowerText(s.substr(i, j - i))});
            i = j;
        } else if (c == ' ' || c == '\t') {
            ++i;
        } else {
            out.push_back({Token::Sep, {}, static_cast<char>(c)});
            ++i;
        }
    }
    return out;
}

int monthFromWord(const std::string& w) {
    if (w.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        const std::string name = kMonthNames[m];
        if (name.compare(0, w.size(), w) == 0 || (w.size() == 4 && w == "sept" && m == 8))
            return m + 1;
    }
    return 0;
}

int expandYear(const std::string& digits) {
    const int y = std::stoi(digits);
    if (digits.size() <= 2)
        return y < 30 ? 2000 + y : 1900 + y;
    return y;
}

// Parses the time part starting at tokens[i]; true when it consumed all.
bool parseTime(const std::vector<Token>& t, std::size_t i, double& time) {
    if (i == t.size()) {
        time = 0;
        return true;
    }
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (i < t.size() && t[i].kind == Token::Number && count < 3) {
        if (t[i].text.size() > 2)
            return false;
        parts[count++] = std::stoi(t[i].text);
        ++i;
        if (i < t.size() && t[i].kind == Token::Sep && t[i].sep == ':')
            ++i;
        else
            break;
    }
    if (count == 0)
        return false;
    if (i < t.size() && t[i].kind == Token::Sep && t[i].sep == '.') {
        ++i; // fractions of a second are dropped, as Access does
        if (i < t.size() && t[i].kind == Token::Number)
            ++i;
    }
    if (i < t.size() && t[i].kind == Token::Word &&
        (t[i].text == "am" || t[i].text == "pm" || t[i].text == "a" || t[i].text == "p")) {
        if (parts[0] < 1 || parts[0] > 12)
            return false;
        const bool pm = t[i].text[0] == 'p';
        parts[0] = parts[0] % 12 + (pm ? 12 : 0);
        ++i;
    } else if (count == 1) {
        return false; // a lone number is not a time
    }
    if (i != t.size() || parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    time = (parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
    return true;
}

bool isDateSep(const Token& t) {
    return t.kind == Token::Sep && (t.sep == '/' || t.sep == '-' || t.sep == '.');
}

} // namespace

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return days[month - 1];
}

bool isValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

long long dayNumber(int year, int month, int day) {
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch;
}

double serialFromDayAndTime(double day, double time) {
    return day < 0 ? day - time : day + time;
}

void splitSerial(double serial, double& day, double& time) {
    day = std::trunc(serial);
    time = std::fabs(serial - day);
}

double serialFromParts(const DateParts& p) {
    double day = static_cast<double>(dayNumber(p.year, p.month, p.day));
    long long seconds = static_cast<long long>(p.hour) * 3600 + p.minute * 60 + p.second;
    day += static_cast<double>(seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0));
    seconds = ((seconds % 86400) + 86400) % 86400;
    return serialFromDayAndTime(day, static_cast<double>(seconds) / 86400.0);
}

DateParts partsFromSerial(double serial) {
    double day = 0, time = 0;
    splitSerial(serial, day, time);
    long long seconds = std::llround(time * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += serial < 0 ? -1 : 1;
    }
    DateParts p;
    civilFromDays(static_cast<long long>(day) + kEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

namespace {

double systemNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return serialFromParts({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec});
}

std::atomic<Clock> clockInUse{nullptr};

} // namespace

void setClock(Clock clock) {
    clockInUse = clock;
}

double nowSerial() {
    const Clock clock = clockInUse;
    return clock ? clock() : systemNow();
}

int currentYear() {
    return partsFromSerial(nowSerial()).year;
}

bool serialInRange(double serial) {
    return serial >= kMinSerial && serial < kMaxSerial + 1e-5;
}

std::string formatSerial(double serial) {
    const DateParts p = partsFromSerial(serial);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
    return buf;
}

std::string shortDateText(const DateParts& p) {
    return std::to_string(p.month) + "/" + std::to_string(p.day) + "/" + std::to_string(p.year);
}

std::string longTimeText(const DateParts& p) {
    const int h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, p.minute, p.second,
                  p.hour < 12 ? "AM" : "PM");
    return buf;
}

std::string generalDateText(double serial) {
    const DateParts p = partsFromSerial(serial);
    const bool hasTime = p.hour || p.minute || p.second;
    if (p.year == 1899 && p.month == 12 && p.day == 30)
        return longTimeText(p);
    return hasTime ? shortDateText(p) + " " + longTimeText(p) : shortDateText(p);
}

std::optional<double> parseDateText(std::string_view text) {
    const std::vector<Token> t = tokenize(text);
    if (t.empty())
        return std::nullopt;
    for (const Token& token : t)
        if (token.kind == Token::Number && token.text.size() > 4)
            return std::nullopt;
    double time = 0;
    int y = 0, m = 0, d = 0;
    std::size_t next = 0;
    auto num = [&](std::size_t i) { return i < t.size() && t[i].kind == Token::Number; };
    auto word = [&](std::size_t i) {
        return i < t.size() && t[i].kind == Token::Word && monthFromWord(t[i].text);
    };
    auto sepAt = [&](std::size_t i) { return i < t.size() && isDateSep(t[i]); };
    auto comma = [&](std::size_t i) {
        return i < t.size() && t[i].kind == Token::Sep && t[i].sep == ',';
    };

    // A day and a month without a year mean this year; a month and a year
    // (a number that cannot be a day) mean the first of that month.
    auto dayOrYear = [&](const std::string& digits) {
        if (digits.size() <= 2 && std::stoi(digits) <= 31) {
            d = std::stoi(digits);
            y = currentYear();
        } else {
            d = 1;
            y = expandYear(digits);
        }
    };
    if (num(0) && sepAt(1) && num(2) && sepAt(3) && num(4) && t[1].sep == t[3].sep) {
        const std::string& a = t[0].text;
        if (a.size() >= 3) { // yyyy-mm-dd
            y = std::stoi(a);
            m = std::stoi(t[2].text);
            d = std::stoi(t[4].text);
        } else { // m/d/y, or d/m/y when m/d is impossible
            y = expandYear(t[4].text);
            m = std::stoi(a);
            d = std::stoi(t[2].text);
            if (!isValidDate(y, m, d) && isValidDate(y, d, m))
                std::swap(m, d);
        }
        next = 5;
        if (next < t.size() && t[next].kind == Token::Word && t[next].text == "t")
            ++next;
    } else if (num(0) && sepAt(1) && num(2)) { // m/d, d/m, m/yyyy or yyyy-mm
        if (t[0].text.size() >= 3) {
            y = std::stoi(t[0].text);
            m = std::stoi(t[2].text);
            d = 1;
        } else {
            m = std::stoi(t[0].text);
            dayOrYear(t[2].text);
            if (!isValidDate(y, m, d) && isValidDate(y, d, m))
                std::swap(m, d);
        }
        next = 3;
    } else if (num(0) && word(sepAt(1) ? 2 : 1)) { // 5 Jan 2020, 5-Jan-2020, 5 Jan
        std::size_t i = sepAt(1) ? 2 : 1;
        d = std::stoi(t[0].text);
        m = monthFromWord(t[i].text);
        ++i;
        if ((sepAt(i) || comma(i)) && num(i + 1))
            ++i;
        if (num(i) && !(i + 1 < t.size() && t[i + 1].kind == Token::Sep && t[i + 1].sep == ':')) {
            y = expandYear(t[i].text);
            ++i;
        } else {
            y = currentYear();
        }
        next = i;
    } else if (word(0) && num(1)) { // January 5, 2020; January 5; January 2020
        m = monthFromWord(t[0].text);
        std::size_t i = 2;
        if ((comma(i) || sepAt(i)) && num(i + 1)) {
            d = std::stoi(t[1].text);
            y = expandYear(t[i + 1].text);
            i += 2;
        } else if (num(i) &&
                   !(i + 1 < t.size() && t[i + 1].kind == Token::Sep && t[i + 1].sep == ':')) {
            d = std::stoi(t[1].text);
            y = expandYear(t[i].text);
            ++i;
        } else {
            dayOrYear(t[1].text);
        }
        next = i;
    } else {
        if (!parseTime(t, 0, time))
            return std::nullopt;
        return time;
    }
    if (!isValidDate(y, m, d) || !parseTime(t, next, time))
        return std::nullopt;
    return serialFromDayAndTime(static_cast<double>(dayNumber(y, m, d)), time);
}

} // namespace quarix::engine::sql

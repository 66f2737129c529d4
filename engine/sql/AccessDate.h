#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarix::engine::sql {

// Access keeps a date as a serial: days since 1899-12-30 in the integer part
// and the time of day in the fraction. Before that day the integer part
// counts back and the fraction still adds a positive time: 1899-12-29 06:00
// is -1.25. Valid from year 100 to 9999.
struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

constexpr double kMinSerial = -657434.0;           // 100-01-01
constexpr double kMaxSerial = 2958465.99998842593; // 9999-12-31 23:59:59

bool isValidDate(int year, int month, int day);

// Day number of a calendar date (proleptic Gregorian), 0 = 1899-12-30.
long long dayNumber(int year, int month, int day);

// Serial of a date and time; the time may be any number of seconds.
double serialFromParts(const DateParts& parts);

// Combines a whole day number with a time of day in [0, 1).
double serialFromDayAndTime(double day, double time);

// Splits a serial into day number and time of day in [0, 1).
void splitSerial(double serial, double& day, double& time);

// The parts of a serial, time rounded to the second.
DateParts partsFromSerial(double serial);

bool serialInRange(double serial);

// "yyyy-MM-dd HH:mm:ss", the form the result grid shows.
std::string formatSerial(double serial);

// Access's general date, the text a date turns into inside an expression:
// "1/2/2003 7:00:00 AM", the time left out at midnight, the date left out
// on day 0 ("7:00:00 AM", "12:00:00 AM").
std::string generalDateText(double serial);
std::string shortDateText(const DateParts& parts); // 1/2/2003
std::string longTimeText(const DateParts& parts);  // 7:00:00 AM

// The local date and time now, as a serial, from the system clock or from
// the clock a test put in its place (nullptr puts the system's back).
using Clock = double (*)();
void setClock(Clock clock);
double nowSerial();
int currentYear();

// Reads a date as Access does in #...# literals and CDate: m/d/y (US order,
// or d/m/y when m/d is impossible), yyyy-mm-dd, month names ("5 Jan 2020",
// "January 5, 2020"), each with an optional time "h:mm[:ss] [AM|PM]", or a
// time alone. Two-digit years 30..99 mean 19xx, 00..29 20xx; a date without
// a year ("3/15", "March 15") is in the current year.
std::optional<double> parseDateText(std::string_view text);

// Days in a month of a year.
int daysInMonth(int year, int month);

} // namespace quarix::engine::sql

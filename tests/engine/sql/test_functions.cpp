// Every Access function with a few values, evaluated by SQLite.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class Functions : public ValueTest {};

TEST_P(Functions, GiveAccessResults) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Functions,
    ::testing::Values(
        ValueCase{"Int(-3.5)", "-4"}, ValueCase{"Fix(-3.5)", "-3"}, ValueCase{"Int('7.9')", "7"},
        ValueCase{"Abs(-2.25)", "2.25"}, ValueCase{"Sgn(-0.1)", "-1"}, ValueCase{"Sqr(16)", "4"},
        ValueCase{"Round(Exp(1), 4)", "2.7183"}, ValueCase{"Round(Log(100), 3)", "4.605"},
        ValueCase{"SIN(0)", "0"}, ValueCase{"Round(COS(0), 1)", "1"},
        ValueCase{"Round(TAN(1), 4)", "1.5574"}, ValueCase{"Round(Atn(1) * 4, 5)", "3.14159"},
        ValueCase{"Round(2.5)", "2"}, ValueCase{"Round(3.5)", "4"},
        ValueCase{"Round(2.675, 2)", "2.68"}, ValueCase{"Round(-2.5)", "-2"},
        ValueCase{"Round(1.005, 2)", "1"}, ValueCase{"CInt(2.5)", "2"}, ValueCase{"CInt(3.5)", "4"},
        ValueCase{"CLng(-2.5)", "-2"}, ValueCase{"CDbl('1.5e3')", "1500"},
        ValueCase{"CSng(1.1)", "1.1"}, ValueCase{"CCur(1.23456)", "1.2346"},
        ValueCase{"Val('  12 34abc')", "1234"}, ValueCase{"Val('abc')", "0"},
        ValueCase{"Val('-1.5e2x')", "-150"}, ValueCase{"Str(5)", " 5"}, ValueCase{"Str(-5)", "-5"},
        ValueCase{"7 \\ 2", "3"}, ValueCase{"-7 \\ 2", "-3"}, ValueCase{"7 Mod 3", "1"},
        ValueCase{"-7 Mod 3", "-1"}, ValueCase{"7.5 Mod 2", "0"}, ValueCase{"2 ^ 10", "1024"},
        ValueCase{"-2 ^ 2", "4"}, ValueCase{"2 ^ -1", "0.5"}, ValueCase{"1 / 4", "0.25"},
        ValueCase{"2 + 3 * 4", "14"}, ValueCase{"10 - 2 - 3", "5"}, ValueCase{"5 And 3", "1"},
        ValueCase{"5 Or 3", "7"}, ValueCase{"Not 5", "-6"}, ValueCase{"0.1 + 0.2", "0.3"},
        ValueCase{"1E20 * 15", "1.5E+21"}, ValueCase{"[Price] * 2", "-24.68"},
        ValueCase{"[Price]", "-12.3400"}, ValueCase{"[Ratio]", "1.1"}));

INSTANTIATE_TEST_SUITE_P(
    Conversions, Functions,
    ::testing::Values(
        ValueCase{"IsNumeric('1,234.5')", "True"}, ValueCase{"IsNumeric('12a')", "False"},
        ValueCase{"IsNumeric(Null)", "False"}, ValueCase{"IsDate('2/30/2020')", "False"},
        ValueCase{"IsDate('Jan 5, 2020')", "True"}, ValueCase{"IsDate(#1/1/2020#)", "True"},
        ValueCase{"IsNull([Nothing])", "True"}, ValueCase{"IsNull('')", "False"},
        ValueCase{"CBool('yes')", "True"}, ValueCase{"CBool(0)", "False"},
        ValueCase{"CStr(True)", "True"}, ValueCase{"CStr(#2020-05-06#)", "5/6/2020"},
        ValueCase{"CDate('5 March 2021 14:05')", "2021-03-05 14:05:00"},
        ValueCase{"CDate('13/1/2020')", "2020-01-13 00:00:00"},
        ValueCase{"Nz([Nothing], 'x')", "x"}, ValueCase{"Nz([Nothing])", ""},
        ValueCase{"IIf(1 > 2, 'a', 'b')", "b"}, ValueCase{"IIf([Nothing] Is Null, 1, 2)", "1"},
        ValueCase{"'a' & Null", "a"}, ValueCase{"Null & Null", "Null"},
        ValueCase{"'a' + Null", "Null"}, ValueCase{"'5' + 3", "8"}, ValueCase{"'a' + 'b'", "ab"},
        ValueCase{"1 + Null", "Null"}, ValueCase{"'x' & 1.5 & True", "x1.5True"},
        ValueCase{"CStr([Stamp] + 1)", "3/1/2024 1:45:30 PM"},
        ValueCase{"CStr(-75 / 999)", "-7.50750750750751E-02"},
        ValueCase{"CStr(75 / 999)", "7.50750750750751E-02"}, ValueCase{"CStr(75 / 1000)", "0.075"},
        ValueCase{"CStr(1 / 3)", "0.333333333333333"},
        ValueCase{"'x' & 1 / 30", "x3.33333333333333E-02"}, ValueCase{"CStr(1.5E-7)", "1.5E-07"},
        ValueCase{"CStr(1E15 + 0.5)", "1E+15"}));

INSTANTIATE_TEST_SUITE_P(
    Text, Functions,
    ::testing::Values(
        ValueCase{"Len('Zürich')", "6"}, ValueCase{"Len([Nothing])", "Null"},
        ValueCase{"Left('Zürich', 2)", "Zü"}, ValueCase{"Right('Zürich', 3)", "ich"},
        ValueCase{"Mid('Zürich', 2, 3)", "üri"}, ValueCase{"Mid('abc', 2)", "bc"},
        ValueCase{"Mid('abc', 5)", ""}, ValueCase{"InStr('Zürich', 'RI')", "3"},
        ValueCase{"InStr(4, 'abcabc', 'b')", "5"}, ValueCase{"InStr(1, 'abc', 'B', 0)", "0"},
        ValueCase{"InStr('abc', 'z')", "0"}, ValueCase{"UCase('straße é')", "STRASSE É"},
        ValueCase{"UPPER('zürich')", "ZÜRICH"}, ValueCase{"LCase('ÅNGSTRÖM')", "ångström"},
        ValueCase{"Trim('  a b  ')", "a b"}, ValueCase{"LTrim('  a ')", "a "},
        ValueCase{"RTrim(' a  ')", " a"}, ValueCase{"Space(3) & '|'", "   |"},
        ValueCase{"String(3, 'xy')", "xxx"},
        ValueCase{"Replace('Hello hello', 'hello', 'bye')", "bye bye"},
        ValueCase{"Replace('a-b-c', '-', '+', 1, 1)", "a+b-c"},
        ValueCase{"Replace('abcabc', 'b', 'X', 3)", "caXc"},
        ValueCase{"StrComp('abc', 'ABC')", "0"}, ValueCase{"StrComp('abc', 'ABC', 0)", "1"},
        ValueCase{"StrComp('a', 'b')", "-1"}, ValueCase{"StrReverse('Zürich')", "hcirüZ"},
        ValueCase{"Chr(65)", "A"}, ValueCase{"Asc('a')", "97"},
        ValueCase{"Format(1234.5, 'Currency')", "$1,234.50"},
        ValueCase{"Format(-1234.5, 'Currency')", "($1,234.50)"},
        ValueCase{"Format(1234.5, 'Fixed')", "1234.50"},
        ValueCase{"Format(1234.5, 'Standard')", "1,234.50"},
        ValueCase{"Format(0.125, 'Percent')", "12.50%"}, ValueCase{"Format(3, 'Yes/No')", "Yes"},
        ValueCase{"Format(0, 'True/False')", "False"}, ValueCase{"Format(0, 'On/Off')", "Off"},
        ValueCase{"Format(1234.5, 'General Number')", "1234.5"},
        ValueCase{"Format(5, '000')", "005"},
        ValueCase{"Format(1234567.891, '#,##0.00')", "1,234,567.89"},
        ValueCase{"Format(0.5, '#.##')", ".5"}, ValueCase{"Format(-3, '0;(0)')", "(3)"},
        ValueCase{"Format('abc', '>')", "ABC"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, Functions,
    ::testing::Values(
        ValueCase{"#2024-02-29 13:45:30#", "2024-02-29 13:45:30"},
        ValueCase{"#12/31/9999 23:59:59#", "9999-12-31 23:59:59"},
        ValueCase{"#1/1/100#", "0100-01-01 00:00:00"},
        ValueCase{"#12/29/1899 6:00#", "1899-12-29 06:00:00"},
        ValueCase{"CDbl(#12/29/1899 6:00#)", "-1.25"}, ValueCase{"CDbl(#1/1/1900#)", "2"},
        ValueCase{"Year(#6/15/1850 6:00#)", "1850"}, ValueCase{"Hour(#6/15/1850 6:00#)", "6"},
        ValueCase{"Month('2020-07-04')", "7"}, ValueCase{"Day(#2/29/2024#)", "29"},
        ValueCase{"Minute(#1:02:03#)", "2"}, ValueCase{"Second(#1:02:03 PM#)", "3"},
        ValueCase{"Weekday(#2024-02-29#)", "5"}, ValueCase{"Weekday(#2024-02-29#, 2)", "4"},
        ValueCase{"DateAdd('m', 1, #1/31/2024#)", "2024-02-29 00:00:00"},
        ValueCase{"DateAdd('yyyy', -1, #2/29/2024#)", "2023-02-28 00:00:00"},
        ValueCase{"DateAdd('q', 1, #11/15/2020#)", "2021-02-15 00:00:00"},
        ValueCase{"DateAdd('h', 30, #1/1/2020#)", "2020-01-02 06:00:00"},
        ValueCase{"DateAdd('n', -1, #1/1/1900#)", "1899-12-31 23:59:00"},
        ValueCase{"DateAdd('d', -1, #12/30/1899 6:00#)", "1899-12-29 06:00:00"},
        ValueCase{"DateAdd('ww', 2, #1/1/2020#)", "2020-01-15 00:00:00"},
        ValueCase{"DateAdd('s', 61, #1/1/2020#)", "2020-01-01 00:01:01"},
        ValueCase{"DateDiff('d', #1/1/2020#, #3/1/2020#)", "60"},
        ValueCase{"DateDiff('m', #1/31/2020#, #2/1/2020#)", "1"},
        ValueCase{"DateDiff('yyyy', #12/31/2019#, #1/1/2020#)", "1"},
        ValueCase{"DateDiff('q', #3/31/2020#, #4/1/2020#)", "1"},
        ValueCase{"DateDiff('ww', #1/4/2020#, #1/5/2020#)", "1"},
        ValueCase{"DateDiff('w', #1/1/2020#, #1/15/2020#)", "2"},
        ValueCase{"DateDiff('h', #1/1/2020 10:59#, #1/1/2020 11:00#)", "1"},
        ValueCase{"DateDiff('n', #1/1/2020#, #1/2/2020#)", "1440"},
        ValueCase{"DateDiff('s', #1/1/2020#, #1/1/2020 0:01#)", "60"},
        ValueCase{"DateDiff('d', #3/1/2020#, #1/1/2020#)", "-60"},
        ValueCase{"DatePart('yyyy', #5/6/2020#)", "2020"},
        ValueCase{"DatePart('y', #2/1/2020#)", "32"}, ValueCase{"DatePart('w', #1/5/2020#)", "1"},
        ValueCase{"DatePart('ww', #1/5/2020#)", "2"},
        ValueCase{"DatePart('h', #5/6/2020 17:30#)", "17"},
        ValueCase{"DatePart('n', #5/6/2020 17:30#)", "30"},
        ValueCase{"DateSerial(2020, 13, 1)", "2021-01-01 00:00:00"},
        ValueCase{"DateSerial(2020, 3, 0)", "2020-02-29 00:00:00"},
        ValueCase{"DateSerial(99, 1, 1)", "1999-01-01 00:00:00"},
        ValueCase{"TimeSerial(25, 0, 0)", "1899-12-30 01:00:00"},
        ValueCase{"CStr(TimeSerial(30, 0, 0))", "6:00:00 AM"},
        ValueCase{"CStr(TimeSerial(-10, 0, 0))", "2:00:00 PM"},
        ValueCase{"CStr(TimeSerial(0, -1, 0))", "11:59:00 PM"},
        ValueCase{"CStr(TimeSerial(48, 0, 0))", "12:00:00 AM"},
        ValueCase{"DateValue('July 4, 2020 10:00')", "2020-07-04 00:00:00"},
        ValueCase{"TimeValue(#7/4/2020 10:30#)", "1899-12-30 10:30:00"},
        ValueCase{"#1/2/2020# - #1/1/2020#", "1"},
        ValueCase{"#1/1/2020# + 1.5", "2020-01-02 12:00:00"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'yyyy-mm-dd hh:nn:ss')", "2001-01-14 14:30:15"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'Long Date')", "Sunday, January 14, 2001"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'Short Date')", "1/14/2001"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'General Date')", "1/14/2001 2:30:15 PM"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'Long Time')", "2:30:15 PM"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'Short Time')", "14:30"},
        ValueCase{"Format(#2001-01-14 14:30:15#, 'dddd d mmm yy h:mm AM/PM')",
                  "Sunday 14 Jan 01 2:30 PM"},
        ValueCase{"Format(#3/4/2020#, 'mmmm \"the\" d')", "March the 4"},
        ValueCase{"Format(#5/6/2020#, 'q')", "2"}, ValueCase{"Year(Date()) > 2000", "True"},
        ValueCase{"Now() - Date() < 1", "True"}, ValueCase{"Time() < 1", "True"}));

} // namespace
} // namespace quarix::test

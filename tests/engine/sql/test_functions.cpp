// Every Access function with a few values, evaluated by SQLite.
#include "SqlTestDatabase.h"

namespace quarix::test {
namespace {

struct FunctionCase {
    const char* expression;
    const char* value; // display text, "Null" for Null
};

void PrintTo(const FunctionCase& c, std::ostream* os) { *os << c.expression; }

class Functions : public ::testing::TestWithParam<FunctionCase> {
protected:
    SqlTestDatabase db;
};

TEST_P(Functions, GiveAccessResults) { EXPECT_EQ(db.eval(GetParam().expression), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Numbers, Functions, ::testing::Values(
    FunctionCase{"Int(-3.5)", "-4"}, FunctionCase{"Fix(-3.5)", "-3"}, FunctionCase{"Int('7.9')", "7"},
    FunctionCase{"Abs(-2.25)", "2.25"}, FunctionCase{"Sgn(-0.1)", "-1"}, FunctionCase{"Sqr(16)", "4"},
    FunctionCase{"Round(Exp(1), 4)", "2.7183"}, FunctionCase{"Round(Log(100), 3)", "4.605"},
    FunctionCase{"SIN(0)", "0"}, FunctionCase{"Round(COS(0), 1)", "1"}, FunctionCase{"Round(TAN(1), 4)", "1.5574"},
    FunctionCase{"Round(Atn(1) * 4, 5)", "3.14159"}, FunctionCase{"Round(2.5)", "2"}, FunctionCase{"Round(3.5)", "4"},
    FunctionCase{"Round(2.675, 2)", "2.68"}, FunctionCase{"Round(-2.5)", "-2"}, FunctionCase{"Round(1.005, 2)", "1"},
    FunctionCase{"CInt(2.5)", "2"}, FunctionCase{"CInt(3.5)", "4"}, FunctionCase{"CLng(-2.5)", "-2"},
    FunctionCase{"CDbl('1.5e3')", "1500"}, FunctionCase{"CSng(1.1)", "1.1"}, FunctionCase{"CCur(1.23456)", "1.2346"},
    FunctionCase{"Val('  12 34abc')", "1234"}, FunctionCase{"Val('abc')", "0"}, FunctionCase{"Val('-1.5e2x')", "-150"},
    FunctionCase{"Str(5)", " 5"}, FunctionCase{"Str(-5)", "-5"}, FunctionCase{"7 \\ 2", "3"}, FunctionCase{"-7 \\ 2", "-3"},
    FunctionCase{"7 Mod 3", "1"}, FunctionCase{"-7 Mod 3", "-1"}, FunctionCase{"7.5 Mod 2", "0"},
    FunctionCase{"2 ^ 10", "1024"}, FunctionCase{"-2 ^ 2", "-4"}, FunctionCase{"2 ^ -1", "0.5"},
    FunctionCase{"1 / 4", "0.25"}, FunctionCase{"2 + 3 * 4", "14"}, FunctionCase{"10 - 2 - 3", "5"},
    FunctionCase{"5 And 3", "1"}, FunctionCase{"5 Or 3", "7"}, FunctionCase{"Not 5", "-6"},
    FunctionCase{"0.1 + 0.2", "0.3"}, FunctionCase{"1E20 * 15", "1.5E+21"}, FunctionCase{"[Price] * 2", "-24.68"},
    FunctionCase{"[Price]", "-12.3400"}, FunctionCase{"[Ratio]", "1.1"}));

INSTANTIATE_TEST_SUITE_P(Conversions, Functions, ::testing::Values(
    FunctionCase{"IsNumeric('1,234.5')", "True"}, FunctionCase{"IsNumeric('12a')", "False"},
    FunctionCase{"IsNumeric(Null)", "False"}, FunctionCase{"IsDate('2/30/2020')", "False"},
    FunctionCase{"IsDate('Jan 5, 2020')", "True"}, FunctionCase{"IsDate(#1/1/2020#)", "True"},
    FunctionCase{"IsNull([Nothing])", "True"}, FunctionCase{"IsNull('')", "False"}, FunctionCase{"CBool('yes')", "True"},
    FunctionCase{"CBool(0)", "False"}, FunctionCase{"CStr(True)", "True"}, FunctionCase{"CStr(#2020-05-06#)", "2020-05-06 00:00:00"},
    FunctionCase{"CDate('5 March 2021 14:05')", "2021-03-05 14:05:00"}, FunctionCase{"CDate('13/1/2020')", "2020-01-13 00:00:00"},
    FunctionCase{"Nz([Nothing], 'x')", "x"}, FunctionCase{"Nz([Nothing])", ""}, FunctionCase{"IIf(1 > 2, 'a', 'b')", "b"},
    FunctionCase{"IIf([Nothing] Is Null, 1, 2)", "1"}, FunctionCase{"'a' & Null", "a"}, FunctionCase{"Null & Null", "Null"},
    FunctionCase{"'a' + Null", "Null"}, FunctionCase{"'5' + 3", "8"}, FunctionCase{"'a' + 'b'", "ab"},
    FunctionCase{"1 + Null", "Null"}, FunctionCase{"'x' & 1.5 & True", "x1.5True"}, FunctionCase{"Left(CStr([Stamp] + 1), 16)", "2024-03-01 13:45"}));

INSTANTIATE_TEST_SUITE_P(Text, Functions, ::testing::Values(
    FunctionCase{"Len('Zürich')", "6"}, FunctionCase{"Len([Nothing])", "Null"}, FunctionCase{"Left('Zürich', 2)", "Zü"},
    FunctionCase{"Right('Zürich', 3)", "ich"}, FunctionCase{"Mid('Zürich', 2, 3)", "üri"}, FunctionCase{"Mid('abc', 2)", "bc"},
    FunctionCase{"Mid('abc', 5)", ""}, FunctionCase{"InStr('Zürich', 'RI')", "3"}, FunctionCase{"InStr(4, 'abcabc', 'b')", "5"},
    FunctionCase{"InStr(1, 'abc', 'B', 0)", "0"}, FunctionCase{"InStr('abc', 'z')", "0"}, FunctionCase{"UCase('straße é')", "STRASSE É"},
    FunctionCase{"UPPER('zürich')", "ZÜRICH"}, FunctionCase{"LCase('ÅNGSTRÖM')", "ångström"}, FunctionCase{"Trim('  a b  ')", "a b"},
    FunctionCase{"LTrim('  a ')", "a "}, FunctionCase{"RTrim(' a  ')", " a"}, FunctionCase{"Space(3) & '|'", "   |"},
    FunctionCase{"String(3, 'xy')", "xxx"}, FunctionCase{"Replace('Hello hello', 'hello', 'bye')", "bye bye"},
    FunctionCase{"Replace('a-b-c', '-', '+', 1, 1)", "a+b-c"}, FunctionCase{"Replace('abcabc', 'b', 'X', 3)", "caXc"},
    FunctionCase{"StrComp('abc', 'ABC')", "0"}, FunctionCase{"StrComp('abc', 'ABC', 0)", "1"}, FunctionCase{"StrComp('a', 'b')", "-1"},
    FunctionCase{"StrReverse('Zürich')", "hcirüZ"}, FunctionCase{"Chr(65)", "A"}, FunctionCase{"Asc('a')", "97"},
    FunctionCase{"Format(1234.5, 'Currency')", "$1,234.50"}, FunctionCase{"Format(-1234.5, 'Currency')", "($1,234.50)"},
    FunctionCase{"Format(1234.5, 'Fixed')", "1234.50"}, FunctionCase{"Format(1234.5, 'Standard')", "1,234.50"},
    FunctionCase{"Format(0.125, 'Percent')", "12.50%"}, FunctionCase{"Format(3, 'Yes/No')", "Yes"},
    FunctionCase{"Format(0, 'True/False')", "False"}, FunctionCase{"Format(0, 'On/Off')", "Off"},
    FunctionCase{"Format(1234.5, 'General Number')", "1234.5"}, FunctionCase{"Format(5, '000')", "005"},
    FunctionCase{"Format(1234567.891, '#,##0.00')", "1,234,567.89"}, FunctionCase{"Format(0.5, '#.##')", ".5"},
    FunctionCase{"Format(-3, '0;(0)')", "(3)"}, FunctionCase{"Format('abc', '>')", "ABC"}));

INSTANTIATE_TEST_SUITE_P(Dates, Functions, ::testing::Values(
    FunctionCase{"#2024-02-29 13:45:30#", "2024-02-29 13:45:30"}, FunctionCase{"#12/31/9999 23:59:59#", "9999-12-31 23:59:59"},
    FunctionCase{"#1/1/100#", "0100-01-01 00:00:00"}, FunctionCase{"#12/29/1899 6:00#", "1899-12-29 06:00:00"},
    FunctionCase{"CDbl(#12/29/1899 6:00#)", "-1.25"}, FunctionCase{"CDbl(#1/1/1900#)", "2"},
    FunctionCase{"Year(#6/15/1850 6:00#)", "1850"}, FunctionCase{"Hour(#6/15/1850 6:00#)", "6"},
    FunctionCase{"Month('2020-07-04')", "7"}, FunctionCase{"Day(#2/29/2024#)", "29"}, FunctionCase{"Minute(#1:02:03#)", "2"},
    FunctionCase{"Second(#1:02:03 PM#)", "3"}, FunctionCase{"Weekday(#2024-02-29#)", "5"}, FunctionCase{"Weekday(#2024-02-29#, 2)", "4"},
    FunctionCase{"DateAdd('m', 1, #1/31/2024#)", "2024-02-29 00:00:00"}, FunctionCase{"DateAdd('yyyy', -1, #2/29/2024#)", "2023-02-28 00:00:00"},
    FunctionCase{"DateAdd('q', 1, #11/15/2020#)", "2021-02-15 00:00:00"}, FunctionCase{"DateAdd('h', 30, #1/1/2020#)", "2020-01-02 06:00:00"},
    FunctionCase{"DateAdd('n', -1, #1/1/1900#)", "1899-12-31 23:59:00"}, FunctionCase{"DateAdd('d', -1, #12/30/1899 6:00#)", "1899-12-29 06:00:00"},
    FunctionCase{"DateAdd('ww', 2, #1/1/2020#)", "2020-01-15 00:00:00"}, FunctionCase{"DateAdd('s', 61, #1/1/2020#)", "2020-01-01 00:01:01"},
    FunctionCase{"DateDiff('d', #1/1/2020#, #3/1/2020#)", "60"}, FunctionCase{"DateDiff('m', #1/31/2020#, #2/1/2020#)", "1"},
    FunctionCase{"DateDiff('yyyy', #12/31/2019#, #1/1/2020#)", "1"}, FunctionCase{"DateDiff('q', #3/31/2020#, #4/1/2020#)", "1"},
    FunctionCase{"DateDiff('ww', #1/4/2020#, #1/5/2020#)", "1"}, FunctionCase{"DateDiff('w', #1/1/2020#, #1/15/2020#)", "2"},
    FunctionCase{"DateDiff('h', #1/1/2020 10:59#, #1/1/2020 11:00#)", "1"}, FunctionCase{"DateDiff('n', #1/1/2020#, #1/2/2020#)", "1440"},
    FunctionCase{"DateDiff('s', #1/1/2020#, #1/1/2020 0:01#)", "60"}, FunctionCase{"DateDiff('d', #3/1/2020#, #1/1/2020#)", "-60"},
    FunctionCase{"DatePart('yyyy', #5/6/2020#)", "2020"}, FunctionCase{"DatePart('y', #2/1/2020#)", "32"},
    FunctionCase{"DatePart('w', #1/5/2020#)", "1"}, FunctionCase{"DatePart('ww', #1/5/2020#)", "2"},
    FunctionCase{"DatePart('h', #5/6/2020 17:30#)", "17"}, FunctionCase{"DatePart('n', #5/6/2020 17:30#)", "30"},
    FunctionCase{"DateSerial(2020, 13, 1)", "2021-01-01 00:00:00"}, FunctionCase{"DateSerial(2020, 3, 0)", "2020-02-29 00:00:00"},
    FunctionCase{"DateSerial(99, 1, 1)", "1999-01-01 00:00:00"}, FunctionCase{"TimeSerial(25, 0, 0)", "1899-12-31 01:00:00"},
    FunctionCase{"DateValue('July 4, 2020 10:00')", "2020-07-04 00:00:00"}, FunctionCase{"TimeValue(#7/4/2020 10:30#)", "1899-12-30 10:30:00"},
    FunctionCase{"#1/2/2020# - #1/1/2020#", "1"}, FunctionCase{"#1/1/2020# + 1.5", "2020-01-02 12:00:00"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'yyyy-mm-dd hh:nn:ss')", "2001-01-14 14:30:15"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'Long Date')", "Sunday, January 14, 2001"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'Short Date')", "1/14/2001"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'General Date')", "1/14/2001 2:30:15 PM"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'Long Time')", "2:30:15 PM"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'Short Time')", "14:30"},
    FunctionCase{"Format(#2001-01-14 14:30:15#, 'dddd d mmm yy h:mm AM/PM')", "Sunday 14 Jan 01 2:30 PM"},
    FunctionCase{"Format(#3/4/2020#, 'mmmm \"the\" d')", "March the 4"}, FunctionCase{"Format(#5/6/2020#, 'q')", "2"},
    FunctionCase{"Year(Date()) > 2000", "True"}, FunctionCase{"Now() - Date() < 1", "True"}, FunctionCase{"Time() < 1", "True"}));

} // namespace
} // namespace quarix::test

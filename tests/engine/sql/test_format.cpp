// Format and its kin, with Access's sections, placeholders, named formats
// and rounding (half away from zero on the decimal value).
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class Formats : public ValueTest {};

TEST_P(Formats, GiveAccessText) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    NumberPlaceholders, Formats,
    ::testing::Values(
        ValueCase{"Format(2.675, '0.00')", "2.68"}, ValueCase{"Format(1.005, '0.00')", "1.01"},
        ValueCase{"Format(0.125, '0.00')", "0.13"}, ValueCase{"Format(-2.5, '0')", "-3"},
        ValueCase{"Format(2.5, '0')", "3"}, ValueCase{"Format(0.5, '0')", "1"},
        ValueCase{"Format(1234.5678, '#,##0.00')", "1,234.57"},
        ValueCase{"Format(1234567, '#,##0')", "1,234,567"},
        ValueCase{"Format(5, '0,000')", "0,005"}, ValueCase{"Format(0, '#')", ""},
        ValueCase{"Format(0, '0.#')", "0."}, ValueCase{"Format(1.5, '0.0#')", "1.5"},
        ValueCase{"Format(1.256, '0.0#')", "1.26"}, ValueCase{"Format(12.5, '.00')", "12.50"},
        ValueCase{"Format(0.5, '#.##')", ".5"},
        ValueCase{"Format(5551234567, '(000) 000-0000')", "(555) 123-4567"},
        ValueCase{"Format(123, '00000')", "00123"}, ValueCase{"Format(1234567, '0,')", "1235"},
        ValueCase{"Format(1900000, '0,,')", "2"}, ValueCase{"Format(1900000, '0,,.0')", "1.9"},
        ValueCase{"Format(1900000, '#,##0,')", "1,900"},
        ValueCase{"Format(0.256, '0.0%')", "25.6%"},
        ValueCase{"Format(5, '\"Total: \"0')", "Total: 5"}, ValueCase{"Format(5, '\\#0')", "#5"},
        ValueCase{"Format(5, '$0.00')", "$5.00"}, ValueCase{"Format(-5, '$0.00')", "-$5.00"},
        ValueCase{"Format(5, '0 \"items\"')", "5 items"},
        ValueCase{"Format(1E20, '0')", "100000000000000000000"},
        ValueCase{"Format([Price], '0.0')", "-12.3"}, ValueCase{"Format(CCur(2.5), '0')", "3"}));

INSTANTIATE_TEST_SUITE_P(
    NumberSections, Formats,
    ::testing::Values(
        ValueCase{"Format(-3, '0;(0)')", "(3)"}, ValueCase{"Format(-3, '0;;\\Z')", "-3"},
        ValueCase{"Format(0, '0;(0);\\Z\\e\\r\\o')", "Zero"}, ValueCase{"Format(0, '0;(0)')", "0"},
        ValueCase{"Format(0.001, '0;(0);\\Z')", "Z"},
        ValueCase{"Format(Null, '0;0;0;\\N\\o\\n\\e')", "None"},
        ValueCase{"Format(Null, '0;0;0;\"n/a\"')", "n/a"}, ValueCase{"Format(Null, '0')", "Null"},
        ValueCase{"Format(Null)", "Null"}, ValueCase{"Format(-0.4, '0')", "0"},
        ValueCase{"Format(-1234.5, '#,##0.00;[Red](#,##0.00)')", "(1,234.50)"},
        ValueCase{"Format(5, '[Blue]0')", "5"}, ValueCase{"Format(5, '0*x')", "5"},
        ValueCase{"Format(5, '0;\"a;b\"')", "5"}, ValueCase{"Format(-5, '0;\"a;b\"')", "a;b"}));

INSTANTIATE_TEST_SUITE_P(Scientific, Formats,
                         ::testing::Values(ValueCase{"Format(12345, '0.00E+00')", "1.23E+04"},
                                           ValueCase{"Format(0.000123, '0.###E-0')", "1.23E-4"},
                                           ValueCase{"Format(12345, '0.###E-0')", "1.235E4"},
                                           ValueCase{"Format(1000, '0.00E+00')", "1.00E+03"},
                                           ValueCase{"Format(0.001, '0.00E+00')", "1.00E-03"},
                                           ValueCase{"Format(9.999, '0.00E+00')", "1.00E+01"},
                                           ValueCase{"Format(0, '0.00E+00')", "0.00E+00"},
                                           ValueCase{"Format(12345, '00.0E+0')", "12.3E+3"},
                                           ValueCase{"Format(-12345, '0.0e-0')", "-1.2e4"},
                                           ValueCase{"Format(1234.5, 'Scientific')", "1.23E+3"}));

INSTANTIATE_TEST_SUITE_P(
    NamedNumbers, Formats,
    ::testing::Values(
        ValueCase{"Format(2.675, 'Currency')", "$2.68"},
        ValueCase{"Format(-2.675, 'currency')", "($2.68)"},
        ValueCase{"Format(1234.5, 'Euro')", "€1,234.50"},
        ValueCase{"Format(0.125, 'Fixed')", "0.13"}, ValueCase{"Format(-0.5, 'Fixed')", "-0.50"},
        ValueCase{"Format(1234.125, 'Standard')", "1,234.13"},
        ValueCase{"Format(0.00125, 'Percent')", "0.12%"}, ValueCase{"Format(-1, 'Yes/No')", "Yes"},
        ValueCase{"Format(True, 'On/Off')", "On"},
        ValueCase{"Format(1E20, 'General Number')", "1E+20"},
        ValueCase{"Format('12.5', 'Fixed')", "12.50"}, ValueCase{"Format('abc', 'Fixed')", "abc"},
        ValueCase{"Format(#1/2/2003#, 'Fixed')", "37623.00"},
        ValueCase{"Format(#1/2/2003 12:00#, 'General Number')", "37623.5"},
        ValueCase{"Format(True)", "True"}, ValueCase{"Format(1.5)", "1.5"}));

INSTANTIATE_TEST_SUITE_P(Texts, Formats,
                         ::testing::Values(ValueCase{"Format('abc', '@@@@@')", "  abc"},
                                           ValueCase{"Format('abc', '!@@@@@')", "abc  "},
                                           ValueCase{"Format('abc', '&&&&&')", "abc"},
                                           ValueCase{"Format('abcdef', '@@@')", "abcdef"},
                                           ValueCase{"Format('abcdef', '!@@@')", "def"},
                                           ValueCase{"Format('5551234', '@@@-@@@@')", "555-1234"},
                                           ValueCase{"Format('abc', '>')", "ABC"},
                                           ValueCase{"Format('ABC', '<@')", "abc"},
                                           ValueCase{"Format('ab', '(@@@)')", "( ab)"},
                                           ValueCase{"Format('ab', '&-&-&')", "-a-b"},
                                           ValueCase{"Format('', '@;\\E\\m\\p\\t\\y')", "Empty"},
                                           ValueCase{"Format('x', '@;\\E\\m\\p\\t\\y')", "x"},
                                           ValueCase{"Format(123, '@@@@@')", "  123"},
                                           ValueCase{"Format(Null, '@;\\N\\u\\l\\l')", "Null"},
                                           ValueCase{"Format('abc', '\"<\"@\">\"')", "<a>bc"},
                                           ValueCase{"Format('zürich', '>@@@@@@@')", " ZÜRICH"}));

// Which section a value takes, and what a section of literals alone shows.
INSTANTIATE_TEST_SUITE_P(
    SectionChoice, Formats,
    ::testing::Values(ValueCase{"Format(-0.003, '0')", "0"},
                      ValueCase{"Format(0.003, '0.##;(0.###);\"zero\"')", "zero"},
                      ValueCase{"Format(-0.003, '0.##;(0.###);\"zero\"')", "(0.003)"},
                      ValueCase{"Format(-0.0003, '0.##;(0.###);\"zero\"')", "zero"},
                      ValueCase{"Format(0.004, '0%;;\"none\"')", "none"},
                      ValueCase{"Format(400, '0,;;\"none\"')", "none"},
                      ValueCase{"Format(0.004, '0.00E+00;;\"none\"')", "4.00E-03"},
                      ValueCase{"Format('10', '\\p;\"y\";!\\n;*~\\z[Blue];')", "p"},
                      ValueCase{"Format('0', '\\p;\"y\";!\\n;*~\\z[Blue];')", "n"},
                      ValueCase{"Format(-10, '\\p;\"y\";!\\n;*~\\z[Blue];')", "y"},
                      ValueCase{"Format(Null, '\\p;\"y\";!\\n;*~\\z[Blue]')", "z"},
                      ValueCase{"Format(5, '0!')", "5"}, ValueCase{"Format(-5, '!0;!(0)')", "(5)"},
                      ValueCase{"Format('abc', '>')", "ABC"},
                      ValueCase{"Format('false', '\"p\"#.00#\"blah\"')", "p.00blah"},
                      ValueCase{"Format('True', '0;(0)')", "(1)"},
                      ValueCase{"Format('1/2/2003', '0.00')", "37623.00"},
                      ValueCase{"Format('abc', '0.00')", "abc"}));

// The examples of Access's own documentation of Format.
INSTANTIATE_TEST_SUITE_P(
    Documented, Formats,
    ::testing::Values(ValueCase{"Format(5459.4, '##,##0.00')", "5,459.40"},
                      ValueCase{"Format(334.9, '###0.00')", "334.90"},
                      ValueCase{"Format(5, '0.00%')", "500.00%"},
                      ValueCase{"Format('HELLO', '<')", "hello"},
                      ValueCase{"Format('This is it', '>')", "THIS IS IT"},
                      ValueCase{"Format(23)", "23"},
                      ValueCase{"Format(-3456, '$#,##0;($#,##0)')", "($3,456)"},
                      ValueCase{"Format(0, '$#,##0;($#,##0);\"Zero\";\"Null\"')", "Zero"},
                      ValueCase{"Format(Null, '$#,##0;($#,##0);\"Zero\";\"Null\"')", "Null"}));

// Text formats: Null and "" take the second section, or show nothing.
INSTANTIATE_TEST_SUITE_P(
    TextSections, Formats,
    ::testing::Values(ValueCase{"Format(Null, '!>*~@[Red];\"empty\";')", "empty"},
                      ValueCase{"Format('', '!>*~@[Red];\"empty\";')", "empty"},
                      ValueCase{"Format('x', '!>*~@[Red];\"empty\";')", "X"},
                      ValueCase{"Format(Null, '@')", ""}, ValueCase{"Format('', '@')", ""},
                      ValueCase{"Format('', '&&')", ""},
                      ValueCase{"Format('foobarbaz', '\\x@@@&&&\\y')", "xfoobarybaz"},
                      ValueCase{"Format('foobarbaz', '!\\x@@@&&&\\y')", "xbarbazy"},
                      ValueCase{"Format('ab', '!\\x@@@&&&\\y')", "xab y"},
                      ValueCase{"Format('ab', '\\x@@@&&&\\y')", "x   aby"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, Formats,
    ::testing::Values(
        ValueCase{"Format(#1/2/2003 7:05:09#, 'ttttt')", "7:05:09 AM"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'c')", "1/2/2003 7:05:09 AM"},
        ValueCase{"Format(#1/2/2003#, 'c')", "1/2/2003"},
        ValueCase{"Format(#1/2/2003#, 'ddddd')", "1/2/2003"},
        ValueCase{"Format(#1/2/2003#, 'dddddd')", "Thursday, January 2, 2003"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'Medium Date')", "02-Jan-03"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'Medium Time')", "07:05 AM"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'Short Time')", "07:05"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'long time')", "7:05:09 AM"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'General Date')", "1/2/2003 7:05:09 AM"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'hh:mm:ss')", "07:05:09"},
        ValueCase{"Format(#1/2/2003 7:05:09#, 'h:m')", "7:5"},
        ValueCase{"Format(#1/2/2003#, 'mm/dd/yyyy')", "01/02/2003"},
        ValueCase{"Format(#1/2/2003#, 'yyyy-mm-dd')", "2003-01-02"},
        ValueCase{"Format(#2/1/2003#, 'y')", "32"}, ValueCase{"Format(#5/2/2003#, 'q')", "2"},
        ValueCase{"Format(#1/2/2003 19:00#, 'h AMPM')", "7 PM"},
        ValueCase{"Format(#1/2/2003 7:00#, 'h a/p')", "7 a"},
        ValueCase{"Format(#1/2/2003#, 'mmmm yy')", "January 03"},
        ValueCase{"Format(#1/2/2003#, 'ddd')", "Thu"},
        ValueCase{"Format(#1/2/2003 19:00#, 'h:nn am/pm')", "7:00 pm"},
        ValueCase{"Format(#1/2/2003#, '\"Day \"d')", "Day 2"},
        ValueCase{"Format(#1/2/2003#, '\\d d')", "d 2"},
        ValueCase{"Format(37623, 'yyyy-mm-dd')", "2003-01-02"},
        ValueCase{"Format('37623', 'yyyy-mm-dd')", "2003-01-02"},
        ValueCase{"Format('1/2/2003', 'yyyy')", "2003"},
        ValueCase{"Format('2003', 'yyyy')", "1905"}, ValueCase{"Format('hello', 'yyyy')", "hello"},
        ValueCase{"Format(3000000, 'yyyy')", "#5"},
        ValueCase{"Format(0.5, 'ttttt')", "12:00:00 PM"},
        ValueCase{"Format(0, 'c')", "12:00:00 AM"}, ValueCase{"Format(#1/1/2005#, 'ww')", "1"},
        ValueCase{"Format(#1/1/2005#, 'ww', 2, 2)", "53"},
        ValueCase{"Format(#1/1/2005#, 'w', 2)", "6"},
        ValueCase{"Format(#1/1/2005#, 'ww', 1, 3)", "52"},
        ValueCase{"Format(#1/1/2005#, 'ww', 9)", "#5"}));

INSTANTIATE_TEST_SUITE_P(
    FormatNumberAndKin, Formats,
    ::testing::Values(
        ValueCase{"FormatNumber(1234.5678)", "1,234.57"},
        ValueCase{"FormatNumber(1234.5678, 0)", "1,235"},
        ValueCase{"FormatNumber(0.5, 2, 0)", ".50"},
        ValueCase{"FormatNumber(-1.5, 1, -1, -1)", "(1.5)"},
        ValueCase{"FormatNumber(1234.5, 1, -1, 0, 0)", "1234.5"},
        ValueCase{"FormatNumber(2.675)", "2.68"}, ValueCase{"FormatNumber('12')", "12.00"},
        ValueCase{"FormatNumber('x')", "#3464"}, ValueCase{"FormatNumber(Null)", "Null"},
        ValueCase{"FormatNumber(1, -2)", "#5"}, ValueCase{"FormatNumber(-0.5)", "-0.50"},
        ValueCase{"FormatPercent(0.256)", "25.60%"}, ValueCase{"FormatPercent(0.256, 0)", "26%"},
        ValueCase{"FormatPercent(-0.1, 1, -1, -1)", "(10.0%)"},
        ValueCase{"FormatCurrency(1234.5)", "$1,234.50"},
        ValueCase{"FormatCurrency(-1234.5)", "($1,234.50)"},
        ValueCase{"FormatCurrency(-1234.5, 2, -1, 0)", "-$1,234.50"},
        ValueCase{"FormatCurrency(0.125)", "$0.12"},
        ValueCase{"FormatDateTime(#1/2/2003 7:05#)", "1/2/2003 7:05:00 AM"},
        ValueCase{"FormatDateTime(#1/2/2003 7:05#, 1)", "Thursday, January 2, 2003"},
        ValueCase{"FormatDateTime(#1/2/2003 7:05#, 2)", "1/2/2003"},
        ValueCase{"FormatDateTime(#1/2/2003 7:05#, 3)", "7:05:00 AM"},
        ValueCase{"FormatDateTime(#1/2/2003 19:05#, 4)", "19:05"},
        ValueCase{"FormatDateTime(#1/2/2003#, 5)", "#5"}, ValueCase{"FormatDateTime('x')", "#3464"},
        ValueCase{"FormatDateTime(Null)", "Null"},
        ValueCase{"FormatDateTime(#7:05#)", "7:05:00 AM"}));

// FormatNumber and its kin, and the named Percent, round half to even.
INSTANTIATE_TEST_SUITE_P(HalfToEven, Formats,
                         ::testing::Values(ValueCase{"FormatNumber(12.345)", "12.34"},
                                           ValueCase{"FormatNumber(12.355)", "12.36"},
                                           ValueCase{"FormatNumber(-12.345)", "-12.34"},
                                           ValueCase{"FormatNumber(2.5, 0)", "2"},
                                           ValueCase{"FormatNumber(3.5, 0)", "4"},
                                           ValueCase{"FormatPercent(0.12345)", "12.34%"},
                                           ValueCase{"FormatCurrency(2.5, 0)", "$2"},
                                           ValueCase{"FormatNumber(-0.001)", "0.00"},
                                           ValueCase{"Format(0.12345, 'Percent')", "12.34%"},
                                           ValueCase{"Format(12345.6789, 'Scientific')", "1.23E+4"},
                                           ValueCase{"Format(0.12345, '0.00%')", "12.35%"}));

} // namespace
} // namespace quarix::test

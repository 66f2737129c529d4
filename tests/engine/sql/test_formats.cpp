// Format and its kin evaluated by SQLite as Access shows them.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

// Format and its kin, with Access's sections, placeholders, named formats
// and rounding (half away from zero on the decimal value).
class Formats : public Expressions {};

TEST_P(Formats, GiveAccessText) {
    EXPECT_EQ(db.evalOrError(GetParam().expression), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    NumberPlaceholders, Formats,
    ::testing::Values(V{"Format(2.675, '0.00')", "2.68"}, V{"Format(1.005, '0.00')", "1.01"},
                      V{"Format(0.125, '0.00')", "0.13"}, V{"Format(-2.5, '0')", "-3"},
                      V{"Format(2.5, '0')", "3"}, V{"Format(0.5, '0')", "1"},
                      V{"Format(1234.5678, '#,##0.00')", "1,234.57"},
                      V{"Format(1234567, '#,##0')", "1,234,567"}, V{"Format(5, '0,000')", "0,005"},
                      V{"Format(0, '#')", ""}, V{"Format(0, '0.#')", "0."},
                      V{"Format(1.5, '0.0#')", "1.5"}, V{"Format(1.256, '0.0#')", "1.26"},
                      V{"Format(12.5, '.00')", "12.50"}, V{"Format(0.5, '#.##')", ".5"},
                      V{"Format(5551234567, '(000) 000-0000')", "(555) 123-4567"},
                      V{"Format(123, '00000')", "00123"}, V{"Format(1234567, '0,')", "1235"},
                      V{"Format(1900000, '0,,')", "2"}, V{"Format(1900000, '0,,.0')", "1.9"},
                      V{"Format(1900000, '#,##0,')", "1,900"}, V{"Format(0.256, '0.0%')", "25.6%"},
                      V{"Format(5, '\"Total: \"0')", "Total: 5"}, V{"Format(5, '\\#0')", "#5"},
                      V{"Format(5, '$0.00')", "$5.00"}, V{"Format(-5, '$0.00')", "-$5.00"},
                      V{"Format(5, '0 \"items\"')", "5 items"},
                      V{"Format(1E20, '0')", "100000000000000000000"},
                      V{"Format([Price], '0.0')", "-12.3"}, V{"Format(CCur(2.5), '0')", "3"}));

INSTANTIATE_TEST_SUITE_P(
    NumberSections, Formats,
    ::testing::Values(V{"Format(-3, '0;(0)')", "(3)"}, V{"Format(-3, '0;;\\Z')", "-3"},
                      V{"Format(0, '0;(0);\\Z\\e\\r\\o')", "Zero"}, V{"Format(0, '0;(0)')", "0"},
                      V{"Format(0.001, '0;(0);\\Z')", "Z"},
                      V{"Format(Null, '0;0;0;\\N\\o\\n\\e')", "None"},
                      V{"Format(Null, '0;0;0;\"n/a\"')", "n/a"}, V{"Format(Null, '0')", "Null"},
                      V{"Format(Null)", "Null"}, V{"Format(-0.4, '0')", "0"},
                      V{"Format(-1234.5, '#,##0.00;[Red](#,##0.00)')", "(1,234.50)"},
                      V{"Format(5, '[Blue]0')", "5"}, V{"Format(5, '0*x')", "5"},
                      V{"Format(5, '0;\"a;b\"')", "5"}, V{"Format(-5, '0;\"a;b\"')", "a;b"}));

INSTANTIATE_TEST_SUITE_P(Scientific, Formats,
                         ::testing::Values(V{"Format(12345, '0.00E+00')", "1.23E+04"},
                                           V{"Format(0.000123, '0.###E-0')", "1.23E-4"},
                                           V{"Format(12345, '0.###E-0')", "1.235E4"},
                                           V{"Format(1000, '0.00E+00')", "1.00E+03"},
                                           V{"Format(0.001, '0.00E+00')", "1.00E-03"},
                                           V{"Format(9.999, '0.00E+00')", "1.00E+01"},
                                           V{"Format(0, '0.00E+00')", "0.00E+00"},
                                           V{"Format(12345, '00.0E+0')", "12.3E+3"},
                                           V{"Format(-12345, '0.0e-0')", "-1.2e4"},
                                           V{"Format(1234.5, 'Scientific')", "1.23E+3"}));

INSTANTIATE_TEST_SUITE_P(
    NamedNumbers, Formats,
    ::testing::Values(
        V{"Format(2.675, 'Currency')", "$2.68"}, V{"Format(-2.675, 'currency')", "($2.68)"},
        V{"Format(1234.5, 'Euro')", "€1,234.50"}, V{"Format(0.125, 'Fixed')", "0.13"},
        V{"Format(-0.5, 'Fixed')", "-0.50"}, V{"Format(1234.125, 'Standard')", "1,234.13"},
        V{"Format(0.00125, 'Percent')", "0.12%"}, V{"Format(-1, 'Yes/No')", "Yes"},
        V{"Format(True, 'On/Off')", "On"}, V{"Format(1E20, 'General Number')", "1E+20"},
        V{"Format('12.5', 'Fixed')", "12.50"}, V{"Format('abc', 'Fixed')", "abc"},
        V{"Format(#1/2/2003#, 'Fixed')", "37623.00"},
        V{"Format(#1/2/2003 12:00#, 'General Number')", "37623.5"}, V{"Format(True)", "True"},
        V{"Format(1.5)", "1.5"}));

INSTANTIATE_TEST_SUITE_P(
    Texts, Formats,
    ::testing::Values(
        V{"Format('abc', '@@@@@')", "  abc"}, V{"Format('abc', '!@@@@@')", "abc  "},
        V{"Format('abc', '&&&&&')", "abc"}, V{"Format('abcdef', '@@@')", "abcdef"},
        V{"Format('abcdef', '!@@@')", "def"}, V{"Format('5551234', '@@@-@@@@')", "555-1234"},
        V{"Format('abc', '>')", "ABC"}, V{"Format('ABC', '<@')", "abc"},
        V{"Format('ab', '(@@@)')", "( ab)"}, V{"Format('ab', '&-&-&')", "-a-b"},
        V{"Format('', '@;\\E\\m\\p\\t\\y')", "Empty"}, V{"Format('x', '@;\\E\\m\\p\\t\\y')", "x"},
        V{"Format(123, '@@@@@')", "  123"}, V{"Format(Null, '@;\\N\\u\\l\\l')", "Null"},
        V{"Format('abc', '\"<\"@\">\"')", "<a>bc"}, V{"Format('zürich', '>@@@@@@@')", " ZÜRICH"}));

// Which section a value takes, and what a section of literals alone shows.
INSTANTIATE_TEST_SUITE_P(SectionChoice, Formats,
                         ::testing::Values(V{"Format(-0.003, '0')", "0"},
                                           V{"Format(0.003, '0.##;(0.###);\"zero\"')", "zero"},
                                           V{"Format(-0.003, '0.##;(0.###);\"zero\"')", "(0.003)"},
                                           V{"Format(-0.0003, '0.##;(0.###);\"zero\"')", "zero"},
                                           V{"Format(0.004, '0%;;\"none\"')", "none"},
                                           V{"Format(400, '0,;;\"none\"')", "none"},
                                           V{"Format(0.004, '0.00E+00;;\"none\"')", "4.00E-03"},
                                           V{"Format('10', '\\p;\"y\";!\\n;*~\\z[Blue];')", "p"},
                                           V{"Format('0', '\\p;\"y\";!\\n;*~\\z[Blue];')", "n"},
                                           V{"Format(-10, '\\p;\"y\";!\\n;*~\\z[Blue];')", "y"},
                                           V{"Format(Null, '\\p;\"y\";!\\n;*~\\z[Blue]')", "z"},
                                           V{"Format(5, '0!')", "5"},
                                           V{"Format(-5, '!0;!(0)')", "(5)"},
                                           V{"Format('false', '\"p\"#.00#\"blah\"')", "p.00blah"},
                                           V{"Format('True', '0;(0)')", "(1)"},
                                           V{"Format('1/2/2003', '0.00')", "37623.00"},
                                           V{"Format('abc', '0.00')", "abc"}));

// The examples of Access's own documentation of Format.
INSTANTIATE_TEST_SUITE_P(
    Documented, Formats,
    ::testing::Values(V{"Format(5459.4, '##,##0.00')", "5,459.40"},
                      V{"Format(334.9, '###0.00')", "334.90"}, V{"Format(5, '0.00%')", "500.00%"},
                      V{"Format('HELLO', '<')", "hello"},
                      V{"Format('This is it', '>')", "THIS IS IT"}, V{"Format(23)", "23"},
                      V{"Format(-3456, '$#,##0;($#,##0)')", "($3,456)"},
                      V{"Format(0, '$#,##0;($#,##0);\"Zero\";\"Null\"')", "Zero"},
                      V{"Format(Null, '$#,##0;($#,##0);\"Zero\";\"Null\"')", "Null"}));

// Text formats: Null and "" take the second section, or show nothing.
INSTANTIATE_TEST_SUITE_P(TextSections, Formats,
                         ::testing::Values(V{"Format(Null, '!>*~@[Red];\"empty\";')", "empty"},
                                           V{"Format('', '!>*~@[Red];\"empty\";')", "empty"},
                                           V{"Format('x', '!>*~@[Red];\"empty\";')", "X"},
                                           V{"Format(Null, '@')", ""}, V{"Format('', '@')", ""},
                                           V{"Format('', '&&')", ""},
                                           V{"Format('foobarbaz', '\\x@@@&&&\\y')", "xfoobarybaz"},
                                           V{"Format('foobarbaz', '!\\x@@@&&&\\y')", "xbarbazy"},
                                           V{"Format('ab', '!\\x@@@&&&\\y')", "xab y"},
                                           V{"Format('ab', '\\x@@@&&&\\y')", "x   aby"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, Formats,
    ::testing::Values(
        V{"Format(#1/2/2003 7:05:09#, 'ttttt')", "7:05:09 AM"},
        V{"Format(#1/2/2003 7:05:09#, 'c')", "1/2/2003 7:05:09 AM"},
        V{"Format(#1/2/2003#, 'c')", "1/2/2003"}, V{"Format(#1/2/2003#, 'ddddd')", "1/2/2003"},
        V{"Format(#1/2/2003#, 'dddddd')", "Thursday, January 2, 2003"},
        V{"Format(#1/2/2003 7:05:09#, 'Medium Date')", "02-Jan-03"},
        V{"Format(#1/2/2003 7:05:09#, 'Medium Time')", "07:05 AM"},
        V{"Format(#1/2/2003 7:05:09#, 'Short Time')", "07:05"},
        V{"Format(#1/2/2003 7:05:09#, 'long time')", "7:05:09 AM"},
        V{"Format(#1/2/2003 7:05:09#, 'General Date')", "1/2/2003 7:05:09 AM"},
        V{"Format(#1/2/2003 7:05:09#, 'hh:mm:ss')", "07:05:09"},
        V{"Format(#1/2/2003 7:05:09#, 'h:m')", "7:5"},
        V{"Format(#1/2/2003#, 'mm/dd/yyyy')", "01/02/2003"},
        V{"Format(#1/2/2003#, 'yyyy-mm-dd')", "2003-01-02"}, V{"Format(#2/1/2003#, 'y')", "32"},
        V{"Format(#5/2/2003#, 'q')", "2"}, V{"Format(#1/2/2003 19:00#, 'h AMPM')", "7 PM"},
        V{"Format(#1/2/2003 7:00#, 'h a/p')", "7 a"},
        V{"Format(#1/2/2003#, 'mmmm yy')", "January 03"}, V{"Format(#1/2/2003#, 'ddd')", "Thu"},
        V{"Format(#1/2/2003 19:00#, 'h:nn am/pm')", "7:00 pm"},
        V{"Format(#1/2/2003#, '\"Day \"d')", "Day 2"}, V{"Format(#1/2/2003#, '\\d d')", "d 2"},
        V{"Format(37623, 'yyyy-mm-dd')", "2003-01-02"},
        V{"Format('37623', 'yyyy-mm-dd')", "2003-01-02"}, V{"Format('1/2/2003', 'yyyy')", "2003"},
        V{"Format('2003', 'yyyy')", "1905"}, V{"Format('hello', 'yyyy')", "hello"},
        V{"Format(3000000, 'yyyy')", "#5"}, V{"Format(0.5, 'ttttt')", "12:00:00 PM"},
        V{"Format(0, 'c')", "12:00:00 AM"}, V{"Format(#1/1/2005#, 'ww')", "1"},
        V{"Format(#1/1/2005#, 'ww', 2, 2)", "53"}, V{"Format(#1/1/2005#, 'w', 2)", "6"},
        V{"Format(#1/1/2005#, 'ww', 1, 3)", "52"}, V{"Format(#1/1/2005#, 'ww', 9)", "#5"}));

INSTANTIATE_TEST_SUITE_P(
    FormatNumberAndKin, Formats,
    ::testing::Values(
        V{"FormatNumber(1234.5678)", "1,234.57"}, V{"FormatNumber(1234.5678, 0)", "1,235"},
        V{"FormatNumber(0.5, 2, 0)", ".50"}, V{"FormatNumber(-1.5, 1, -1, -1)", "(1.5)"},
        V{"FormatNumber(1234.5, 1, -1, 0, 0)", "1234.5"}, V{"FormatNumber(2.675)", "2.68"},
        V{"FormatNumber('12')", "12.00"}, V{"FormatNumber('x')", "#3464"},
        V{"FormatNumber(Null)", "Null"}, V{"FormatNumber(1, -2)", "#5"},
        V{"FormatNumber(-0.5)", "-0.50"}, V{"FormatPercent(0.256)", "25.60%"},
        V{"FormatPercent(0.256, 0)", "26%"}, V{"FormatPercent(-0.1, 1, -1, -1)", "(10.0%)"},
        V{"FormatCurrency(1234.5)", "$1,234.50"}, V{"FormatCurrency(-1234.5)", "($1,234.50)"},
        V{"FormatCurrency(-1234.5, 2, -1, 0)", "-$1,234.50"}, V{"FormatCurrency(0.125)", "$0.12"},
        V{"FormatDateTime(#1/2/2003 7:05#)", "1/2/2003 7:05:00 AM"},
        V{"FormatDateTime(#1/2/2003 7:05#, 1)", "Thursday, January 2, 2003"},
        V{"FormatDateTime(#1/2/2003 7:05#, 2)", "1/2/2003"},
        V{"FormatDateTime(#1/2/2003 7:05#, 3)", "7:05:00 AM"},
        V{"FormatDateTime(#1/2/2003 19:05#, 4)", "19:05"}, V{"FormatDateTime(#1/2/2003#, 5)", "#5"},
        V{"FormatDateTime('x')", "#3464"}, V{"FormatDateTime(Null)", "Null"},
        V{"FormatDateTime(#7:05#)", "7:05:00 AM"}));

// FormatNumber and its kin, and the named Percent, round half to even.
INSTANTIATE_TEST_SUITE_P(
    HalfToEven, Formats,
    ::testing::Values(V{"FormatNumber(12.345)", "12.34"}, V{"FormatNumber(12.355)", "12.36"},
                      V{"FormatNumber(-12.345)", "-12.34"}, V{"FormatNumber(2.5, 0)", "2"},
                      V{"FormatNumber(3.5, 0)", "4"}, V{"FormatPercent(0.12345)", "12.34%"},
                      V{"FormatCurrency(2.5, 0)", "$2"}, V{"FormatNumber(-0.001)", "0.00"},
                      V{"Format(0.12345, 'Percent')", "12.34%"},
                      V{"Format(12345.6789, 'Scientific')", "1.23E+4"},
                      V{"Format(0.12345, '0.00%')", "12.35%"}));

} // namespace
} // namespace quarix::test

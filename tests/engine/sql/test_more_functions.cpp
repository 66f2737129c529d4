// Character codes, Hex and Oct, the text forms (name$), conversions and
// type names, InStrRev, StrConv, Choose and Switch.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class MoreFunctions : public ValueTest {};

TEST_P(MoreFunctions, GiveAccessResults) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    CharacterCodes, MoreFunctions,
    ::testing::Values(
        ValueCase{"Asc('a')", "97"}, ValueCase{"Asc('€uro')", "128"}, ValueCase{"Asc('é')", "233"},
        ValueCase{"Asc('Ω')", "63"}, ValueCase{"Asc('')", "#5"}, ValueCase{"Asc(Null)", "#94"},
        ValueCase{"AscW('€')", "8364"}, ValueCase{"AscW('Ω')", "937"},
        ValueCase{"AscW(ChrW(40000))", "-25536"}, ValueCase{"AscW('😀')", "-10179"},
        ValueCase{"AscW('')", "#5"}, ValueCase{"Chr(65)", "A"}, ValueCase{"Chr(128)", "€"},
        ValueCase{"Chr(233)", "é"}, ValueCase{"Chr(65.5)", "B"}, ValueCase{"Chr(256)", "#5"},
        ValueCase{"Chr(-1)", "#5"}, ValueCase{"Chr(Null)", "#94"}, ValueCase{"ChrW(8364)", "€"},
        ValueCase{"ChrW(-32768)", "耀"}, ValueCase{"AscW(ChrW(-1))", "-1"},
        ValueCase{"ChrW(65536)", "#5"}, ValueCase{"ChrW(55296) = ChrW(65533)", "True"}));

INSTANTIATE_TEST_SUITE_P(
    HexAndOct, MoreFunctions,
    ::testing::Values(ValueCase{"Hex(255)", "FF"}, ValueCase{"Hex(0)", "0"},
                      ValueCase{"Hex(-1)", "FFFFFFFF"}, ValueCase{"Hex(CInt(-1))", "FFFF"},
                      ValueCase{"Hex(CInt(-32768))", "8000"},
                      ValueCase{"Hex(CLng(-32769))", "FFFF7FFF"},
                      ValueCase{"Hex(CByte(255))", "FF"}, ValueCase{"Hex(2.5)", "2"},
                      ValueCase{"Hex(3.5)", "4"}, ValueCase{"Hex('16')", "10"},
                      ValueCase{"Hex(Null)", "Null"}, ValueCase{"Hex(2147483648)", "#6"},
                      ValueCase{"Hex('x')", "#3464"}, ValueCase{"Oct(8)", "10"},
                      ValueCase{"Oct(-1)", "37777777777"}, ValueCase{"Oct(CInt(-1))", "177777"},
                      ValueCase{"Oct(Null)", "Null"}));

INSTANTIATE_TEST_SUITE_P(
    TextForms, MoreFunctions,
    ::testing::Values(ValueCase{"Left$('abc', 2)", "ab"}, ValueCase{"LEFT$([Nothing], 1)", "#94"},
                      ValueCase{"Left([Nothing], 1)", "Null"}, ValueCase{"Mid$('abc', 2)", "bc"},
                      ValueCase{"Right$('abc', 1)", "c"}, ValueCase{"Trim$(' a ')", "a"},
                      ValueCase{"LTrim$(' a ') & '|'", "a |"}, ValueCase{"RTrim$(' a ')", " a"},
                      ValueCase{"UCase$('a')", "A"}, ValueCase{"LCase$('A')", "a"},
                      ValueCase{"Space$(2) & '|'", "  |"}, ValueCase{"String$(3, 'x')", "xxx"},
                      ValueCase{"Str$(5)", " 5"}, ValueCase{"Str$(Null)", "#94"},
                      ValueCase{"Chr$(65)", "A"}, ValueCase{"ChrW$(66)", "B"},
                      ValueCase{"Hex$(255)", "FF"}, ValueCase{"Oct$(8)", "10"},
                      ValueCase{"Format$(5, '00')", "05"}, ValueCase{"Format$(Null)", "#94"},
                      ValueCase{"Len$('a')", "#3085"}, ValueCase{"Foo$(1)", "#3085"}));

INSTANTIATE_TEST_SUITE_P(
    Conversions, MoreFunctions,
    ::testing::Values(ValueCase{"CByte(254.5)", "254"}, ValueCase{"CByte(255.5)", "#6"},
                      ValueCase{"CByte(-1)", "#6"}, ValueCase{"CByte('7')", "7"},
                      ValueCase{"CByte(Null)", "Null"}, ValueCase{"CDec(1.5)", "1.5"},
                      ValueCase{"CDec(1E30)", "#6"}, ValueCase{"CDec('x')", "#3464"}));

INSTANTIATE_TEST_SUITE_P(
    TypeNames, MoreFunctions,
    ::testing::Values(
        ValueCase{"VarType(1)", "3"}, ValueCase{"VarType(1.5)", "5"},
        ValueCase{"VarType('a')", "8"}, ValueCase{"VarType(Null)", "1"},
        ValueCase{"VarType(#1/1/2020#)", "7"}, ValueCase{"VarType(True)", "11"},
        ValueCase{"VarType([Nothing])", "1"}, ValueCase{"VarType([ID])", "3"},
        ValueCase{"VarType([Price])", "14"}, ValueCase{"VarType([Ratio])", "4"},
        ValueCase{"VarType([Stamp])", "8"}, ValueCase{"VarType(CInt(1))", "2"},
        ValueCase{"VarType(CCur(1))", "6"}, ValueCase{"VarType(CByte(1))", "17"},
        ValueCase{"VarType(CDec(1))", "14"}, ValueCase{"VarType(IIf([ID] = 1, 1, 'a'))", "3"},
        ValueCase{"VarType(IIf([ID] = 1, 1.5, 'a'))", "5"},
        ValueCase{"VarType(IIf([ID] = 2, 1, 'a'))", "8"}, ValueCase{"TypeName(1)", "Long"},
        ValueCase{"TypeName(1.5)", "Double"}, ValueCase{"TypeName('a')", "String"},
        ValueCase{"TypeName(Null)", "Null"}, ValueCase{"TypeName(Date())", "Date"},
        ValueCase{"TypeName(1 = 1)", "Boolean"}, ValueCase{"TypeName([Price])", "Decimal"},
        ValueCase{"TypeName([Ratio])", "Single"}, ValueCase{"TypeName(CCur(1))", "Currency"},
        ValueCase{"TypeName(CByte(1))", "Byte"},
        ValueCase{"TypeName(IIf([ID] = 1, 'a', 1))", "String"},
        ValueCase{"TypeName(IIf([ID] = 1, Null, 1))", "Null"}));

INSTANTIATE_TEST_SUITE_P(
    InStrRev, MoreFunctions,
    ::testing::Values(
        ValueCase{"InStrRev('abcabc', 'b')", "5"}, ValueCase{"InStrRev('abcabc', 'B')", "5"},
        ValueCase{"InStrRev('abcabc', 'B', -1, 0)", "0"},
        ValueCase{"InStrRev('abcabc', 'b', -1, 0)", "5"},
        ValueCase{"InStrRev('abcabc', 'b', 4)", "2"}, ValueCase{"InStrRev('abcabc', 'bc', 5)", "2"},
        ValueCase{"InStrRev('abcabc', 'bc', 6)", "5"}, ValueCase{"InStrRev('abc', '')", "3"},
        ValueCase{"InStrRev('abc', '', 2)", "2"}, ValueCase{"InStrRev('abc', 'a', 4)", "1"},
        ValueCase{"InStrRev('AFOOBAR', 'FOO', 17)", "2"}, ValueCase{"InStrRev('', 'a')", "0"},
        ValueCase{"InStrRev('abc', 'abcd')", "0"}, ValueCase{"InStrRev('abc', 'a', 0)", "#5"},
        ValueCase{"InStrRev('abc', 'a', -2)", "#5"}, ValueCase{"InStrRev('abc', 'a', Null)", "#94"},
        ValueCase{"InStrRev(Null, 'a')", "Null"}, ValueCase{"InStrRev('abc', Null)", "Null"},
        ValueCase{"InStrRev('Zürich zürich', 'RI')", "10"},
        ValueCase{"InStrRev('Zürich zürich', 'ü', 8, 0)", "2"}));

INSTANTIATE_TEST_SUITE_P(
    StrConv, MoreFunctions,
    ::testing::Values(ValueCase{"StrConv('hello WORLD', 3)", "Hello World"},
                      ValueCase{"StrConv('o''neil mcdonald-smith', 3)", "O'neil Mcdonald-smith"},
                      ValueCase{"StrConv('abc', 1)", "ABC"}, ValueCase{"StrConv('ÄBC', 2)", "äbc"},
                      ValueCase{"StrConv('élan  vital', 3)", "Élan  Vital"},
                      ValueCase{"StrConv('a' & Chr(10) & 'b', 3) = 'A' & Chr(10) & 'B'", "True"},
                      ValueCase{"StrConv('ab', 3, 1033)", "Ab"},
                      ValueCase{"StrConv('abc', 4)", "#5"}, ValueCase{"StrConv('abc', 64)", "#5"},
                      ValueCase{"StrConv(Null, 1)", "Null"},
                      ValueCase{"StrConv('abc', Null)", "#94"}));

INSTANTIATE_TEST_SUITE_P(
    ChooseAndSwitch, MoreFunctions,
    ::testing::Values(
        ValueCase{"Choose(2, 'a', 'b', 'c')", "b"}, ValueCase{"Choose(4, 'a', 'b', 'c')", "Null"},
        ValueCase{"Choose(0, 'a')", "Null"}, ValueCase{"Choose(1.5, 'a', 'b')", "b"},
        ValueCase{"Choose(2.5, 'a', 'b', 'c')", "b"}, ValueCase{"Choose('2', 'a', 'b')", "b"},
        ValueCase{"Choose(Null, 'a')", "#94"}, ValueCase{"Choose(40000, 'a')", "#6"},
        ValueCase{"Choose(1)", "#3075"}, ValueCase{"Choose(2, 1, 2.5) + 1", "3.5"},
        ValueCase{"Switch(1 > 2, 'a', 2 > 1, 'b')", "b"}, ValueCase{"Switch(False, 'a')", "Null"},
        ValueCase{"Switch(Null, 'a', True, 'c')", "c"},
        ValueCase{"Switch(1 > 2, 'a', True)", "#3075"}, ValueCase{"Switch()", "#3075"}));

TEST(ChooseAndSwitchCriteria, PickPerRow) {
    SqlTestDatabase db;
    EXPECT_EQ(db.ids("Choose([CustomerID], 'a', 'b') = 'b'"), "2");
    EXPECT_EQ(db.ids("Switch([Age] < 30, 'young', [Age] >= 30, 'old') = 'young'"), "1,5");
}

// 2031-06-05 08:04:03.
double fixedNow() {
    return sql::serialFromParts({2031, 6, 5, 8, 4, 3});
}

TEST(DateAndTimeText, AreTodayAndNowAsText) {
    sql::setClock(fixedNow);
    SqlTestDatabase db;
    EXPECT_EQ(db.eval("Date$()"), "06-05-2031");
    EXPECT_EQ(db.eval("Time$()"), "08:04:03");
    EXPECT_EQ(db.eval("VarType(Date$())"), "8");
    sql::setClock(nullptr);
}

} // namespace
} // namespace quarix::test

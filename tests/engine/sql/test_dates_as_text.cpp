// Dates that turn into text inside expressions, and date texts without a year.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class DateText : public ValueTest {};

TEST_P(DateText, IsAccessGeneralDate) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, DateText,
    ::testing::Values(
        ValueCase{"CStr(#1/2/2003#)", "1/2/2003"},
        ValueCase{"CStr(#1/2/2003 7:00#)", "1/2/2003 7:00:00 AM"},
        ValueCase{"CStr(#7:00#)", "7:00:00 AM"}, ValueCase{"CStr(#12/30/1899#)", "12:00:00 AM"},
        ValueCase{"CStr(#1/2/2003 19:05:09#)", "1/2/2003 7:05:09 PM"},
        ValueCase{"CStr(#1/2/2003 12:00#)", "1/2/2003 12:00:00 PM"},
        ValueCase{"CStr(#12/29/1899 6:00#)", "12/29/1899 6:00:00 AM"},
        ValueCase{"CStr(#12/31/9999 23:59:59#)", "12/31/9999 11:59:59 PM"},
        ValueCase{"CStr(CDate('2003-01-02'))", "1/2/2003"},
        ValueCase{"CStr(DateSerial(2003, 1, 2) + 0.5)", "1/2/2003 12:00:00 PM"},
        ValueCase{"#1/2/2003# & ''", "1/2/2003"},
        ValueCase{"'x' & #1/2/2003 0:00:01#", "x1/2/2003 12:00:01 AM"},
        ValueCase{"Format(#1/2/2003#)", "1/2/2003"},
        ValueCase{"Format(#1/2/2003 7:00#, '')", "1/2/2003 7:00:00 AM"},
        ValueCase{"Str(#1/2/2003#)", "1/2/2003"}, ValueCase{"Str(True)", "True"},
        ValueCase{"Str('12')", " 12"}, ValueCase{"Left(#1/2/2003 7:00#, 3)", "1/2"},
        ValueCase{"Mid(#11/22/2003#, 4, 2)", "22"}, ValueCase{"Right(#1/2/2003 7:00#, 2)", "AM"},
        ValueCase{"Len(#1/2/2003#)", "8"}, ValueCase{"Val(#11/2/2003#)", "11"},
        ValueCase{"InStr(#1/2/2003#, '2003')", "5"},
        ValueCase{"UCase(#1/2/2003 7:00#)", "1/2/2003 7:00:00 AM"},
        ValueCase{"CStr([Stamp])", "2024-02-29 13:45:30"}, ValueCase{"CStr(Null)", "Null"}));

TEST(DateTextCriteria, CompareAsAccessComparesDatesWithText) {
    SqlTestDatabase db;
    EXPECT_EQ(db.ids("CStr([Joined]) = '1/14/2001 2:30:15 PM'"), "1");
    EXPECT_EQ(db.ids("[Joined] = '1/14/2001 2:30:15 PM'"), "1");
    EXPECT_EQ(db.ids("[Joined] & '' Like '*PM'"), "1,3");
    EXPECT_EQ(db.ids("[Joined] Like '1/27/2001'"), "2");
    EXPECT_EQ(db.ids("[Joined] Like '2001-*'"), "");
    EXPECT_EQ(db.ids("Left([Joined], 5) = '12/31'"), "3");
}

// 2031-06-15 10:00, a year that is not a leap year.
double fixedNow() {
    return sql::serialFromParts({2031, 6, 15, 10, 0, 0});
}

class DatesWithoutYear : public ValueTest {
protected:
    void SetUp() override { sql::setClock(fixedNow); }
    void TearDown() override { sql::setClock(nullptr); }
};

TEST_P(DatesWithoutYear, AreInTheCurrentYear) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DatesWithoutYear,
    ::testing::Values(ValueCase{"CDate('3/15')", "2031-03-15 00:00:00"},
                      ValueCase{"#3/15#", "2031-03-15 00:00:00"},
                      ValueCase{"CDate('15/3')", "2031-03-15 00:00:00"},
                      ValueCase{"DateValue('March 15')", "2031-03-15 00:00:00"},
                      ValueCase{"CDate('15 March')", "2031-03-15 00:00:00"},
                      ValueCase{"CDate('15-Mar')", "2031-03-15 00:00:00"},
                      ValueCase{"CDate('3/15 10:30')", "2031-03-15 10:30:00"},
                      ValueCase{"CDate('March 15 2:05 PM')", "2031-03-15 14:05:00"},
                      ValueCase{"CDate('3/2020')", "2020-03-01 00:00:00"},
                      ValueCase{"CDate('March 2020')", "2020-03-01 00:00:00"},
                      ValueCase{"CDate('2020-03')", "2020-03-01 00:00:00"},
                      ValueCase{"CDate('2/29')", "#3464"}, ValueCase{"IsDate('2/29')", "False"},
                      ValueCase{"IsDate('12/31')", "True"}, ValueCase{"CDate('13/13')", "#3464"},
                      ValueCase{"Year(Date())", "2031"}, ValueCase{"Date()", "2031-06-15 00:00:00"},
                      ValueCase{"Now()", "2031-06-15 10:00:00"},
                      ValueCase{"Time()", "1899-12-30 10:00:00"}));

TEST(DateLiteralWithoutYear, IsAnInvalidDateWhenImpossibleThisYear) {
    sql::setClock(fixedNow);
    SqlTestDatabase db;
    EXPECT_EQ(engineErrorOf([&] { db.eval("#2/29#"); }),
              "3075 Syntax error in date in query expression '#2/29#'.");
    sql::setClock(nullptr);
}

} // namespace
} // namespace quarix::test

// Weekday and week-of-year numbers under each first day of the week and
// each rule for the first week of the year.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class Weeks : public ValueTest {};

TEST_P(Weeks, CountAsAccessCounts) {
    check();
}

INSTANTIATE_TEST_SUITE_P(WeekOfYear, Weeks,
                         ::testing::Values(ValueCase{"DatePart('ww', #1/1/2005#)", "1"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 1, 1)", "1"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 0, 0)", "1"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 1, 2)", "52"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 2, 2)", "53"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 1, 3)", "52"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 2, 3)", "52"},
                                           ValueCase{"DatePart('ww', #12/29/2003#, 2, 2)", "1"},
                                           ValueCase{"DatePart('ww', #12/30/2019#, 2, 2)", "1"},
                                           ValueCase{"DatePart('ww', #12/31/2024#, 2, 2)", "1"},
                                           ValueCase{"DatePart('ww', #12/31/2020#, 2, 2)", "53"},
                                           ValueCase{"DatePart('ww', #1/3/2021#, 2, 2)", "53"},
                                           ValueCase{"DatePart('ww', #1/4/2021#, 2, 2)", "1"},
                                           ValueCase{"DatePart('ww', #12/29/2024#, 1, 2)", "1"},
                                           ValueCase{"DatePart('ww', #12/31/2024#, 1, 3)", "52"},
                                           ValueCase{"DatePart('ww', #1/1/2023#, 1, 3)", "1"},
                                           ValueCase{"DatePart('ww', #1/1/2022#, 7, 3)", "1"},
                                           ValueCase{"DatePart('ww', #12/31/2008#, 5, 2)", "52"},
                                           ValueCase{"DatePart('ww', #12/31/2008#)", "53"},
                                           ValueCase{"DatePart('ww', '2005-01-01', 2, 2)", "53"}));

INSTANTIATE_TEST_SUITE_P(
    Weekdays, Weeks,
    ::testing::Values(ValueCase{"Weekday(#1/1/2005#)", "7"},
                      ValueCase{"Weekday(#1/1/2005#, 0)", "7"},
                      ValueCase{"Weekday(#1/1/2005#, 2)", "6"},
                      ValueCase{"Weekday(#1/1/2005#, 7)", "1"},
                      ValueCase{"DatePart('w', #1/1/2005#, 2)", "6"},
                      ValueCase{"WeekdayName(1, False, 2)", "Monday"},
                      ValueCase{"WeekdayName(7, True, 0)", "Sat"},
                      ValueCase{"DateDiff('ww', #1/1/2005#, #1/3/2005#, 2)", "1"},
                      ValueCase{"DateDiff('ww', #1/1/2005#, #1/3/2005#)", "1"},
                      ValueCase{"DateDiff('ww', #1/2/2005#, #1/8/2005#)", "0"}));

INSTANTIATE_TEST_SUITE_P(BadRules, Weeks,
                         ::testing::Values(ValueCase{"DatePart('ww', #1/1/2005#, 8)", "#5"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, -1)", "#5"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 1, 4)", "#5"},
                                           ValueCase{"Weekday(#1/1/2005#, 9)", "#5"},
                                           ValueCase{"DatePart('ww', #1/1/2005#, 'x')", "#3464"},
                                           ValueCase{"DatePart('ww', Null, 2, 2)", "Null"},
                                           ValueCase{"DateDiff('d', #1/1/2005#, #1/3/2005#, 1, 5)",
                                                     "#5"}));

} // namespace
} // namespace quarix::test

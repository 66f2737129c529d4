// Val and IsNumeric read numbers out of text as VBA does.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class NumbersFromText : public ValueTest {};

TEST_P(NumbersFromText, ReadAsVbaReadsThem) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    Val, NumbersFromText,
    ::testing::Values(ValueCase{"Val(' 1 2 3')", "123"}, ValueCase{"Val('1e 2')", "100"},
                      ValueCase{"Val('1 e2')", "100"}, ValueCase{"Val('1e+ 2')", "100"},
                      ValueCase{"Val('1E-2')", "0.01"}, ValueCase{"Val('1d2')", "100"},
                      ValueCase{"Val('    1615 198th Street N.E.')", "1615198"},
                      ValueCase{"Val('24 and 57')", "24"},
                      ValueCase{"Val('1' & Chr(10) & '2')", "12"},
                      ValueCase{"Val(Chr(9) & '7')", "7"},
                      ValueCase{"Val('1' & Chr(13) & '2')", "1"}, ValueCase{"Val('1.2.3')", "1.2"},
                      ValueCase{"Val('1e')", "1"}, ValueCase{"Val('1,000')", "1"},
                      ValueCase{"Val('-.5')", "-0.5"}, ValueCase{"Val('- 5')", "-5"},
                      ValueCase{"Val('--5')", "0"}, ValueCase{"Val('')", "0"},
                      ValueCase{"Val(Null)", "Null"}, ValueCase{"Val('50%')", "50"},
                      ValueCase{"Val('50.5%')", "#3464"}, ValueCase{"Val('1e2&')", "#3464"},
                      ValueCase{"Val('1.5!')", "1.5"}, ValueCase{"Val('1e400')", "#6"}));

INSTANTIATE_TEST_SUITE_P(
    Radix, NumbersFromText,
    ::testing::Values(ValueCase{"Val('&HFFFF')", "-1"}, ValueCase{"Val('&HFFFFFFFF')", "-1"},
                      ValueCase{"Val('&H8000')", "-32768"}, ValueCase{"Val('&H7FFF')", "32767"},
                      ValueCase{"Val('&H10000')", "65536"},
                      ValueCase{"Val('&H80000000')", "-2147483648"},
                      ValueCase{"Val('&HFFFF&')", "65535"}, ValueCase{"Val('&hff')", "255"},
                      ValueCase{"Val('&H 1 F')", "31"}, ValueCase{"Val('&O17')", "15"},
                      ValueCase{"Val('&o177777')", "-1"}, ValueCase{"Val('&O200000')", "65536"},
                      ValueCase{"Val('&O78')", "7"}, ValueCase{"Val('&H100000000')", "#6"},
                      ValueCase{"Val('&H')", "0"}, ValueCase{"Val('&HG')", "0"},
                      ValueCase{"Val('&Z1')", "0"}));

INSTANTIATE_TEST_SUITE_P(
    IsNumeric, NumbersFromText,
    ::testing::Values(
        ValueCase{"IsNumeric(' 1 2 ')", "True"}, ValueCase{"IsNumeric('1e 2')", "True"},
        ValueCase{"IsNumeric('1' & Chr(10) & '2')", "True"}, ValueCase{"IsNumeric('&HFF')", "True"},
        ValueCase{"IsNumeric('&O17')", "True"}, ValueCase{"IsNumeric('&O8')", "False"},
        ValueCase{"IsNumeric('&H')", "False"}, ValueCase{"IsNumeric('&HFFFFFFFFF')", "False"},
        ValueCase{"IsNumeric('1d3')", "True"}, ValueCase{"IsNumeric('1e')", "False"},
        ValueCase{"IsNumeric('')", "False"}, ValueCase{"IsNumeric('1,234.5')", "True"},
        ValueCase{"IsNumeric('12a')", "False"}, ValueCase{"IsNumeric('50%')", "False"},
        ValueCase{"IsNumeric(#1/1/2020#)", "False"}, ValueCase{"IsNumeric(True)", "True"},
        ValueCase{"IsNumeric(Null)", "False"}, ValueCase{"IsNumeric('1e400')", "False"}));

} // namespace
} // namespace quarix::test

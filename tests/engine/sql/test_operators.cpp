// Operators where Access differs from SQL and from VBA: the order of
// Between's bounds, the binding of unary minus (looser than ^, except
// straight before a number), and Like's broken patterns.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

class OperatorCriteria : public CriterionTest {};

TEST_P(OperatorCriteria, MatchAsAccessWould) {
    check();
}

// Ages by CustomerID: 1:25 2:32 3:41 4:Null 5:19 6:60 7:33.
INSTANTIATE_TEST_SUITE_P(
    Between, OperatorCriteria,
    ::testing::Values(CriterionCase{"[Age] Between 20 And 60", "1,2,3,6,7"},
                      CriterionCase{"[Age] Between 60 And 20", "1,2,3,6,7"},
                      CriterionCase{"[Age] Between -60 And -20", ""},
                      CriterionCase{"-[Age] Between -20 And -60", "1,2,3,6,7"},
                      CriterionCase{"[Age] Not Between 33 And 25", "3,5,6"},
                      CriterionCase{"[Age] Between '60' And 20", "1,2,3,6,7"},
                      CriterionCase{"[Age] Between 100 - [CustomerID] * 10 And 30", "2,3"},
                      CriterionCase{"[Age] Between 30 And 100 - [CustomerID] * 10", "2,3"},
                      CriterionCase{"[City] Between 'M' And 'b'", "1,2,4"},
                      CriterionCase{"[Joined] Between #12/31/2001# And #1/1/2001#", "1,2"},
                      CriterionCase{"[Age] Between Null And 30", ""},
                      CriterionCase{"[Age] Not Between Null And 30", ""},
                      CriterionCase{"[Age] Not Between 30 And IIf(True, Null, 1)", ""},
                      CriterionCase{"[Age] Between [Age] And Null", ""}));

INSTANTIATE_TEST_SUITE_P(Like, OperatorCriteria,
                         ::testing::Values(CriterionCase{"[City] Like '[abc'", ""},
                                           CriterionCase{"[City] Not Like '[abc'", "1,2,3,4,6,7"},
                                           CriterionCase{"[City] Like [Country] & '['", ""}));

class OperatorValues : public ValueTest {};

TEST_P(OperatorValues, AreAccessValues) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, OperatorValues,
    ::testing::Values(ValueCase{"-10^2", "100"}, ValueCase{"- 10^2", "100"},
                      ValueCase{"-2^3", "-8"}, ValueCase{"2^-1", "0.5"}, ValueCase{"-2^-2", "0.25"},
                      ValueCase{"2^3^2", "64"}, ValueCase{"-3*-2", "6"},
                      ValueCase{"10 - -2^2", "6"}, ValueCase{"10-2^2", "6"},
                      ValueCase{"- -3^2", "-9"}, ValueCase{"+-2^2", "4"}, ValueCase{"-+2^2", "-4"},
                      ValueCase{"2*-3^2", "18"}, ValueCase{"Not 1 = 2", "True"},
                      ValueCase{"-(10)^2", "-100"}, ValueCase{"-\"10\"^2", "-100"},
                      ValueCase{"-[ID]^2", "-1"}, ValueCase{"-([ID] + 1)^2", "-4"},
                      ValueCase{"2^-[ID]", "0.5"}, ValueCase{"-[ID]^2 * 3", "-3"},
                      ValueCase{"-2^2 * -[ID]^2", "-4"}, ValueCase{"-Null^2", "Null"}));

} // namespace
} // namespace quarix::test

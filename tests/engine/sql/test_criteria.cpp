// Criteria as users type them after WHERE, run over a small Customers table.
#include "ExpressionCases.h"

namespace quarix::test {
namespace {

struct CriterionCase {
    const char* criterion;
    const char* ids; // matching CustomerIDs
};

void PrintTo(const CriterionCase& c, std::ostream* os) {
    *os << c.criterion;
}

class Criteria : public ::testing::TestWithParam<CriterionCase> {
protected:
    SqlTestDatabase db;
};

TEST_P(Criteria, MatchAsAccessWould) {
    EXPECT_EQ(db.ids(GetParam().criterion), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(
    Comparisons, Criteria,
    ::testing::Values(
        CriterionCase{"[Age] > 30", "2,3,6,7"},
        CriterionCase{"[Age] >= 32 And [Age] <= 41", "2,3,7"},
        CriterionCase{"[Age] <> 25", "2,3,5,6,7"}, CriterionCase{"Int([Age]) < 26", "1,5"},
        CriterionCase{"[Age] = '32'", "2"}, CriterionCase{"Val([Code]) > 20", "3,4,5,6"},
        CriterionCase{"[Balance] > 1000", "2,4"}, CriterionCase{"[Balance] = 99.99", "5"},
        CriterionCase{"[Balance] < 0", "1"}, CriterionCase{"[City] = 'LONDON'", "1"},
        CriterionCase{"[City] = \"zürich\"", "3,7"}, CriterionCase{"[City] < 'b'", "6"},
        CriterionCase{"[City] <> 'London'", "2,3,4,6,7"}, CriterionCase{"[Active]", "1,2,4,7"},
        CriterionCase{"Not [Active]", "3,5,6"}, CriterionCase{"[Active] = True", "1,2,4,7"},
        CriterionCase{"[Active] = No", "3,5,6"}));

INSTANTIATE_TEST_SUITE_P(
    Patterns, Criteria,
    ::testing::Values(
        CriterionCase{"[City] Like '*lon*'", "1,4"}, CriterionCase{"[City] Like 'lon*'", "1,4"},
        CriterionCase{"[City] Like '*DON'", "1"}, CriterionCase{"[City] Like 'london'", "1"},
        CriterionCase{"[City] Like 'Z?rich'", "3,7"}, CriterionCase{"[City] Like '*ÜR*'", "3,7"},
        CriterionCase{"[City] Like '[b-l]*'", "1,2,4"},
        CriterionCase{"[City] Like '[!l]*'", "2,3,7"},
        CriterionCase{"[Code] Like '000##'", "1,2,3,4,5,6"},
        CriterionCase{"[Code] Like '*#x'", "7"}, CriterionCase{"[City] Like '*'", "1,2,3,4,6,7"},
        CriterionCase{"[City] Like ''", "6"}, CriterionCase{"[City] Not Like '*on*'", "2,3,6,7"},
        CriterionCase{"[Name] Like '*O''Brien'", "4"}, CriterionCase{"[Age] Like '3*'", "2,7"},
        CriterionCase{"[Joined] Like '1/*/2001*'", "1,2"},
        CriterionCase{"[Balance] Like '*.5'", "2"},
        CriterionCase{"[Active] Like 'True'", "1,2,4,7"}));

INSTANTIATE_TEST_SUITE_P(
    NullsAndLogic, Criteria,
    ::testing::Values(CriterionCase{"[City] Is Null", "5"},
                      CriterionCase{"[City] IS NOT NULL And [Age] Is Null", "4"},
                      CriterionCase{"IsNull([Balance])", "6"},
                      CriterionCase{"[Age] > 30 OR [City] Like 'L*'", "1,2,3,4,6,7"},
                      CriterionCase{"[Age] = 1 OR [Age] = 25 AND [City] Like 'x*'", ""},
                      CriterionCase{"([Age] = 1 OR [Age] = 25) AND [City] Like 'L*'", "1"},
                      CriterionCase{"Not ([Age] > 30)", "1,5"},
                      CriterionCase{"[Age] > 30 Xor [Active]", "1,3,6"},
                      CriterionCase{"[Age] > 30 Eqv [Active]", "2,5,7"},
                      CriterionCase{"[Age] > 30 Imp [Active]", "1,2,4,5,7"},
                      CriterionCase{"[City] & 'x' = 'x'", "5,6"},
                      CriterionCase{"[City] + 'x' = 'x'", "6"},
                      CriterionCase{"Nz([City], 'none') = 'none'", "5"}));

INSTANTIATE_TEST_SUITE_P(
    RangesAndSets, Criteria,
    ::testing::Values(CriterionCase{"[Age] Between 25 And 33", "1,2,7"},
                      CriterionCase{"[Age] Not Between 25 And 33", "3,5,6"},
                      CriterionCase{"[City] Between 'b' And 'M'", "1,2,4"},
                      CriterionCase{"[Joined] Between #1/1/2001# And #12/31/2001#", "1,2"},
                      CriterionCase{"[Joined] >= #2001-01-27#", "2,5,7"},
                      CriterionCase{"[Joined] = #2001-01-14 14:30:15#", "1"},
                      CriterionCase{"[Joined] = #1/14/2001 2:30:15 PM#", "1"},
                      CriterionCase{"[Joined] < #1/1/1899#", "4"},
                      CriterionCase{"[Joined] > '2020-01-01'", "5,7"},
                      CriterionCase{"[City] In ('london', 'BERLIN')", "1,2"},
                      CriterionCase{"[City] Not In ('london', 'BERLIN')", "3,4,6,7"},
                      CriterionCase{"[Age] In (19, 60, 1)", "5,6"},
                      CriterionCase{
                          "[CustomerID] In (SELECT CustomerID FROM Orders WHERE Status = 'open')",
                          "1,2,4"},
                      CriterionCase{"Exists (SELECT * FROM Orders WHERE Orders.CustomerID = "
                                    "Customers.CustomerID And Amount > 1000)",
                                    "1,2"}));

INSTANTIATE_TEST_SUITE_P(
    Functions, Criteria,
    ::testing::Values(
        CriterionCase{"Year([Joined]) = 2001", "1,2"}, CriterionCase{"MONTH([Joined]) = 12", "3"},
        CriterionCase{"Left([Name], 3) = 'ben'", "2"}, CriterionCase{"Len([City]) = 6", "1,2,3,7"},
        CriterionCase{"UPPER([City]) = 'ZÜRICH'", "3,7"},
        CriterionCase{"Right([Code], 1) = 'x'", "7"}, CriterionCase{"CDbl([Age]) / 2 > 20", "3,6"},
        CriterionCase{"Round([Balance], 0) = 1500", "2"},
        CriterionCase{"DateDiff('yyyy', [Joined], #2021-01-01#) > 20", "3,4"},
        CriterionCase{"DateAdd('d', 1, [Joined]) = #2024-03-01#", "5"},
        CriterionCase{"DatePart('q', [Joined]) = 2", "4,7"}, CriterionCase{"IsDate([Code])", ""},
        CriterionCase{"IsNumeric([Code])", "1,2,3,4,5,6"}));

} // namespace
} // namespace quarix::test

#include "search/Criteria.h"
#include "search/CriterionParts.h"
#include "search/Statements.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::search;

namespace {

struct Case {
    const char* op;
    const char* value;
    const char* expected;
};

QString build(const char* op, const char* value) {
    const BuildResult r = BuildCriterion(
        {QString(), u"T"_s, u"F"_s, QString::fromUtf8(op), QString::fromUtf8(value)});
    EXPECT_TRUE(r.ok()) << op << " " << value;
    return r.text;
}

class CriterionTable : public ::testing::TestWithParam<Case> {};

TEST_P(CriterionTable, GivesTheCriterionText) {
    const Case c = GetParam();
    EXPECT_EQ(build(c.op, c.value), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperator, CriterionTable,
    ::testing::Values(
        Case{"Contains", "lon", "[F] Like '*lon*'"}, Case{"Contains", "", "[F] Like '**'"},
        Case{"Begins", " Lon ", "[F] Like 'Lon*'"}, Case{"Equals", "London", "[F] Like 'London'"},
        Case{"Not Contain", "abc", "[F] Not Like '*abc*'"},
        Case{"Not Contain", " O'Brien ", "[F] Not Like '*O''Brien*'"},
        Case{"> Greater", " 5 ", "Int([F]) > 5"}, Case{"> Greater", "3.7", "Int([F]) > 3.7"},
        Case{"> Greater", "$3.70", "Int([F]) > 3"}, Case{"< Less", "-2", "Int([F]) < -2"},
        Case{">=", "$-3.5", "Int([F]) >= -4"}, Case{"<=", "$12.99", "Int([F]) <= 12"},
        Case{"<> Not", "abc", "[F] <> 'abc'"}, Case{"<> Not", "7", "Int([F]) <> 7"},
        Case{"<> Not", "$7.9", "Int([F]) <> 7"}, Case{"Nonsense", "x", ""},
        Case{"contains", "x", ""}, Case{"Contains", "a?c*", "[F] Like '*a?c**'"},
        // Quotes in values are doubled so that the statement stays valid.
        Case{"Equals", "O'Brien", "[F] Like 'O''Brien'"}, Case{"Contains", "'", "[F] Like '*''*'"},
        Case{"<> Not", "it's", "[F] <> 'it''s'"}));

TEST(Criteria, NumericOperatorsRefuseText) {
    for (const char* op : {"> Greater", "< Less", ">=", "<="}) {
        const BuildResult r = BuildCriterion({{}, u"T"_s, u"F"_s, QString::fromUtf8(op), u"abc"_s});
        ASSERT_TRUE(r.refusal.has_value()) << op;
        EXPECT_EQ(r.refusal->message,
                  u"The "_s + QString::fromUtf8(op) + u" operator requires a number."_s);
        EXPECT_EQ(r.refusal->title, u"Quarix - Search Error"_s);
        EXPECT_TRUE(r.text.isEmpty());
    }
}

TEST(Criteria, DollarValueThatIsNoNumberFailsAsAConversion) {
    const BuildResult r = BuildCriterion({{}, u"T"_s, u"F"_s, u"> Greater"_s, u"$abc"_s});
    EXPECT_FALSE(r.refusal.has_value());
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->number, 13);
}

TEST(Criteria, StatementsAndJoining) {
    EXPECT_EQ(CombineCriteria(u"[A] = 1 OR [A] = 2"_s, u"[B] Like 'x*'"_s),
              u"[A] = 1 OR [A] = 2 AND [B] Like 'x*'"_s);
    EXPECT_EQ(DefaultSortClause(u"City"_s), u"[City] ASC"_s);
    EXPECT_EQ(BuildSearchStatement(u"Customers"_s, u"[City] Like '*lon*'"_s, {}, u"City"_s),
              u"select * from [Customers] WHERE [City] Like '*lon*' ORDER BY [City] ASC"_s);
    EXPECT_EQ(BuildSearchStatement(u"T"_s, u"W"_s, u"[Name] DESC"_s, u"City"_s),
              u"select * from [T] WHERE W ORDER BY [Name] DESC"_s);
    EXPECT_EQ(DisplaySql(u"Order Details"_s, u"W"_s), u"Select * from Order Details where W"_s);
}

TEST(Criteria, SqlModeFragments) {
    auto frag = [](const char* op, const char* v) {
        return BuildSqlModeFragment(QString::fromUtf8(op), QString::fromUtf8(v));
    };
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Not Contain", "abc", " Not Like '*abc*'"},
        {">=", "$5.50", " >= 5.5"},
        {"Begins", "Lon", " Like 'Lon*'"},
        {"Contains", "x", " Like '*x*'"},
        {"Equals", "x", " Like 'x'"},
        {"<> Not", "x", " <> 'x'"},
        {"<> Not", " 7 ", " <> 7"},
        {"Nonsense", "7", ""},
        {"Begins", "O'B", " Like 'O''B*'"}}; // quotes doubled
    for (const auto& [op, value, text] : cases)
        EXPECT_EQ(frag(op, value).text, QString::fromUtf8(text)) << op << " " << value;
    const BuildResult refused = frag("> Greater", "abc");
    ASSERT_TRUE(refused.refusal.has_value());
    EXPECT_EQ(refused.refusal->message, u"The > Greater operator requires a number."_s);
    EXPECT_TRUE(frag("<", "$").refusal.has_value() || frag("<", "$").text.isEmpty());
}

struct PartsCase {
    const char* criterion;
    const char* op; // empty: none recognised
    const char* value;
};

class CriterionPartsTable : public ::testing::TestWithParam<PartsCase> {};

TEST_P(CriterionPartsTable, GivesBackTheOperatorAndValue) {
    const PartsCase c = GetParam();
    const auto parts = quarix::search::criterionParts(u"City"_s, QString::fromUtf8(c.criterion));
    if (*c.op == '\0') {
        EXPECT_FALSE(parts.has_value()) << parts->op.toStdString();
        return;
    }
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->op, QString::fromUtf8(c.op));
    EXPECT_EQ(parts->value, QString::fromUtf8(c.value));
}

INSTANTIATE_TEST_SUITE_P(Shapes, CriterionPartsTable,
                         ::testing::Values(PartsCase{"[City] Like '*lon*'", "Contains", "lon"},
                                           PartsCase{"[City] Like 'Lon*'", "Begins", "Lon"},
                                           PartsCase{"[City] Not Like '*lon*'", "Not Contain",
                                                     "lon"},
                                           PartsCase{"[City] Like 'O''Brien'", "Equals", "O'Brien"},
                                           PartsCase{"[City] <> 'Paris'", "<> Not", "Paris"},
                                           PartsCase{"Int([City]) >= 50", ">=", "50"},
                                           PartsCase{"Int([City]) <> 7", "<> Not", "7"},
                                           PartsCase{"[City] Like '**'", "Contains", ""},
                                           PartsCase{"[Name] Like '*lon*'", "", ""},
                                           PartsCase{"[City] Like 'a' AND [City] Like 'b'", "", ""},
                                           PartsCase{"[City] > 3 OR [City] < 1", "", ""}));

} // namespace

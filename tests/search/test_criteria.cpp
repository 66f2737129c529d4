#include "search/Criteria.h"
#include "search/CriterionParts.h"
#include "search/Statements.h"

#include <gtest/gtest.h>

using namespace quarix::search;

namespace {

struct Case {
    const char* op;
    const char* value;
    const char* expected;
};

QString build(const char* op, const char* value) {
    const BuildResult r = BuildCriterion({QString(), QStringLiteral("T"), QStringLiteral("F"),
                                          QString::fromUtf8(op), QString::fromUtf8(value)});
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
        Case{"contains", "x", ""}, Case{"Contains", "a?c*", "[F] Like '*a?c**'"}));

TEST(Criteria, QuotesInValuesAreDoubledSoTheStatementStaysValid) {
    EXPECT_EQ(build("Equals", "O'Brien"), QStringLiteral("[F] Like 'O''Brien'"));
    EXPECT_EQ(build("Contains", "'"), QStringLiteral("[F] Like '*''*'"));
    EXPECT_EQ(build("<> Not", "it's"), QStringLiteral("[F] <> 'it''s'"));
    EXPECT_EQ(BuildSqlModeFragment(QStringLiteral("Begins"), QStringLiteral("O'B")).text,
              QStringLiteral(" Like 'O''B*'"));
}

TEST(Criteria, NumericOperatorsRefuseText) {
    for (const char* op : {"> Greater", "< Less", ">=", "<="}) {
        const BuildResult r = BuildCriterion({{},
                                              QStringLiteral("T"),
                                              QStringLiteral("F"),
                                              QString::fromUtf8(op),
                                              QStringLiteral("abc")});
        ASSERT_TRUE(r.refusal.has_value()) << op;
        EXPECT_EQ(r.refusal->message, QStringLiteral("The ") + QString::fromUtf8(op) +
                                          QStringLiteral(" operator requires a number."));
        EXPECT_EQ(r.refusal->title, QStringLiteral("Quarix - Search Error"));
        EXPECT_TRUE(r.text.isEmpty());
    }
}

TEST(Criteria, DollarValueThatIsNoNumberFailsAsAConversion) {
    const BuildResult r = BuildCriterion({{},
                                          QStringLiteral("T"),
                                          QStringLiteral("F"),
                                          QStringLiteral("> Greater"),
                                          QStringLiteral("$abc")});
    EXPECT_FALSE(r.refusal.has_value());
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->number, 13);
}

TEST(Criteria, StatementsAndJoining) {
    EXPECT_EQ(
        CombineCriteria(QStringLiteral("[A] = 1 OR [A] = 2"), QStringLiteral("[B] Like 'x*'")),
        QStringLiteral("[A] = 1 OR [A] = 2 AND [B] Like 'x*'"));
    EXPECT_EQ(DefaultSortClause(QStringLiteral("City")), QStringLiteral("[City] ASC"));
    EXPECT_EQ(
        BuildSearchStatement(QStringLiteral("Customers"), QStringLiteral("[City] Like '*lon*'"), {},
                             QStringLiteral("City")),
        QStringLiteral("select * from [Customers] WHERE [City] Like '*lon*' ORDER BY [City] ASC"));
    EXPECT_EQ(BuildSearchStatement(QStringLiteral("T"), QStringLiteral("W"),
                                   QStringLiteral("[Name] DESC"), QStringLiteral("City")),
              QStringLiteral("select * from [T] WHERE W ORDER BY [Name] DESC"));
    EXPECT_EQ(DisplaySql(QStringLiteral("Order Details"), QStringLiteral("W")),
              QStringLiteral("Select * from Order Details where W"));
}

TEST(Criteria, SqlModeFragments) {
    auto frag = [](const char* op, const char* v) {
        return BuildSqlModeFragment(QString::fromUtf8(op), QString::fromUtf8(v));
    };
    EXPECT_EQ(frag("Not Contain", "abc").text, QStringLiteral(" Not Like '*abc*'"));
    EXPECT_EQ(frag(">=", "$5.50").text, QStringLiteral(" >= 5.5"));
    EXPECT_EQ(frag("Begins", "Lon").text, QStringLiteral(" Like 'Lon*'"));
    EXPECT_EQ(frag("Contains", "x").text, QStringLiteral(" Like '*x*'"));
    EXPECT_EQ(frag("Equals", "x").text, QStringLiteral(" Like 'x'"));
    EXPECT_EQ(frag("<> Not", "x").text, QStringLiteral(" <> 'x'"));
    EXPECT_EQ(frag("<> Not", " 7 ").text, QStringLiteral(" <> 7"));
    EXPECT_EQ(frag("Nonsense", "7").text, QString());
    const BuildResult refused = frag("> Greater", "abc");
    ASSERT_TRUE(refused.refusal.has_value());
    EXPECT_EQ(refused.refusal->message,
              QStringLiteral("The > Greater operator requires a number."));
    EXPECT_TRUE(frag("<", "$").refusal.has_value() || frag("<", "$").text.isEmpty());
}

} // namespace

namespace {

struct PartsCase {
    const char* criterion;
    const char* op; // empty: none recognised
    const char* value;
};

class CriterionPartsTable : public ::testing::TestWithParam<PartsCase> {};

TEST_P(CriterionPartsTable, GivesBackTheOperatorAndValue) {
    const PartsCase c = GetParam();
    const auto parts =
        quarix::search::criterionParts(QStringLiteral("City"), QString::fromUtf8(c.criterion));
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

#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

using quarix::engine::AccessDatabase;
using quarix::engine::ColumnType;
using quarix::engine::sql::BoundValue;
using quarix::engine::sql::convertAnswer;
using quarix::engine::sql::ParameterAnswers;

namespace {

ParameterAnswers answers(std::initializer_list<std::pair<const char*, const char*>> given) {
    ParameterAnswers a;
    for (const auto& [name, value] : given)
        a.set(name, value);
    return a;
}

class QueryParameters : public ::testing::Test {
protected:
    void SetUp() override { db_ = AccessDatabase::open(quarix::test::dataFile("shop.mdb")); }

    // "name:type" of each parameter, in the order they are asked for.
    std::vector<std::string> asked(const std::string& source) {
        std::vector<std::string> out;
        for (const auto& p : db_->parameters(source))
            out.push_back(
                p.name + ":" +
                (p.declared ? quarix::engine::columnTypeName(p.type) : std::string("undeclared")));
        return out;
    }
    std::int64_t rows(const std::string& source, const ParameterAnswers& given) {
        return db_->execute(source, {}, given)->rowCount();
    }

    std::shared_ptr<AccessDatabase> db_;
};

TEST_F(QueryParameters, AreFoundDeclaredFirstThenInOrderOfUse) {
    EXPECT_EQ(asked("City Parameter"), (std::vector<std::string>{"Which City:Text"}));
    EXPECT_TRUE(asked("Customers").empty());
    EXPECT_TRUE(asked("London Customers").empty());
    EXPECT_EQ(asked("PARAMETERS [Top Age] Short, Since DateTime; SELECT * FROM Customers WHERE "
                    "City = [Forms]![Main]![Town] AND Age <= [Top Age] AND Country = [country?] "
                    "AND Joined >= [since] AND Name = [Country?]"),
              (std::vector<std::string>{"Top Age:Integer", "Since:Date/Time",
                                        "Forms!Main!Town:undeclared", "country?:undeclared"}));
    // The saved query's own parameters come with it when another statement reads it.
    EXPECT_EQ(asked("SELECT * FROM [City Parameter] WHERE Age > [Min Age]"),
              (std::vector<std::string>{"Which City:Text", "Min Age:undeclared"}));
}

TEST_F(QueryParameters, AnswersAreBoundAndMatchedWithoutRegardToCase) {
    EXPECT_EQ(rows("City Parameter", answers({{"which city", "London"}})), 22);
    // Quotes in an answer are part of the value, not of the statement.
    EXPECT_EQ(rows("City Parameter", answers({{"Which City", "O'Brien' OR 'a'='a"}})), 0);
    // An empty answer is Null, which equals nothing.
    EXPECT_EQ(rows("City Parameter", answers({{"Which City", ""}})), 0);
    EXPECT_EQ(rows("SELECT * FROM [City Parameter] WHERE Age > [Min Age]",
                   answers({{"Which City", "London"}, {"Min Age", "200"}})),
              0);
    EXPECT_EQ(db_->filter("City Parameter", "Age >= 0", {}, answers({{"Which City", "London"}}))
                  ->rowCount(),
              rows("SELECT * FROM [London Customers] WHERE Age >= 0", {}));
    // The same statement with another answer is run again, not served from before.
    EXPECT_EQ(rows("City Parameter", answers({{"Which City", "Nowhere"}})), 0);
}

TEST_F(QueryParameters, MissingOrUnconvertibleAnswersFail) {
    EXPECT_EQ(quarix::test::engineErrorOf([&] { rows("City Parameter", {}); }),
              "3061 Too few parameters. Expected 1.");
    EXPECT_EQ(quarix::test::engineErrorOf([&] {
                  rows("SELECT * FROM [City Parameter] WHERE Age > [Min Age]",
                       answers({{"Min Age", "3"}}));
              }),
              "3061 Too few parameters. Expected 1.");
    EXPECT_EQ(quarix::test::engineErrorOf([&] {
                  rows("PARAMETERS [Top Age] Short; SELECT * FROM Customers WHERE Age <= [Top Age]",
                       answers({{"Top Age", "old"}}));
              }).substr(0, 4),
              "3421");
    EXPECT_EQ(rows("PARAMETERS [Top Age] Short; SELECT * FROM Customers WHERE Age <= [Top Age]",
                   answers({{"Top Age", "-1"}})),
              0);
}

struct Conversion {
    ColumnType type;
    const char* answer;
    std::optional<BoundValue::Kind> kind; // nothing: refused
    double value = 0;
};

class AnswerConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(AnswerConversion, FollowsTheDeclaredType) {
    const Conversion& c = GetParam();
    const auto bound = convertAnswer(c.type, c.answer);
    ASSERT_EQ(bound.has_value(), c.kind.has_value());
    if (!bound)
        return;
    EXPECT_EQ(bound->kind, *c.kind);
    if (bound->kind == BoundValue::Kind::Integer) {
        EXPECT_EQ(bound->integer, static_cast<std::int64_t>(c.value));
    } else if (bound->kind == BoundValue::Kind::Real) {
        EXPECT_DOUBLE_EQ(bound->real, c.value);
    }
}

using K = BoundValue::Kind;
INSTANTIATE_TEST_SUITE_P(
    Types, AnswerConversion,
    ::testing::Values(Conversion{ColumnType::Long, "42", K::Integer, 42},
                      Conversion{ColumnType::Long, "2.5", K::Integer, 2},
                      Conversion{ColumnType::Long, "abc", std::nullopt},
                      Conversion{ColumnType::Long, "3000000000", std::nullopt},
                      Conversion{ColumnType::Integer, "40000", std::nullopt},
                      Conversion{ColumnType::Byte, "-1", std::nullopt},
                      Conversion{ColumnType::Double, "1,234.5", K::Real, 1234.5},
                      Conversion{ColumnType::Currency, "12.3456", K::Real, 12.3456},
                      Conversion{ColumnType::Currency, "ten", std::nullopt},
                      Conversion{ColumnType::DateTime, "2020-01-02", K::Real, 43832},
                      Conversion{ColumnType::DateTime, "yesterday-ish", std::nullopt},
                      Conversion{ColumnType::Boolean, "Yes", K::Integer, -1},
                      Conversion{ColumnType::Boolean, "false", K::Integer, 0},
                      Conversion{ColumnType::Boolean, "maybe", std::nullopt},
                      Conversion{ColumnType::Text, "anything", K::Text},
                      Conversion{ColumnType::Unknown, "12", K::Text},
                      Conversion{ColumnType::Long, "", K::Null}));

} // namespace

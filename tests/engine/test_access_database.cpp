// The engine's AccessDatabase on the test files: saved queries, attachments
// and query parameters.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quarix::engine;
using quarix::engine::sql::BoundValue;
using quarix::engine::sql::convertAnswer;
using quarix::engine::sql::ParameterAnswers;

namespace {

using quarix::test::errorOf;
using quarix::test::rowsOf;

int errorNumber(const std::function<void()>& work) {
    return quarix::test::errorOf(work).number();
}

class SavedQueries : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        const fs::path copy = dir_ / GetParam();
        fs::copy_file(quarix::test::dataFile(GetParam()), copy);
        db_ = AccessDatabase::open(copy.string());
    }
    quarix::test::ScratchFolder dir_{"saved-queries"};
    std::shared_ptr<AccessDatabase> db_;
};

// Each select query gives what its SQL, written by hand over the tables, gives.
TEST_P(SavedQueries, SelectQueriesMatchTheirSqlOverTheTables) {
    AccessDatabase& db = *db_;
    EXPECT_EQ(db.execute("London Customers")->rowCount(), 22);
    EXPECT_EQ(rowsOf(db, "London Customers"),
              rowsOf(db, "SELECT * FROM Customers WHERE City = 'London'"));
    EXPECT_EQ(db.execute("Orders With Customer")->rowCount(), 1000);
    EXPECT_EQ(rowsOf(db, "SELECT * FROM [Orders With Customer] ORDER BY OrderID"),
              rowsOf(db,
                     "SELECT o.OrderID, o.OrderDate, o.Amount, c.Name, c.City FROM Customers AS c "
                     "INNER JOIN Orders AS o ON c.CustomerID = o.CustomerID ORDER BY o.OrderID"));
    EXPECT_EQ(rowsOf(db, "Big Spenders"),
              rowsOf(db,
                     "SELECT c.Name, Sum(o.Amount) AS Total, Count(o.OrderID) AS OrderCount "
                     "FROM Customers AS c LEFT JOIN Orders AS o ON c.CustomerID = o.CustomerID "
                     "GROUP BY c.Name HAVING Sum(o.Amount) > 2000 ORDER BY Sum(o.Amount) DESC"));
    EXPECT_EQ(rowsOf(db, "Countries"),
              rowsOf(db, "SELECT DISTINCT Country FROM Customers ORDER BY Country"));
    EXPECT_EQ(
        rowsOf(db, "SELECT * FROM [Open Orders Gross] ORDER BY Name, Amount"),
        rowsOf(
            db,
            "SELECT c.Name, o.Amount, o.Amount * 1.2 AS Gross FROM Customers c, Orders o "
            "WHERE c.CustomerID = o.CustomerID AND o.Status = 'Open' ORDER BY c.Name, o.Amount"));
}

// A table whose definition is unreadable is listed, but asking for its
// fields or rows reports the damage instead of an empty table.
TEST_P(SavedQueries, ADamagedTableDefinitionIsAnErrorNotAnEmptyTable) {
    const fs::path file = dir_ / ("damaged-" + GetParam());
    fs::copy_file(dir_ / GetParam(), file);
    const auto& tables = db_->catalogue().tables;
    const auto wide =
        std::find_if(tables.begin(), tables.end(),
                     [](const quarix::engine::TableInfo& t) { return t.name == "Wide"; });
    ASSERT_NE(wide, tables.end());
    std::string bytes = quarix::test::fileBytes(file);
    bytes.replace(static_cast<std::size_t>(wide->id & 0xffffff) * 4096, 4096, 4096, '\xab');
    quarix::test::writeBytes(file, bytes);
    const auto damaged = AccessDatabase::open(file.string());
    EXPECT_TRUE(damaged->isSourceName("Wide"));
    EXPECT_EQ(errorNumber([&] { damaged->columns("Wide"); }), 3343);
    EXPECT_EQ(errorNumber([&] { damaged->execute("Wide"); }), 3343);
    EXPECT_EQ(damaged->columns("Customers").size(), 11u);
}

TEST_P(SavedQueries, ActionAndParameterQueriesAreRefusedAndTheFileIsUnchanged) {
    const fs::path file = dir_ / GetParam();
    const auto before = fs::last_write_time(file);
    const auto size = fs::file_size(file);
    EXPECT_EQ(errorNumber([&] { db_->execute("Age Everyone"); }), 3219);
    EXPECT_EQ(errorNumber([&] { db_->execute("City Parameter"); }), 3061);
    EXPECT_EQ(errorNumber([&] {
                  db_->execute("SELECT * FROM Customers WHERE [Forms]![frmX]![City] = City");
              }),
              3061);
    EXPECT_EQ(fs::last_write_time(file), before);
    EXPECT_EQ(fs::file_size(file), size);
    EXPECT_NE(db_->savedQuerySql("Age Everyone").find("UPDATE Customers"), std::string::npos);
}

TEST_P(SavedQueries, StatementErrorsCarryAccessNumbers) {
    EXPECT_EQ(errorNumber([&] { db_->execute("NoSuchTable"); }), 3078);
    EXPECT_EQ(
        errorNumber([&] { db_->execute("select * from [Customers] WHERE [City] Like 'O'Brien'"); }),
        3075);
    EXPECT_EQ(errorNumber([&] { db_->execute("select * from [Customers] WHERE Frob([City])"); }),
              3085);
    EXPECT_GT(db_->execute("select * from [Customers] WHERE [Name] Like '*O''Brien*'")->rowCount(),
              0);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, SavedQueries, ::testing::Values("shop.mdb", "shop.accdb"),
                         [](const auto& info) {
                             return info.param == "shop.mdb" ? "mdb" : "accdb";
                         });

// "row|name|size" of each file the criterion selects.
std::vector<std::string> filesOf(const std::string& criterion) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    std::vector<std::string> files;
    db->attachments("Table1", "attach-data", criterion, [&](const AttachmentFile& file) {
        files.push_back(std::to_string(file.row) + "|" + file.name + "|" +
                        (file.bytes ? std::to_string(file.bytes->size()) : "-"));
    });
    return files;
}

TEST(Attachments, TheCriterionChoosesTheRows) {
    EXPECT_EQ(filesOf(""), (std::vector<std::string>{"2|test_data.txt|38", "2|test_data2.txt|43",
                                                     "4|test_data2.txt|43"}));
    EXPECT_EQ(filesOf("[id] = 'row4'"), (std::vector<std::string>{"4|test_data2.txt|43"}));
    EXPECT_EQ(filesOf("[id] In ('row1', 'row3')"), std::vector<std::string>{});
}

// The rows of a result by their position in the table, in result order;
// 0 where the result cannot tell.
std::vector<std::int64_t> sourceRowsOf(quarix::engine::ResultSet& result) {
    std::vector<std::int64_t> rows;
    for (std::int64_t i = 0; i < result.rowCount(); ++i)
        rows.push_back(result.sourceRow(i).value_or(0));
    return rows;
}

TEST(Attachments, AResultRowKnowsItsPositionInTheTable) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    const struct {
        std::string statement;
        std::vector<std::int64_t> rows;
    } cases[] = {
        {"Table1", {1, 2, 3, 4}},
        {"SELECT * FROM Table1 WHERE [id] <> 'row2' ORDER BY [id] DESC", {4, 3, 1}},
        {"SELECT DISTINCT [id] FROM Table1", {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sourceRowsOf(*db->execute(c.statement)), c.rows) << c.statement;
    EXPECT_EQ(sourceRowsOf(*db->filter("Table1", "[id] In ('row4', 'row1')")),
              (std::vector<std::int64_t>{1, 4}));
    EXPECT_EQ(db->matchingRows("Table1", "[id] <> 'row2'"), (std::vector<std::int64_t>{1, 3, 4}));
}

TEST(Attachments, ABadTableOrCriterionFailsWithAccessNumbers) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    const auto numberOf = [&](const std::string& table, const std::string& criterion) {
        try {
            db->attachments(table, "attach-data", criterion, [](const AttachmentFile&) {});
        } catch (const EngineError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf("No Such Table", ""), 3078);
    EXPECT_EQ(numberOf("Table1", "[id] = "), 3075);
}

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

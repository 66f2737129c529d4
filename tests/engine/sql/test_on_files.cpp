// SQL through the engine on the test files. Crosstabs: the saved one of
// Access's query test files, and typed ones over the shop files checked
// against the groups of a plain GROUP BY. Errors that show only while
// SQLite runs a statement reach the caller with Access's number and text,
// wherever the statement runs: when the rows are chosen, counted, sorted,
// or read back a chunk at a time.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quarix::test {

// A test file of tests/data (shop.accdb unless named), opened through the
// engine with its cache in a scratch folder of the suite's own.
class ShopFile : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        dir_ = scratchDir("sql-on-files");
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

    engine::AccessDatabase& db() {
        if (!db_)
            db_ = engine::AccessDatabase::open(dataFile(GetParam()));
        return *db_;
    }

    // The column names of a result, joined by ",".
    static std::string names(const std::vector<engine::sql::ResultColumn>& columns) {
        std::string out;
        for (const auto& c : columns)
            out += (out.empty() ? "" : ",") + c.name;
        return out;
    }

private:
    inline static std::filesystem::path dir_;
    std::shared_ptr<engine::AccessDatabase> db_;
};

namespace {

class SavedCrosstab : public ShopFile {};

// Its tables are empty: the row headings are its only columns.
TEST_P(SavedCrosstab, RunsLikeAnyQuery) {
    EXPECT_EQ(names(db().columns("CrosstabQuery")), "col1,col3,AvgOfcol2");
    const auto rows = db().execute("CrosstabQuery");
    EXPECT_EQ(names(rows->columns()), "col1,col3,AvgOfcol2");
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_EQ(db().filter("CrosstabQuery", "[col1] Is Null Or [AvgOfcol2] > 1")->rowCount(), 0);
    EXPECT_EQ(db().execute("SELECT Count(*) FROM CrosstabQuery")->rowCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Access, SavedCrosstab,
                         ::testing::Values("real/queryTestV2000.mdb", "real/queryTestV2007.accdb"));

class TypedCrosstab : public ShopFile {};

TEST_P(TypedCrosstab, HoldsTheGroupsOfItsData) {
    const auto crosstab = db().execute("TRANSFORM Sum(Amount) SELECT Status FROM Orders GROUP BY "
                                       "Status PIVOT Year(OrderDate)");
    const auto groups = db().execute("SELECT Status, Year(OrderDate), Sum(Amount) FROM Orders "
                                     "GROUP BY Status, Year(OrderDate)");
    std::map<std::string, std::map<std::string, std::string>> expected;
    std::map<int, std::string> years;
    for (const std::string& line : rowsOf(*groups)) {
        const auto bar = line.find('|'), last = line.rfind('|');
        const std::string year = line.substr(bar + 1, last - bar - 1);
        expected[line.substr(0, bar)][year] = line.substr(last + 1);
        years[std::stoi(year)] = year;
    }
    std::string headings = "Status";
    for (const auto& [number, year] : years)
        headings += "," + year;
    EXPECT_EQ(names(crosstab->columns()), headings);
    ASSERT_EQ(crosstab->rowCount(), static_cast<std::int64_t>(expected.size()));
    for (std::int64_t r = 0; r < crosstab->rowCount(); ++r) {
        const auto& values = crosstab->row(r);
        const std::string status = crosstab->text(0, values[0]);
        for (std::size_t c = 1; c < values.size(); ++c) {
            const std::string& year = crosstab->columns()[c].name;
            const auto found = expected[status].find(year);
            EXPECT_EQ(crosstab->text(c, values[c]),
                      found == expected[status].end() ? "" : found->second)
                << status << " " << year;
        }
    }
}

TEST_P(TypedCrosstab, RefusesMoreHeadingsThanFields) {
    EXPECT_EQ(engineErrorOf([&] {
                  db().execute("TRANSFORM Count(*) SELECT Status FROM Orders GROUP BY Status "
                               "PIVOT OrderID");
              }),
              "3205 Too many crosstab column headers (1000).");
}

INSTANTIATE_TEST_SUITE_P(Shop, TypedCrosstab, ::testing::Values("shop.accdb", "shop.mdb"));

class ErrorsWhileRunning : public ShopFile {};

std::string nestedIIf(int depth) {
    std::string nested = "1";
    for (int i = 0; i < depth; ++i)
        nested = "IIf([Age] > " + std::to_string(i) + ", " + nested + ", 0)";
    return nested;
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

const char* const kMismatch = "3464 Data type mismatch in criteria expression.";

// A criterion on a source, or (without a criterion) a statement; "read" when
// its every row is read, so that errors of its values show.
const struct {
    const char* name;
    std::string source;
    std::string criterion;
    const char* error;
    bool read = false;
} kErrors[] = {
    {"NumberOperatorOnText", "Customers", "[City] * 2 > 1", kMismatch},
    {"InSortedFilter", "SELECT * FROM Customers WHERE Int([City]) > 1 ORDER BY Name", "",
     kMismatch},
    {"InOrderBy", "SELECT * FROM Customers ORDER BY Int([City])", "", kMismatch},
    {"InSelectList", "SELECT Int(City) FROM Customers", "", kMismatch, true},
    {"InGroupedQuery", "SELECT Country, Sum(City * 1) FROM Customers GROUP BY Country", "",
     kMismatch},
    {"InSavedQueryFilter", "Big Spenders", "[Name] - 1 > 0", kMismatch},
    {"DivisionByZero", "Customers", "[Age] \\ 0 > 1", "11 Division by zero"},
    {"Overflow", "SELECT CInt([Balance] * 1000) FROM Customers", "", "6 Overflow", true},
    {"InvalidArgument", "SELECT Sqr(-Age) FROM Customers", "",
     "5 Invalid procedure call or argument.", true},
    {"InvalidUseOfNull", "SELECT Left$(City, 1) FROM Customers", "", "94 Invalid use of Null",
     true},
    {"TooDeepForSqlite", "Customers", nestedIIf(40) + " = 1", "3360 Query is too complex."},
    {"TooLongForSqlite", "Customers", "[Age]" + repeated(" + 1", 5000) + " > 1",
     "3360 Query is too complex."},
};

TEST_P(ErrorsWhileRunning, ComeAsAccessErrors) {
    for (const auto& e : kErrors)
        EXPECT_EQ(engineErrorOf([&] {
                      if (!e.criterion.empty()) {
                          db().filter(e.source, e.criterion);
                          return;
                      }
                      const auto result = db().execute(e.source);
                      for (std::int64_t r = 0; e.read && r < result->rowCount(); ++r)
                          result->row(r);
                  }),
                  e.error)
            << e.name;
}

INSTANTIATE_TEST_SUITE_P(Shop, ErrorsWhileRunning, ::testing::Values("shop.accdb", "shop.mdb"));

} // namespace
} // namespace quarix::test

// Crosstabs run through the engine: the saved one of Access's query test
// files, and typed ones over the shop files checked against the groups of
// a plain GROUP BY.
#include "ShopFile.h"

#include <map>

namespace quarix::test {
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

TEST_P(TypedCrosstab, FixedHeadingsWithoutDataAreBlank) {
    const auto crosstab = db().execute("TRANSFORM Count(*) SELECT Country FROM Customers GROUP BY "
                                       "Country PIVOT City In ('London', 'Atlantis')");
    EXPECT_EQ(names(crosstab->columns()), "Country,London,Atlantis");
    std::int64_t london = 0;
    for (const std::string& line : rowsOf(*crosstab)) {
        EXPECT_EQ(line.substr(line.rfind('|')), "|") << line;
        london += std::stoll(line.substr(line.find('|') + 1));
    }
    EXPECT_EQ(london, db().execute("London Customers")->rowCount());
}

TEST_P(TypedCrosstab, RefusesMoreHeadingsThanFields) {
    EXPECT_EQ(engineErrorOf([&] {
                  db().execute("TRANSFORM Count(*) SELECT Status FROM Orders GROUP BY Status "
                               "PIVOT OrderID");
              }),
              "3205 Too many crosstab column headers (1000).");
}

INSTANTIATE_TEST_SUITE_P(Shop, TypedCrosstab, ::testing::Values("shop.accdb", "shop.mdb"));

} // namespace
} // namespace quarix::test

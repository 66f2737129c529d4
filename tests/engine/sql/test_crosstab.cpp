// Crosstab queries (TRANSFORM ... PIVOT): one column per heading in the
// data, or per value of the IN list, each cell an aggregate or Null.
#include "SqlTestDatabase.h"

namespace quarix::test {
namespace {

// Orders by OrderID: CustomerID, OrderDate, Amount, Status, Qty
//   1: 1, 2020-01-02, 1200,  Open,      2
//   2: 1, 2020-02-03, 900.5, Shipped,   1
//   3: 2, 2020-03-04, 2500,  Open,      5
//   4: 3, 2020-04-05, 15.25, Cancelled, 1
//   5: 4, 2020-05-06, 300,   Open,      3
//   6: 2, 2021-01-01, 100,   Shipped,   1
struct CrosstabCase {
    const char* name;
    const char* statement;
    const char* columns; // names joined by ","
    const char* rows;    // values joined by "|", rows by "\n"
};

void PrintTo(const CrosstabCase& c, std::ostream* os) {
    *os << c.name;
}

class Crosstabs : public ::testing::TestWithParam<CrosstabCase> {
protected:
    SqlTestDatabase db;
};

TEST_P(Crosstabs, PivotAsAccessDoes) {
    const auto r = db.select(GetParam().statement);
    EXPECT_EQ(r.names(), GetParam().columns);
    EXPECT_EQ(r.text(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Headings, Crosstabs,
    ::testing::Values(
        CrosstabCase{"TextInTextOrder",
                     "TRANSFORM Sum(Amount) SELECT CustomerID FROM Orders GROUP BY CustomerID "
                     "PIVOT Status",
                     "CustomerID,Cancelled,Open,Shipped",
                     "1|Null|1200|900.5\n2|Null|2500|100\n3|15.25|Null|Null\n4|Null|300|Null"},
        CrosstabCase{"NumbersInNumberOrder",
                     "TRANSFORM Count(*) SELECT Status FROM Orders GROUP BY Status PIVOT Qty * 5",
                     "Status,5,10,15,25",
                     "Cancelled|1|Null|Null|Null\nOpen|Null|1|1|1\nShipped|2|Null|Null|Null"},
        CrosstabCase{"Dates",
                     "TRANSFORM Count(*) AS N SELECT Status FROM Orders WHERE Qty = 1 GROUP BY "
                     "Status PIVOT OrderDate",
                     "Status,2/3/2020,4/5/2020,1/1/2021",
                     "Cancelled|Null|1|Null\nShipped|1|Null|1"},
        CrosstabCase{"NullAndEmptyFirst",
                     "TRANSFORM Count(*) SELECT Country FROM Customers GROUP BY Country PIVOT City",
                     "Country,<>,Berlin,London,Londonderry,Zürich",
                     "Germany|Null|1|Null|Null|Null\nSpain|1|Null|Null|Null|Null\nSweden|1|Null|"
                     "Null|Null|Null\nSwitzerland|Null|Null|Null|Null|2\nUK|Null|Null|1|1|Null"},
        CrosstabCase{
            "RowTotals",
            "TRANSFORM Sum(Amount) SELECT CustomerID, Sum(Amount) AS Total, Count(*) "
            "FROM Orders GROUP BY CustomerID PIVOT Year(OrderDate)",
            "CustomerID,Total,Expr1000,2020,2021",
            "1|2100.5|2|2100.5|Null\n2|2600|2|2500|100\n3|15.25|1|15.25|Null\n4|300|1|300|Null"},
        CrosstabCase{"Ordered",
                     "TRANSFORM Max(Qty) SELECT CustomerID FROM Orders GROUP BY CustomerID ORDER "
                     "BY CustomerID DESC PIVOT Status = 'Open'",
                     "CustomerID,True,False", "4|3|Null\n3|Null|1\n2|5|1\n1|2|1"},
        CrosstabCase{"NoGroups",
                     "TRANSFORM Sum(Qty) SELECT Count(*) AS Orders FROM Orders PIVOT Status",
                     "Orders,Cancelled,Open,Shipped", "6|1|10|2"},
        CrosstabCase{"NoSource", "TRANSFORM Max(2) SELECT 1 AS One PIVOT 'x'", "One,x", "1|2"},
        CrosstabCase{"NoRows",
                     "TRANSFORM Sum(Qty) SELECT Status FROM Orders WHERE Qty > 99 GROUP BY "
                     "Status PIVOT CustomerID",
                     "Status", ""}));

INSTANTIATE_TEST_SUITE_P(
    FixedHeadings, Crosstabs,
    ::testing::Values(
        CrosstabCase{"InListedOrderWithEmptyColumns",
                     "TRANSFORM Sum(Amount) SELECT CustomerID FROM Orders GROUP BY CustomerID "
                     "PIVOT Status In ('Shipped', 'open', 'Lost')",
                     "CustomerID,Shipped,open,Lost",
                     "1|900.5|1200|Null\n2|100|2500|Null\n4|Null|300|Null"},
        CrosstabCase{
            "NumbersAndNull",
            "TRANSFORM Count(*) SELECT Country FROM Customers WHERE CustomerID < 7 GROUP "
            "BY Country PIVOT Len(City) In (6, Null, 6, -1)",
            "Country,6,<>,-1",
            "Germany|1|Null|Null\nSpain|Null|1|Null\nSwitzerland|1|Null|Null\nUK|1|Null|Null"},
        CrosstabCase{"Dates",
                     "TRANSFORM Count(*) SELECT Status FROM Orders GROUP BY Status PIVOT "
                     "OrderDate In (#1/1/2021#, #1/2/2020#)",
                     "Status,1/1/2021,1/2/2020", "Open|Null|1\nShipped|1|Null"}));

// Criteria on a row total that Access keeps in WHERE hold for the row.
TEST(CrosstabCriteria, OnRowTotalsHoldForTheRow) {
    SqlTestDatabase db;
    const auto r = db.select(
        "TRANSFORM Count(*) SELECT CustomerID, Sum(Amount) AS Total FROM Orders WHERE ((Status "
        "<> 'Cancelled') And (Sum(Amount) > 1000)) GROUP BY CustomerID PIVOT Status");
    EXPECT_EQ(r.column(0), "1|2");
    EXPECT_EQ(r.column(1), "2100.5|2600");
}

TEST(CrosstabAsSource, IsSearchedByItsColumns) {
    SqlTestDatabase db;
    db.addQuery("By Status", "TRANSFORM Sum(Amount) SELECT CustomerID FROM Orders GROUP BY "
                             "CustomerID PIVOT Status");
    EXPECT_EQ(db.filter("By Status", "[Open] > 1000").column(0), "1|2");
    const auto r = db.select("SELECT CustomerID, [Shipped] + [Open] AS Both FROM [By Status]");
    EXPECT_EQ(r.column(1), "2100.5|2600|Null|Null");
    EXPECT_EQ(r.columns[1].type, ColumnType::Currency);
}

TEST(CrosstabErrors, AreAccessErrors) {
    SqlTestDatabase db;
    const std::string orders = " FROM Orders GROUP BY Status";
    EXPECT_EQ(
        engineErrorOf([&] { db.select("TRANSFORM Count(*) SELECT *" + orders + " PIVOT Qty"); }),
        "3123 Cannot use '*' in crosstab query.");
    for (const std::string& statement :
         {"TRANSFORM Count(*) SELECT Status" + orders,
          "TRANSFORM Count(*) SELECT Status" + orders + " PIVOT",
          "TRANSFORM SELECT Status" + orders + " PIVOT Qty",
          "TRANSFORM Count(*) SELECT Status" + orders + " PIVOT Qty In ([Status])",
          "TRANSFORM Count(*) SELECT Status" + orders + " UNION SELECT Status" + orders +
              " PIVOT Qty"})
        EXPECT_EQ(engineErrorOf([&] { db.select(statement); }),
                  "3143 Syntax error in TRANSFORM statement.")
            << statement;
    EXPECT_EQ(
        engineErrorOf([&] { db.select("TRANSFORM Amount SELECT Status" + orders + " PIVOT Qty"); }),
        "3122 You tried to execute a query that does not include the specified "
        "expression 'Amount' as part of an aggregate function.");
    EXPECT_EQ(engineErrorOf([&] {
                  db.select("TRANSFORM Count(*) SELECT Status" + orders + " PIVOT Sum(Qty)");
              }),
              "3096 Cannot have aggregate function in WHERE clause (Sum(Qty)).");
    EXPECT_EQ(engineErrorOf([&] {
                  db.select("TRANSFORM Count(*) SELECT Status" + orders + " PIVOT [Which]");
              }),
              "3061 Too few parameters. Expected 1.");
}

} // namespace
} // namespace quarix::test

// Whole statements: the saved queries Access writes, joins, aggregates,
// UNION, TOP, sources that are themselves queries, crosstabs and
// DISTINCTROW.
#include "SqlTestDatabase.h"

namespace quarix::test {
namespace {

class Statements : public ::testing::Test {
protected:
    SqlTestDatabase db;
};

TEST_F(Statements, SavedQueriesAsAccessWritesThem) {
    auto r = db.select("SELECT Customers.* FROM Customers WHERE ((Customers.City)=\"London\");");
    EXPECT_EQ(r.names(), "CustomerID,Name,City,Country,Age,Balance,Joined,Active,Code");
    EXPECT_EQ(r.text(), "1|Anna Smith|London|UK|25|-462.21|2001-01-14 14:30:15|True|00007");

    r = db.select("SELECT Orders.OrderID, Orders.OrderDate, Orders.Amount, Customers.Name, "
                  "Customers.City FROM "
                  "Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID;");
    EXPECT_EQ(r.names(), "OrderID,OrderDate,Amount,Name,City");
    EXPECT_EQ(r.columns[2].type, ColumnType::Currency);
    EXPECT_EQ(r.rows.size(), 6u);

    r = db.select("SELECT Customers.Name, Sum(Orders.Amount) AS Total, Count(Orders.OrderID) AS "
                  "OrderCount FROM Customers LEFT JOIN Orders ON Customers.CustomerID = "
                  "Orders.CustomerID GROUP BY Customers.Name HAVING ((Sum(Orders.Amount))>2000) "
                  "ORDER BY Sum(Orders.Amount) DESC;");
    EXPECT_EQ(r.names(), "Name,Total,OrderCount");
    EXPECT_EQ(r.columns[1].type, ColumnType::Currency);
    EXPECT_EQ(r.text(), "Ben Müller|2600|2\nAnna Smith|2100.5|2");

    r = db.select("SELECT DISTINCT Customers.Country FROM Customers ORDER BY Customers.Country;");
    EXPECT_EQ(r.column(0), "Germany|Spain|Sweden|Switzerland|UK");

    r = db.select("SELECT c.Name, o.Amount, [o].[Amount]*1.2 AS Gross FROM Customers AS c INNER "
                  "JOIN Orders AS o ON c.CustomerID = o.CustomerID WHERE ((o.Status)=\"Open\");");
    EXPECT_EQ(r.names(), "Name,Amount,Gross");
    EXPECT_EQ(r.columns[2].type, ColumnType::Double);
    EXPECT_EQ(r.text(true), "Anna Smith|1200|1440\nBen Müller|2500|3000\nDan O'Brien|300|360");

    EXPECT_EQ(
        engineErrorOf([&] {
            db.select(
                "PARAMETERS [Which City] Text ( 255 ); SELECT Customers.* FROM Customers WHERE "
                "((Customers.City)=[Which City]);");
        }),
        "3061 Too few parameters. Expected 1.");
}

TEST_F(Statements, ParameterDeclarationsCountOnceWithTheirUses) {
    EXPECT_EQ(engineErrorOf([&] {
                  db.select(
                      "PARAMETERS [Any Value] Value, [Forms]![Main]![Since] DateTime; SELECT "
                      "Customers.* FROM "
                      "Customers WHERE Joined > [Forms]![Main]![Since] WITH OWNERACCESS OPTION;");
              }),
              "3061 Too few parameters. Expected 2.");
    EXPECT_EQ(
        db.select(
              "SELECT Customers.Name FROM Customers WHERE CustomerID = 2 WITH OWNERACCESS OPTION;")
            .column(0),
        "Ben Müller");
}

TEST_F(Statements, NestedAndOuterJoins) {
    auto r = db.select(
        "SELECT Customers.Name, Orders.OrderID, c2.City FROM (Customers INNER JOIN Orders ON "
        "Customers.CustomerID = Orders.CustomerID) LEFT JOIN Customers AS c2 ON "
        "(Orders.CustomerID = c2.CustomerID AND c2.Age > 30) ORDER BY Orders.OrderID");
    EXPECT_EQ(r.column(2), "Null|Null|Berlin|Zürich|Null|Berlin");

    r = db.select("SELECT Customers.Name FROM Orders RIGHT JOIN Customers ON Orders.CustomerID = "
                  "Customers.CustomerID WHERE Orders.OrderID Is Null ORDER BY Customers.Name");
    EXPECT_EQ(r.column(0), "Eve García|Finn Ångström|Gus Lee");

    r = db.select(
        "SELECT Customers.Name, o.OrderID FROM Customers, Orders AS o WHERE o.CustomerID = "
        "Customers.CustomerID AND o.Qty > 4");
    EXPECT_EQ(r.text(), "Ben Müller|3");
}

TEST_F(Statements, TopKeepsTiesAndPercent) {
    EXPECT_EQ(db.select("SELECT TOP 2 OrderID, Amount FROM Orders ORDER BY Amount DESC").column(0),
              "3|1");
    EXPECT_EQ(db.select("SELECT TOP 1 OrderID FROM Orders ORDER BY Qty, OrderID DESC").column(0),
              "6");
    EXPECT_EQ(db.select("SELECT TOP 1 OrderID FROM Orders ORDER BY Qty").rows.size(), 3u);
    EXPECT_EQ(db.select("SELECT TOP 50 PERCENT OrderID FROM Orders ORDER BY OrderID").column(0),
              "1|2|3");
    EXPECT_EQ(db.select("SELECT TOP 40 PERCENT OrderID FROM Orders ORDER BY OrderID").column(0),
              "1|2|3");
    EXPECT_EQ(db.select("SELECT TOP 2 * FROM Orders").rows.size(), 2u);
    EXPECT_EQ(db.select("SELECT DISTINCT TOP 2 Status FROM Orders ORDER BY Status").column(0),
              "Cancelled|Open");
}

TEST_F(Statements, UnionsOrderByTheFirstSelectsNames) {
    auto r = db.select("SELECT City FROM Customers WHERE Country = 'UK' UNION SELECT Status FROM "
                       "Orders ORDER BY City");
    EXPECT_EQ(r.column(0), "Cancelled|London|Londonderry|Open|Shipped");
    EXPECT_EQ(
        db.select("SELECT Name FROM Customers UNION ALL SELECT Status FROM Orders").rows.size(),
        13u);
    r = db.select("SELECT Age FROM Customers WHERE CustomerID = 1 UNION SELECT Amount FROM Orders "
                  "WHERE OrderID = 2 ORDER BY Age DESC");
    EXPECT_EQ(r.column(0), "900.5|25");
    EXPECT_EQ(r.columns[0].type, ColumnType::Double);
    r = db.select("SELECT City FROM Customers WHERE CustomerID = 3 UNION SELECT City FROM "
                  "Customers WHERE CustomerID = 7");
    EXPECT_EQ(r.rows.size(), 1u); // Zürich and zürich are one value to Access
}

TEST_F(Statements, AggregatesKeepTheirTypes) {
    auto r = db.select("SELECT Status, Count(*), Min(Amount), Max(Amount), First(OrderID), "
                       "Last(OrderID), Avg(Amount), "
                       "Sum(Qty) FROM Orders GROUP BY Status ORDER BY Status");
    EXPECT_EQ(r.text(), "Cancelled|1|15.25|15.25|4|4|15.25|1\nOpen|3|300|2500|1|5|1333.3333|"
                        "10\nShipped|2|100|900.5|2|6|500.25|2");
    EXPECT_EQ(r.names(), "Status,Expr1000,Expr1001,Expr1002,Expr1003,Expr1004,Expr1005,Expr1006");
    EXPECT_EQ(r.columns[2].type, ColumnType::Currency);
    EXPECT_EQ(r.columns[7].type, ColumnType::Long);

    r = db.select(
        "SELECT Var(Qty), VarP(Qty), StDevP(Qty), StDev(Qty) FROM Orders WHERE OrderID In (1, 3)");
    EXPECT_EQ(r.text(), "4.5|2.25|1.5|2.12132034355964");
    EXPECT_EQ(db.select("SELECT Max(Name), Min(City) FROM Customers WHERE City <> ''").rows[0][0],
              "Gus Lee");
    EXPECT_EQ(db.select("SELECT Max(City) FROM Customers").rows[0][0].substr(1), "ürich");
    EXPECT_EQ(db.select("SELECT Max(Joined) FROM Customers").rows[0][0], "2024-02-29 00:00:00");
    EXPECT_EQ(db.select("SELECT Count(City), Count(*) FROM Customers").rows[0][0], "6");
}

TEST_F(Statements, ResultColumnsAreNamedAsAccessNamesThem) {
    auto r = db.select(
        "SELECT Customers.CustomerID, Orders.CustomerID, Amount * 2, Qty + 1, Name AS Who FROM "
        "Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID");
    EXPECT_EQ(r.names(), "Customers.CustomerID,Orders.CustomerID,Expr1000,Expr1001,Who");
    EXPECT_EQ(r.columns[2].type, ColumnType::Currency);
    EXPECT_EQ(r.columns[3].type, ColumnType::Long);
    r = db.select(
        "SELECT * FROM Customers AS c INNER JOIN Orders ON c.CustomerID = Orders.CustomerID");
    EXPECT_EQ(r.columns[0].name, "c.CustomerID");
    EXPECT_EQ(r.columns[1].name, "Name");
    EXPECT_EQ(r.columns[10].name, "Orders.CustomerID");
    r = db.select("SELECT Amount > 1000, OrderDate + 1, Name & '!', Year(OrderDate), IIf(Qty > 1, "
                  "'many', 'one') FROM Orders INNER JOIN Customers ON Orders.CustomerID = "
                  "Customers.CustomerID ORDER BY OrderID");
    EXPECT_EQ(r.columns[0].type, ColumnType::Boolean);
    EXPECT_EQ(r.columns[1].type, ColumnType::DateTime);
    EXPECT_EQ(r.columns[2].type, ColumnType::Text);
    EXPECT_EQ(r.text().substr(0, r.text().find('\n')),
              "True|2020-01-03 00:00:00|Anna Smith!|2020|many");
}

TEST_F(Statements, SourcesMayBeQueries) {
    db.addQuery("London Customers",
                "SELECT Customers.* FROM Customers WHERE ((Customers.City)=\"London\");");
    db.addQuery("Big Spenders",
                "SELECT Customers.Name, Sum(Orders.Amount) AS Total, Count(Orders.OrderID) AS "
                "OrderCount FROM Customers LEFT JOIN Orders ON Customers.CustomerID = "
                "Orders.CustomerID GROUP BY Customers.Name HAVING ((Sum(Orders.Amount))>2000) "
                "ORDER BY Sum(Orders.Amount) DESC;");
    EXPECT_EQ(db.select("SELECT * FROM [London Customers] WHERE Age > 20").column(1), "Anna Smith");
    EXPECT_EQ(db.select("SELECT Name FROM [Big Spenders] WHERE Total > 2500").column(0),
              "Ben Müller");
    EXPECT_EQ(db.filter("Big Spenders", "[OrderCount] = 2 AND [Total] Like '2100*'").column(0),
              "Anna Smith");
    auto r = db.select(
        "SELECT x.Status, x.Total FROM (SELECT Status, Sum(Amount) AS Total FROM Orders GROUP BY "
        "Status) AS x WHERE x.Total > 1000 ORDER BY x.Status");
    EXPECT_EQ(r.text(), "Open|4000\nShipped|1000.5");
}

TEST_F(Statements, SearchStatementsOfTheSearchScreen) {
    auto r = db.select("select * from [Customers] WHERE [City] Like '*lon*' ORDER BY [City] ASC");
    EXPECT_EQ(r.column(2), "London|Londonderry");
    r = db.select("select DISTINCT [City] from [Customers] ORDER BY [City] ASC");
    EXPECT_EQ(r.column(0), "Null||Berlin|London|Londonderry|Zürich");
    r = db.filter("Customers", "[Age] > 30 OR [City] Like 'L*'");
    EXPECT_EQ(r.rows.size(), 6u);
    EXPECT_EQ(r.columns.size(), 9u);
    r = db.select("select * from [Customers] WHERE [Name] Like '*e*' ORDER BY [Balance] DESC");
    EXPECT_EQ(r.column(0), "4|2|5|7");
    r = db.select(
        "select * from [Customers] WHERE [Name] Like 'c*' ORDER BY [Joined] ASC, [Name] DESC");
    EXPECT_EQ(r.column(0), "3");
}

// Crosstab queries (TRANSFORM ... PIVOT): one column per heading in the
// data, or per value of the IN list, each cell an aggregate or Null.

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

// DISTINCTROW: one row per distinct combination of the records of the tables
// whose fields are selected; the other tables of the join only filter.
// Customers 1 and 2 have two orders each, 3 and 4 one, 5 to 7 none.

struct Case {
    const char* sql;
    std::size_t column;
    const char* values;
};

class DistinctRow : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        db.addQuery("UK Customers", "SELECT CustomerID, Name FROM Customers WHERE Country = 'UK'");
    }
    SqlTestDatabase db;
};

TEST_P(DistinctRow, CountsTheRecordsOfTheSelectedTablesOnly) {
    EXPECT_EQ(db.select(GetParam().sql).column(GetParam().column), GetParam().values)
        << GetParam().sql;
}

#define JOINED "Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID"

INSTANTIATE_TEST_SUITE_P(
    Statements, DistinctRow,
    testing::Values(
        Case{"SELECT DISTINCTROW Customers.CustomerID, Customers.Name FROM " JOINED
             " ORDER BY Customers.CustomerID",
             0, "1|2|3|4"},
        // The shape Access writes for "customers with an order in a period".
        Case{"SELECT DISTINCTROW Customers.CustomerID, Customers.Name FROM Customers RIGHT JOIN "
             "Orders ON Customers.CustomerID = Orders.CustomerID WHERE (((Orders.OrderDate) "
             "Between #1/1/2020# And #12/31/2020#)) ORDER BY Customers.CustomerID",
             1, "Anna Smith|Ben Müller|Chloé Dubois|Dan O'Brien"},
        // Equal values of different records are different rows, unlike DISTINCT.
        Case{"SELECT DISTINCTROW Customers.Country FROM " JOINED " ORDER BY Customers.Country", 0,
             "Germany|Switzerland|UK|UK"},
        Case{"SELECT DISTINCTROW Customers.* FROM " JOINED " ORDER BY Customers.CustomerID", 0,
             "1|2|3|4"},
        Case{"SELECT DISTINCTROW [Customers].[Name] & '!' AS X FROM " JOINED
             " ORDER BY Customers.Name",
             0, "Anna Smith!|Ben Müller!|Chloé Dubois!|Dan O'Brien!"},
        Case{"SELECT DISTINCTROW TOP 2 Customers.Name FROM " JOINED " ORDER BY Customers.Name", 0,
             "Anna Smith|Ben Müller"},
        // Inside a source, as in a query built on a saved one.
        Case{"SELECT Count(*) AS N FROM (SELECT DISTINCTROW Customers.CustomerID FROM " JOINED
             ") AS q",
             0, "4"},
        Case{"SELECT DISTINCTROW Customers.CustomerID FROM Customers, Orders "
             "WHERE Customers.CustomerID = Orders.CustomerID ORDER BY Customers.CustomerID",
             0, "1|2|3|4"},
        // A saved query has no row keys: its whole row stands for its record.
        Case{"SELECT DISTINCTROW u.Name FROM [UK Customers] AS u "
             "INNER JOIN Orders ON u.CustomerID = Orders.CustomerID ORDER BY u.Name",
             0, "Anna Smith|Dan O'Brien"},
        // Fields of every table, or a single table: a plain select.
        Case{"SELECT DISTINCTROW Customers.CustomerID, Orders.OrderID FROM " JOINED
             " ORDER BY Orders.OrderID",
             0, "1|1|2|3|4|2"},
        Case{"SELECT DISTINCTROW Country FROM Customers ORDER BY Country", 0,
             "Germany|Spain|Sweden|Switzerland|Switzerland|UK|UK"},
        // Grouping already makes one row per group.
        Case{"SELECT DISTINCTROW Customers.Country, Count(*) AS N FROM " JOINED
             " GROUP BY Customers.Country ORDER BY Customers.Country",
             1, "2|1|3"}));

#undef JOINED

} // namespace
} // namespace quarix::test

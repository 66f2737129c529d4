// DISTINCTROW: one row per distinct combination of the records of the tables
// whose fields are selected; the other tables of the join only filter.
// Customers 1 and 2 have two orders each, 3 and 4 one, 5 to 7 none.
#include "SqlTestDatabase.h"

namespace quarix::test {
namespace {

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

#include "engine/queries/SavedQueries.h"
#include "engine/reader/AccessFileReader.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <map>

using namespace quarix::engine;

namespace {

using ExpectedSql = std::map<std::string, std::string>;

void expectQueries(const std::string& file, const ExpectedSql& expected) {
    const auto path = quarix::test::dataFile(file);
    const auto catalogue = AccessFileReader::readCatalogue(path);
    const auto queries = rebuildSavedQueries(catalogue, readMSysQueries(path, catalogue));
    ExpectedSql actual;
    for (const auto& query : queries) {
        EXPECT_EQ(query.error, "") << file << ": " << query.name;
        actual[query.name] = query.sql;
    }
    EXPECT_EQ(actual, expected) << file;
}

// The saved queries of the shop files, as Access shows them.
const ExpectedSql ShopQueries = {
    {"London Customers", "SELECT Customers.* FROM Customers WHERE ((Customers.City)=\"London\");"},
    {"Orders With Customer", "SELECT Orders.OrderID, Orders.OrderDate, Orders.Amount, "
                             "Customers.Name, Customers.City FROM Customers "
                             "INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID;"},
    {"Big Spenders",
     "SELECT Customers.Name, Sum(Orders.Amount) AS Total, Count(Orders.OrderID) AS OrderCount FROM "
     "Customers LEFT JOIN Orders ON Customers.CustomerID = Orders.CustomerID GROUP BY "
     "Customers.Name HAVING ((Sum(Orders.Amount))>2000) ORDER BY Sum(Orders.Amount) DESC;"},
    {"Countries", "SELECT DISTINCT Customers.Country FROM Customers ORDER BY Customers.Country;"},
    {"Open Orders Gross", "SELECT c.Name, o.Amount, [o].[Amount]*1.2 AS Gross FROM Customers AS c "
                          "INNER JOIN Orders AS o "
                          "ON c.CustomerID = o.CustomerID WHERE ((o.Status)=\"Open\");"},
    {"Age Everyone", "UPDATE Customers SET Customers.Age = [Age]+1;"},
    {"City Parameter", "PARAMETERS [Which City] Text ( 255 ); SELECT Customers.* FROM Customers "
                       "WHERE ((Customers.City)=[Which City]);"},
    {"~sq_cfrmHidden", "SELECT Orders.* FROM Orders;"},
};

// One query of every kind, made by Access; the SQL follows from their rows.
const ExpectedSql AccessQueries = {
    {"SelectQuery", "SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3 FROM (Table1 "
                    "LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN Table2 ON "
                    "(Table3.col1 = Table2.col1) AND (Table3.col1 = Table2.col2) WHERE "
                    "(((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\"))) ORDER BY "
                    "Table2.col1;"},
    {"UpdateQuery", "PARAMETERS [User Name] Text ( 255 ); UPDATE Table1 SET Table1.col1 = \"foo\", "
                    "Table1.col2 = [Table2].[col3], "
                    "[Table2].[col1] = [User Name] WHERE ((([Table2].[col1]) Is Not Null));"},
    {"AppendQuery", "INSERT INTO Table3 ( col2, col2, col3 ) SELECT [Table1].[col2], "
                    "[Table2].[col2], [Table2].[col3] "
                    "FROM Table3, Table1 INNER JOIN Table2 ON [Table1].[col1]=[Table2].[col1];"},
    {"DeleteQuery",
     "DELETE Table1.col1, Table1.col2, Table1.col3 FROM Table1 WHERE (((Table1.col1)>\"blah\"));"},
    {"MakeTableQuery", "SELECT Max(Table2.col1) AS MaxOfcol1, Table2.col2, Table3.col2 INTO Table4 "
                       "FROM (Table2 INNER JOIN Table1 ON Table2.col1 = Table1.col2) RIGHT JOIN "
                       "Table3 ON Table1.col2 = Table3.col3 GROUP BY Table2.col2, Table3.col2 "
                       "HAVING (((Max(Table2.col1))=\"buzz\") AND ((Table2.col2)<>\"blah\"));"},
    {"CrosstabQuery",
     "TRANSFORM Count([Table2].[col2]) AS CountOfcol2 SELECT Table2_1.col1, [Table2].[col3], "
     "Avg(Table2_1.col2) AS AvgOfcol2 FROM (Table1 INNER JOIN Table2 ON "
     "[Table1].[col1]=[Table2].[col1]) INNER JOIN Table2 AS Table2_1 ON "
     "[Table2].[col1]=Table2_1.col3 WHERE ((([Table1].[col1])>\"10\") And ((Table2_1.col1) Is Not "
     "Null) And ((Avg(Table2_1.col2))>\"10\")) GROUP BY Table2_1.col1, [Table2].[col3] ORDER BY "
     "[Table2].[col3] PIVOT [Table1].[col1];"},
    {"UnionQuery", "Select Table1.col1, Table1.col2\r\nwhere Table1.col1 = "
                   "\"foo\"\r\nUNION\r\nSelect Table2.col1, Table2.col2 "
                   "UNION ALL Select Table3.col1, Table3.col2\r\nwhere Table3.col3 > \"blah\";"},
    {"PassthroughQuery", "ALTER TABLE Table4 DROP COLUMN col5;"},
    {"DataDefinitionQuery", "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);"},
};

} // namespace

TEST(SavedQueryFiles, ShopQueriesMatchTheirAccessSql) {
    expectQueries("shop.mdb", ShopQueries);
    expectQueries("shop.accdb", ShopQueries);
}

TEST(SavedQueryFiles, EveryKindOfQueryMadeByAccess) {
    expectQueries("real/queryTestV2000.mdb", AccessQueries);
    expectQueries("real/queryTestV2007.accdb", AccessQueries);
}

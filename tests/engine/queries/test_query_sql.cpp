// Saved queries' SQL rebuilt from hand-made definition rows: select
// clauses, joins, action queries, and rows that make no query.
#include "QueryRowsBuilder.h"

#include "engine/queries/QuerySql.h"
#include "engine/queries/SavedQueries.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quarix::engine;
using quarix::test::QueryRowsBuilder;
namespace queryType = quarix::test::queryType;

namespace {

SavedQuery rebuilt(const QueryRowsBuilder& builder) {
    auto query = rebuildQuery("q", QueryKind::Unknown, builder.rows());
    EXPECT_EQ(query.error, "");
    return query;
}

QueryRowsBuilder customers() {
    QueryRowsBuilder builder(queryType::Select);
    builder.flags(0).table("Customers");
    return builder;
}

QueryRowsBuilder selectFromTwoTables() {
    QueryRowsBuilder builder(queryType::Select);
    builder.flags(0).table("A").table("B").column("A.x");
    return builder;
}

// The query fails with a reason that mentions the given words.
void expectRejected(const std::vector<MSysQueryRow>& rows, const std::string& reason) {
    const auto query = rebuildQuery("Broken", QueryKind::Select, rows);
    EXPECT_EQ(query.sql, "");
    EXPECT_TRUE(query.parameters.empty());
    EXPECT_NE(query.error.find(reason), std::string::npos) << query.error;
    EXPECT_EQ(query.name, "Broken");
}

} // namespace

TEST(SelectSql, ClausesInAccessOrderWhateverTheRowOrder) {
    auto builder = customers();
    builder.column("Customers.City")
        .column("Count(Customers.CustomerID)", "N")
        .add(attribute::Where, "((Customers.Age)>30)")
        .add(attribute::GroupBy, "Customers.City")
        .add(attribute::Having, "((Count(Customers.CustomerID))>1)")
        .add(attribute::OrderBy, "Customers.City", 0, "D")
        .add(attribute::OrderBy, "Count(Customers.CustomerID)");
    auto rows = builder.rows();
    std::reverse(rows.begin(), rows.end());
    const auto query = rebuildQuery("q", QueryKind::Select, rows);
    EXPECT_EQ(query.sql, "SELECT Customers.City, Count(Customers.CustomerID) AS N FROM Customers "
                         "WHERE ((Customers.Age)>30) GROUP BY Customers.City "
                         "HAVING ((Count(Customers.CustomerID))>1) "
                         "ORDER BY Customers.City DESC, Count(Customers.CustomerID);");
    EXPECT_EQ(query.kind, QueryKind::Select);
}

TEST(SelectSql, SelectFlags) {
    const auto withFlags = [](int flags, std::optional<std::string> top = {}) {
        QueryRowsBuilder builder(queryType::Select);
        builder.flags(flags, std::move(top)).table("Customers").column("Customers.Name");
        return rebuilt(builder).sql;
    };
    EXPECT_EQ(withFlags(0x02), "SELECT DISTINCT Customers.Name FROM Customers;");
    EXPECT_EQ(withFlags(0x08), "SELECT DISTINCTROW Customers.Name FROM Customers;");
    EXPECT_EQ(withFlags(0x10, "10"), "SELECT TOP 10 Customers.Name FROM Customers;");
    EXPECT_EQ(withFlags(0x30, "25"), "SELECT TOP 25 PERCENT Customers.Name FROM Customers;");
    EXPECT_EQ(withFlags(0x12, "5"), "SELECT DISTINCT TOP 5 Customers.Name FROM Customers;");
    EXPECT_EQ(withFlags(0x04), "SELECT Customers.Name FROM Customers WITH OWNERACCESS OPTION;");
    EXPECT_EQ(withFlags(0x01), "SELECT Customers.Name, * FROM Customers;");

    QueryRowsBuilder allFields(queryType::Select);
    allFields.flags(0x01).table("Customers");
    EXPECT_EQ(rebuilt(allFields).sql, "SELECT * FROM Customers;");
}

TEST(SelectSql, NamesThatNeedBracketsAreBracketed) {
    QueryRowsBuilder builder(queryType::Select);
    builder.table("Order Details", "Detail Lines")
        .table("Select")
        .table("Ümlaut")
        .table("[Already]")
        .column("[Detail Lines].Quantity", "Line Count")
        .column("1", "2nd")
        .column("Select.x", "Plain_Name1");
    EXPECT_EQ(rebuilt(builder).sql,
              "SELECT [Detail Lines].Quantity AS [Line Count], 1 AS [2nd], Select.x AS Plain_Name1 "
              "FROM [Order Details] AS [Detail Lines], [Select], [Ümlaut], [Already];");
}

TEST(SelectSql, ParametersWithTypesSizesAndFormReferences) {
    auto builder = customers();
    builder.column("Customers.*")
        .parameter("Which City", 10, 40)
        .parameter("MinAge", 4)
        .parameter("Forms!Search Form!Since", 8)
        .parameter("[Any Value]", 0)
        .parameter("[Forms]![Main]![Since]", 8);
    const auto query = rebuildQuery("q", QueryKind::Select, builder.rows());
    EXPECT_EQ(
        query.sql,
        "PARAMETERS [Which City] Text ( 40 ), MinAge Long, Forms![Search Form]!Since DateTime, "
        "[Any Value] Value, [Forms]![Main]![Since] DateTime; SELECT Customers.* FROM Customers;");
    EXPECT_EQ(query.parameters,
              (std::vector<std::string>{"Which City", "MinAge", "Forms!Search Form!Since",
                                        "Any Value", "[Forms]![Main]![Since]"}));
}

TEST(SelectSql, ExpressionsKeepLineBreaksAndTablesMayComeFromElsewhere) {
    QueryRowsBuilder builder(queryType::Select);
    builder
        .add(attribute::Table, std::string("SELECT Customers.City FROM Customers"), 0, {},
             std::string("c"))
        .add(attribute::Table, std::string(";DATABASE=C:\\Data\\Old.mdb"), 0,
             std::string("Archive"))
        .column("c.City")
        .add(attribute::Where, "c.City=\"London\"\r\nOr c.City=\"Paris\"");
    EXPECT_EQ(
        rebuilt(builder).sql,
        "SELECT c.City FROM (SELECT Customers.City FROM Customers) AS c, "
        "[;DATABASE=C:\\Data\\Old.mdb].Archive WHERE c.City=\"London\"\r\nOr c.City=\"Paris\";");

    auto remote = customers();
    remote.column("Customers.Name")
        .add(attribute::RemoteDatabase, std::string("MS Access;"), 0, std::string("C:\\a.mdb"));
    EXPECT_EQ(rebuilt(remote).sql,
              "SELECT Customers.Name FROM Customers IN 'C:\\a.mdb' [MS Access;];");
}

TEST(JoinSql, TwoJoinedPairsJoinedTogetherAndUnjoinedTablesFirst) {
    QueryRowsBuilder builder(queryType::Select);
    builder.table("A")
        .table("B")
        .table("Lonely")
        .table("C")
        .table("D")
        .column("A.x")
        .join("A", "B", 1, "A.id = B.id")
        .join("C", "D", 1, "C.id = D.id")
        .join("D", "A", 2, "D.k = A.k");
    EXPECT_EQ(rebuilt(builder).sql, "SELECT A.x FROM Lonely, (C INNER JOIN D ON C.id = D.id) "
                                    "LEFT JOIN (A INNER JOIN B ON A.id = B.id) ON D.k = A.k;");
}

TEST(JoinSql, RepeatedJoinRowsAreAndedIntoTheInnermostJoin) {
    QueryRowsBuilder builder(queryType::Select);
    builder.table("Customers", "c")
        .table("Orders", "o")
        .table("Lines")
        .column("c.Name")
        .join("c", "o", 1, "c.id = o.cid")
        .join("o", "Lines", 2, "o.id = Lines.oid")
        .join("C", "O", 1, "c.region = o.region")
        .join("o", "lines", 2, "o.rev = Lines.rev");
    EXPECT_EQ(rebuilt(builder).sql,
              "SELECT c.Name FROM (Customers AS c INNER JOIN Orders AS o "
              "ON (c.id = o.cid) AND (c.region = o.region)) "
              "LEFT JOIN Lines ON (o.id = Lines.oid) AND (o.rev = Lines.rev);");
}

TEST(ActionSql, UpdateWithJoinAndWhere) {
    QueryRowsBuilder builder(queryType::Update);
    builder.flags(0)
        .table("Orders")
        .table("Customers")
        .join("Orders", "Customers", 1, "Orders.CustomerID = Customers.CustomerID")
        .add(attribute::Column, "[Amount]*1.1", 0, {}, std::string("Orders.Amount"))
        .add(attribute::Column, "\"Shipped\"", 0, {}, std::string("Orders.Status"))
        .add(attribute::Where, "((Customers.Country)=\"UK\")");
    const auto query = rebuilt(builder);
    EXPECT_EQ(query.kind, QueryKind::Update);
    EXPECT_EQ(query.sql,
              "UPDATE Orders INNER JOIN Customers ON Orders.CustomerID = Customers.CustomerID "
              "SET Orders.Amount = [Amount]*1.1, Orders.Status = \"Shipped\" "
              "WHERE ((Customers.Country)=\"UK\");");
}

TEST(ActionSql, UpdateOfUniqueRecords) {
    QueryRowsBuilder builder(queryType::Update);
    builder.flags(0x08)
        .table("Order Details", "d")
        .add(attribute::Column, "0", 0, {}, std::string("d.Discount"));
    EXPECT_EQ(rebuilt(builder).sql, "UPDATE DISTINCTROW [Order Details] AS d SET d.Discount = 0;");
}

TEST(ActionSql, AppendFromSelectAndFromValues) {
    QueryRowsBuilder fromSelect(queryType::Append);
    fromSelect.typeRow("Order Archive")
        .table("Orders")
        .add(attribute::Column, "Orders.OrderID", 0, {}, std::string("OrderID"))
        .add(attribute::Column, "Orders.Amount", 0, std::string("Total"), std::string("Amount Due"))
        .add(attribute::Where, "((Orders.Status)=\"Shipped\")");
    EXPECT_EQ(rebuilt(fromSelect).sql, "INSERT INTO [Order Archive] ( OrderID, [Amount Due] ) "
                                       "SELECT Orders.OrderID, Orders.Amount AS Total "
                                       "FROM Orders WHERE ((Orders.Status)=\"Shipped\");");

    QueryRowsBuilder fromValues(queryType::Append);
    fromValues.typeRow("Orders", "C:\\Backup.mdb")
        .add(attribute::Column, "7", -32768, {}, std::string("OrderID"))
        .add(attribute::Column, "\"Open\"", -32768, {}, std::string("Status"));
    EXPECT_EQ(rebuilt(fromValues).sql,
              "INSERT INTO Orders ( OrderID, Status ) IN 'C:\\Backup.mdb' VALUES (7, \"Open\");");
}

TEST(ActionSql, DeleteAndMakeTable) {
    QueryRowsBuilder allRows(queryType::Delete);
    allRows.flags(0).table("Orders").add(attribute::Where, "((Orders.Amount)<0)");
    EXPECT_EQ(rebuilt(allRows).sql, "DELETE FROM Orders WHERE ((Orders.Amount)<0);");

    QueryRowsBuilder star(queryType::Delete);
    star.flags(0x08).table("Orders").column("Orders.*");
    EXPECT_EQ(rebuilt(star).sql, "DELETE DISTINCTROW Orders.* FROM Orders;");

    QueryRowsBuilder makeTable(queryType::MakeTable);
    makeTable.typeRow("Big Orders", "C:\\Out.mdb", "MS Access;")
        .flags(0x02)
        .table("Orders")
        .column("Orders.OrderID")
        .add(attribute::Where, "Orders.Amount>1000");
    EXPECT_EQ(rebuilt(makeTable).sql,
              "SELECT DISTINCT Orders.OrderID INTO [Big Orders] IN 'C:\\Out.mdb' [MS Access;] "
              "FROM Orders WHERE Orders.Amount>1000;");
}

TEST(ActionSql, UnionOfTwoStoredParts) {
    const auto unionOf = [](int flags) {
        QueryRowsBuilder builder(queryType::Union);
        builder.flags(flags)
            .add(attribute::Table, "SELECT City FROM Customers\r\n", 0, {},
                 std::string("X7YZ_____1"))
            .add(attribute::Table, "  SELECT ShipCity FROM Orders;\r\n", 0, {},
                 std::string("X7YZ_____2"))
            .add(attribute::OrderBy, "City");
        return rebuilt(builder);
    };
    EXPECT_EQ(unionOf(3).sql,
              "SELECT City FROM Customers UNION SELECT ShipCity FROM Orders ORDER BY City;");
    EXPECT_EQ(unionOf(1).sql,
              "SELECT City FROM Customers UNION ALL SELECT ShipCity FROM Orders ORDER BY City;");
    EXPECT_EQ(unionOf(1).kind, QueryKind::Union);
}

TEST(ActionSql, PassThroughAndDataDefinitionKeepTheirText) {
    QueryRowsBuilder passThrough(queryType::PassThrough);
    passThrough.typeRow("ODBC;DSN=Sales", {},
                        std::string("SELECT TOP 5 * FROM dbo.Sales\r\nWHERE x = 1") + '\0');
    const auto query = rebuilt(passThrough);
    EXPECT_EQ(query.sql, "SELECT TOP 5 * FROM dbo.Sales\r\nWHERE x = 1");
    EXPECT_EQ(query.kind, QueryKind::PassThrough);

    QueryRowsBuilder definition(queryType::DataDefinition);
    definition.typeRow({}, {}, "CREATE TABLE T (a TEXT(10));");
    EXPECT_EQ(rebuilt(definition).sql, "CREATE TABLE T (a TEXT(10));");
}

TEST(ActionSql, KindComesFromTheRowsAndFallsBackToTheCatalogue) {
    QueryRowsBuilder update(queryType::Update);
    update.table("T").add(attribute::Column, "1", 0, {}, std::string("T.a"));
    EXPECT_EQ(rebuildQuery("q", QueryKind::Select, update.rows()).kind, QueryKind::Update);

    auto rows = update.rows();
    rows.erase(rows.begin() + 1); // the type row
    const auto fallback = rebuildQuery("q", QueryKind::Update, rows);
    EXPECT_EQ(fallback.sql, "UPDATE T SET T.a = 1;");
    EXPECT_NE(rebuildQuery("q", QueryKind::Unknown, rows).error, "");
}

TEST(MalformedQuery, ShapeOfTheRowSet) {
    expectRejected({}, "no definition rows");
    expectRejected(selectFromTwoTables().rowsWithoutEnd(), "no end row");

    auto noStart = selectFromTwoTables().rows();
    noStart.erase(noStart.begin());
    expectRejected(noStart, "no start row");

    expectRejected(selectFromTwoTables().add(200, "x").rows(), "unknown clause attribute 200");
    expectRejected(selectFromTwoTables().add(-1).rows(), "unknown clause attribute -1");
    expectRejected(
        selectFromTwoTables().add(attribute::Where, "a").add(attribute::Where, "b").rows(),
        "2 WHERE rows");

    auto manyRows = selectFromTwoTables();
    for (int i = 0; i < 30000; ++i)
        manyRows.column("A.x");
    expectRejected(manyRows.rows(), "too many");
}

TEST(MalformedQuery, Joins) {
    expectRejected(selectFromTwoTables().join("A", "Nowhere", 1, "A.id = Nowhere.id").rows(),
                   "unknown table Nowhere");
    expectRejected(selectFromTwoTables().join("A", "B", 7, "A.id = B.id").rows(),
                   "unknown join kind 7");
    expectRejected(selectFromTwoTables()
                       .join("A", "B", 1, "A.id = B.id")
                       .join("B", "A", 2, "A.k = B.k")
                       .rows(),
                   "inconsistent join kinds");
    expectRejected(selectFromTwoTables().join("A", "A", 1, "A.id = A.id").rows(), "with itself");
    expectRejected(selectFromTwoTables()
                       .add(attribute::Join, {}, 1, std::string("A"), std::string("B"))
                       .rows(),
                   "ON condition");
}

TEST(MalformedQuery, ClausesThatMakeNoSense) {
    expectRejected(QueryRowsBuilder(42).rows(), "unknown query type 42");
    expectRejected(QueryRowsBuilder(queryType::Select).table("A").rows(), "no output columns");
    expectRejected(
        QueryRowsBuilder(queryType::Select).flags(0x10, "ten").table("A").column("A.x").rows(),
        "TOP count");
    expectRejected(selectFromTwoTables().parameter("p", 99).rows(), "unknown parameter type 99");
    expectRejected(selectFromTwoTables().add(attribute::Column).rows(), "expression");
    expectRejected(QueryRowsBuilder(queryType::Update)
                       .add(attribute::Column, "1", 0, {}, std::string("a"))
                       .rows(),
                   "names no table");
    expectRejected(QueryRowsBuilder(queryType::Append).table("A").column("A.x").rows(),
                   "target table");
    expectRejected(QueryRowsBuilder(queryType::Crosstab).table("A").column("Count(*)").rows(),
                   "crosstab");
    expectRejected(QueryRowsBuilder(queryType::Union)
                       .add(attribute::Table, "SELECT 1", 0, {}, std::string("X7YZ_____1"))
                       .rows(),
                   "X7YZ_____2");
    expectRejected(QueryRowsBuilder(queryType::PassThrough).rows(), "no SQL text");
}

TEST(SavedQueries, RowsJoinTheCatalogueOnTheFullSignedId) {
    Catalogue catalogue;
    catalogue.queries = {{"Negative Id", -2147483639, 0, QueryKind::Select},
                         {"Same Low Bits", 9, 0, QueryKind::Select},
                         {"No Rows", 12, 0x30, QueryKind::Update},
                         {"Broken", 13, 0, QueryKind::Select}};
    std::vector<MSysQueryRow> rows;
    const auto append = [&rows](const QueryRowsBuilder& builder) {
        const auto more = builder.rows();
        rows.insert(rows.end(), more.begin(), more.end());
    };
    append(QueryRowsBuilder(queryType::Select, -2147483639).flags(0).table("A").column("A.x"));
    append(QueryRowsBuilder(queryType::Select, 9).flags(0).table("B").column("B.y"));
    append(QueryRowsBuilder(queryType::Select, 13).table("A"));
    append(QueryRowsBuilder(queryType::Select, 77).table("Orphan").column("1"));

    const auto queries = rebuildSavedQueries(catalogue, rows);
    ASSERT_EQ(queries.size(), 4U);
    EXPECT_EQ(queries[0].sql, "SELECT A.x FROM A;");
    EXPECT_EQ(queries[1].sql, "SELECT B.y FROM B;");
    EXPECT_EQ(queries[2].name, "No Rows");
    EXPECT_EQ(queries[2].kind, QueryKind::Update);
    EXPECT_NE(queries[2].error, "");
    EXPECT_EQ(queries[3].sql, "");
    EXPECT_NE(queries[3].error, "");
}

#include "QueryRowsBuilder.h"

#include "engine/queries/QuerySql.h"

#include <gtest/gtest.h>

using namespace quarix::engine;
using quarix::test::QueryRowsBuilder;
namespace queryType = quarix::test::queryType;

namespace {

SavedQuery rebuilt(const QueryRowsBuilder& builder) {
    auto query = rebuildQuery("q", QueryKind::Unknown, builder.rows());
    EXPECT_EQ(query.error, "");
    return query;
}

} // namespace

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

TEST(ActionSql, CrosstabSplitsValueRowHeadingsAndColumnHeading) {
    QueryRowsBuilder builder(queryType::Crosstab);
    builder.table("Orders")
        .column("Sum(Orders.Amount)", "Total", 0)
        .column("Orders.ShipCity", {}, 2)
        .column("Orders.Status", {}, 1)
        .add(attribute::GroupBy, "Orders.ShipCity", 2)
        .add(attribute::GroupBy, "Orders.Status", 1)
        .add(attribute::OrderBy, "Orders.ShipCity");
    EXPECT_EQ(rebuilt(builder).sql,
              "TRANSFORM Sum(Orders.Amount) AS Total SELECT Orders.ShipCity FROM Orders "
              "GROUP BY Orders.ShipCity ORDER BY Orders.ShipCity PIVOT Orders.Status;");
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

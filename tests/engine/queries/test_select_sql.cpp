#include "QueryRowsBuilder.h"

#include "engine/queries/QuerySql.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quarix::engine;
using quarix::test::QueryRowsBuilder;
namespace queryType = quarix::test::queryType;

namespace {

std::string sqlOf(const QueryRowsBuilder& builder) {
    const auto query = rebuildQuery("q", QueryKind::Unknown, builder.rows());
    EXPECT_EQ(query.error, "");
    return query.sql;
}

QueryRowsBuilder customers() {
    QueryRowsBuilder builder(queryType::Select);
    builder.flags(0).table("Customers");
    return builder;
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
        return sqlOf(builder);
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
    EXPECT_EQ(sqlOf(allFields), "SELECT * FROM Customers;");
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
    EXPECT_EQ(sqlOf(builder),
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
        sqlOf(builder),
        "SELECT c.City FROM (SELECT Customers.City FROM Customers) AS c, "
        "[;DATABASE=C:\\Data\\Old.mdb].Archive WHERE c.City=\"London\"\r\nOr c.City=\"Paris\";");

    auto remote = customers();
    remote.column("Customers.Name")
        .add(attribute::RemoteDatabase, std::string("MS Access;"), 0, std::string("C:\\a.mdb"));
    EXPECT_EQ(sqlOf(remote), "SELECT Customers.Name FROM Customers IN 'C:\\a.mdb' [MS Access;];");
}

TEST(JoinSql, JoinChainsNestToTheLeft) {
    QueryRowsBuilder builder(queryType::Select);
    builder.table("A")
        .table("B")
        .table("C")
        .table("D")
        .column("A.x")
        .join("A", "B", 1, "A.id = B.id")
        .join("B", "C", 2, "B.id = C.id")
        .join("C", "D", 3, "C.id = D.id");
    EXPECT_EQ(sqlOf(builder),
              "SELECT A.x FROM ((A INNER JOIN B ON A.id = B.id) LEFT JOIN C ON B.id = C.id) "
              "RIGHT JOIN D ON C.id = D.id;");
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
    EXPECT_EQ(sqlOf(builder), "SELECT A.x FROM Lonely, (C INNER JOIN D ON C.id = D.id) "
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
    EXPECT_EQ(sqlOf(builder), "SELECT c.Name FROM (Customers AS c INNER JOIN Orders AS o "
                              "ON (c.id = o.cid) AND (c.region = o.region)) "
                              "LEFT JOIN Lines ON (o.id = Lines.oid) AND (o.rev = Lines.rev);");
}

#include "QueryRowsBuilder.h"

#include "engine/queries/QuerySql.h"
#include "engine/queries/SavedQueries.h"

#include <gtest/gtest.h>

using namespace quarix::engine;
using quarix::test::QueryRowsBuilder;
namespace queryType = quarix::test::queryType;

namespace {

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

#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/queries/QuerySql.h"
#include "tests/engine/queries/QueryRowsBuilder.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using quarix::engine::AccessDatabase;
using quarix::engine::EngineError;

namespace {

using quarix::test::rowsOf;

int errorNumber(const std::function<void()>& work) {
    return quarix::test::errorOf(work).number();
}

class SavedQueries : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        const fs::path copy = dir_ / GetParam();
        fs::copy_file(quarix::test::dataFile(GetParam()), copy);
        db_ = AccessDatabase::open(copy.string());
    }
    quarix::test::ScratchFolder dir_{"saved-queries"};
    std::shared_ptr<AccessDatabase> db_;
};

// Each select query gives what its SQL, written by hand over the tables, gives.
TEST_P(SavedQueries, SelectQueriesMatchTheirSqlOverTheTables) {
    AccessDatabase& db = *db_;
    EXPECT_EQ(db.execute("London Customers")->rowCount(), 22);
    EXPECT_EQ(rowsOf(db, "London Customers"),
              rowsOf(db, "SELECT * FROM Customers WHERE City = 'London'"));
    EXPECT_EQ(db.execute("Orders With Customer")->rowCount(), 1000);
    EXPECT_EQ(rowsOf(db, "SELECT * FROM [Orders With Customer] ORDER BY OrderID"),
              rowsOf(db,
                     "SELECT o.OrderID, o.OrderDate, o.Amount, c.Name, c.City FROM Customers AS c "
                     "INNER JOIN Orders AS o ON c.CustomerID = o.CustomerID ORDER BY o.OrderID"));
    EXPECT_EQ(rowsOf(db, "Big Spenders"),
              rowsOf(db,
                     "SELECT c.Name, Sum(o.Amount) AS Total, Count(o.OrderID) AS OrderCount "
                     "FROM Customers AS c LEFT JOIN Orders AS o ON c.CustomerID = o.CustomerID "
                     "GROUP BY c.Name HAVING Sum(o.Amount) > 2000 ORDER BY Sum(o.Amount) DESC"));
    EXPECT_EQ(rowsOf(db, "Countries"),
              rowsOf(db, "SELECT DISTINCT Country FROM Customers ORDER BY Country"));
    EXPECT_EQ(
        rowsOf(db, "SELECT * FROM [Open Orders Gross] ORDER BY Name, Amount"),
        rowsOf(
            db,
            "SELECT c.Name, o.Amount, o.Amount * 1.2 AS Gross FROM Customers c, Orders o "
            "WHERE c.CustomerID = o.CustomerID AND o.Status = 'Open' ORDER BY c.Name, o.Amount"));
}

// A DISTINCTROW query as Access stores it gives one row per customer who
// ordered in 2020, not one row per order.
TEST_P(SavedQueries, DistinctRowOverAJoinGivesOneRowPerCustomer) {
    using namespace quarix::engine;
    quarix::test::QueryRowsBuilder builder(quarix::test::queryType::Select);
    builder.flags(0x08)
        .table("Customers")
        .table("Orders")
        .column("Customers.CustomerID")
        .column("Customers.Name")
        .join("Customers", "Orders", 3, "Customers.CustomerID = Orders.CustomerID")
        .add(attribute::Where, "(((Orders.OrderDate) Between #1/1/2020# And #12/31/2020#))");
    const SavedQuery query =
        rebuildQuery("Customers Who Ordered", QueryKind::Select, builder.rows());
    ASSERT_EQ(query.error, "");
    ASSERT_EQ(
        query.sql,
        "SELECT DISTINCTROW Customers.CustomerID, Customers.Name FROM Customers RIGHT JOIN Orders "
        "ON Customers.CustomerID = Orders.CustomerID "
        "WHERE (((Orders.OrderDate) Between #1/1/2020# And #12/31/2020#));");

    AccessDatabase& db = *db_;
    const auto sorted = [&](const std::string& sql) {
        std::vector<std::string> rows = rowsOf(db, sql);
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    const std::vector<std::string> customers = sorted(query.sql);
    EXPECT_EQ(
        customers,
        sorted("SELECT CustomerID, Name FROM Customers WHERE CustomerID In (SELECT CustomerID "
               "FROM Orders WHERE OrderDate Between #1/1/2020# And #12/31/2020#)"));
    EXPECT_EQ(customers.size(), 250u);
    std::string plain = query.sql;
    plain.erase(plain.find("DISTINCTROW "), 12);
    EXPECT_EQ(db.execute(plain)->rowCount(), 364);
    // Used as a source, as a query built on it would.
    const std::string inner = query.sql.substr(0, query.sql.size() - 1);
    EXPECT_EQ(db.execute("SELECT Count(*) AS N FROM (" + inner + ") AS q")->row(0)[0].integer, 250);
}

// A table whose definition is unreadable is listed, but asking for its
// fields or rows reports the damage instead of an empty table.
TEST_P(SavedQueries, ADamagedTableDefinitionIsAnErrorNotAnEmptyTable) {
    const fs::path file = dir_ / ("damaged-" + GetParam());
    fs::copy_file(dir_ / GetParam(), file);
    const auto& tables = db_->catalogue().tables;
    const auto wide =
        std::find_if(tables.begin(), tables.end(),
                     [](const quarix::engine::TableInfo& t) { return t.name == "Wide"; });
    ASSERT_NE(wide, tables.end());
    std::string bytes = quarix::test::fileBytes(file);
    bytes.replace(static_cast<std::size_t>(wide->id & 0xffffff) * 4096, 4096, 4096, '\xab');
    quarix::test::writeBytes(file, bytes);
    const auto damaged = AccessDatabase::open(file.string());
    EXPECT_TRUE(damaged->isSourceName("Wide"));
    EXPECT_EQ(errorNumber([&] { damaged->columns("Wide"); }), 3343);
    EXPECT_EQ(errorNumber([&] { damaged->execute("Wide"); }), 3343);
    EXPECT_EQ(damaged->columns("Customers").size(), 11u);
}

TEST_P(SavedQueries, QueriesAreSearchedLikeTables) {
    AccessDatabase& db = *db_;
    EXPECT_EQ(
        db.execute("select * from [London Customers] WHERE [Name] Like '*a*' ORDER BY [Name] ASC")
            ->rowCount(),
        db.execute("select * from [Customers] WHERE [City] = 'London' AND [Name] Like '*a*'")
            ->rowCount());
    EXPECT_EQ(db.filter("Orders With Customer", "[City] Like 'Lon*'")->rowCount(),
              db.execute("SELECT * FROM Orders INNER JOIN Customers ON Orders.CustomerID = "
                         "Customers.CustomerID WHERE Customers.City Like 'Lon*'")
                  ->rowCount());
    const auto fields = db.columns("Open Orders Gross");
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[2].name, "Gross");
    EXPECT_EQ(
        db.execute("select DISTINCT [Country] from [Countries] ORDER BY [Country] ASC")->rowCount(),
        9);
}

TEST_P(SavedQueries, ActionAndParameterQueriesAreRefusedAndTheFileIsUnchanged) {
    const fs::path file = dir_ / GetParam();
    const auto before = fs::last_write_time(file);
    const auto size = fs::file_size(file);
    EXPECT_EQ(errorNumber([&] { db_->execute("Age Everyone"); }), 3219);
    EXPECT_EQ(errorNumber([&] { db_->execute("City Parameter"); }), 3061);
    EXPECT_EQ(errorNumber([&] {
                  db_->execute("SELECT * FROM Customers WHERE [Forms]![frmX]![City] = City");
              }),
              3061);
    EXPECT_EQ(fs::last_write_time(file), before);
    EXPECT_EQ(fs::file_size(file), size);
    EXPECT_NE(db_->savedQuerySql("Age Everyone").find("UPDATE Customers"), std::string::npos);
}

TEST_P(SavedQueries, StatementErrorsCarryAccessNumbers) {
    EXPECT_EQ(errorNumber([&] { db_->execute("NoSuchTable"); }), 3078);
    EXPECT_EQ(
        errorNumber([&] { db_->execute("select * from [Customers] WHERE [City] Like 'O'Brien'"); }),
        3075);
    EXPECT_EQ(errorNumber([&] { db_->execute("select * from [Customers] WHERE Frob([City])"); }),
              3085);
    EXPECT_GT(db_->execute("select * from [Customers] WHERE [Name] Like '*O''Brien*'")->rowCount(),
              0);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, SavedQueries, ::testing::Values("shop.mdb", "shop.accdb"),
                         [](const auto& info) {
                             return info.param == "shop.mdb" ? "mdb" : "accdb";
                         });

} // namespace

#include "catalogue/CatalogueNames.h"
#include "catalogue/CatalogueReader.h"
#include "catalogue/Dao.h"
#include "catalogue/SearchQuery.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quarix::catalogue;

namespace {

TEST(CatalogueNames, HiddenObjectsKindsAndPaging) {
    EXPECT_TRUE(isHiddenTable(QStringLiteral("MSysObjects")));
    EXPECT_FALSE(isHiddenTable(QStringLiteral("msysnotes")));
    EXPECT_TRUE(isHiddenQuery(QStringLiteral("~sq_cfrmHidden")));
    EXPECT_FALSE(isHiddenQuery(QStringLiteral("Big Spenders")));
    EXPECT_EQ(objectKinds(1, 1), (QStringList{QStringLiteral("Table"), QStringLiteral("Query")}));
    EXPECT_EQ(objectKinds(0, 1), QStringList{QStringLiteral("Query")});
    EXPECT_TRUE(objectKinds(0, 2).isEmpty());
    EXPECT_TRUE(isPagedDatabase(QStringLiteral("/a/B.ACCDB"), false));
    EXPECT_TRUE(isPagedDatabase(QStringLiteral("/a/b.mdb"), true));
    EXPECT_FALSE(isPagedDatabase(QStringLiteral("/a/b.mdb"), false));
    EXPECT_FALSE(namesADatabase(QStringLiteral("*.accdb")));
    EXPECT_FALSE(namesADatabase(QString()));
    EXPECT_TRUE(namesADatabase(QStringLiteral("/x/notes.txt")));
    EXPECT_EQ(absoluteDatabasePath(QStringLiteral("/x/./y/../shop.mdb")),
              QStringLiteral("/x/shop.mdb"));
    EXPECT_TRUE(absoluteDatabasePath(QStringLiteral("shop.mdb")).startsWith(QLatin1Char('/')));
    EXPECT_EQ(absoluteDatabasePath(QStringLiteral("*.mdb")), QStringLiteral("*.mdb"));
    EXPECT_EQ(absoluteDatabasePath(QString()), QString());
}

class CatalogueReading : public ::testing::Test {
protected:
    void SetUp() override {
        path = QString::fromStdString(quarix::test::dataFile("shop.accdb"));
        try {
            DBEngine::instance().Workspaces(0).OpenDatabase(path, false).Close();
        } catch (const EngineError&) {
            GTEST_SKIP() << "the database engine cannot read the test files yet";
        }
    }
    QString path;
};

TEST_F(CatalogueReading, ListsAndFields) {
    const QStringList tables = readObjectNames(path, kTableKind);
    EXPECT_TRUE(tables.contains(QStringLiteral("msysnotes")));
    EXPECT_FALSE(tables.contains(QStringLiteral("MSysObjects")));
    EXPECT_FALSE(readObjectNames(path, kQueryKind).contains(QStringLiteral("~sq_cfrmHidden")));
    EXPECT_TRUE(readObjectNames(path, QString()).isEmpty());
    EXPECT_FALSE(readFieldNames(path, QStringLiteral("Empty Table")).isEmpty());
    EXPECT_THROW(readFieldNames(path, QStringLiteral("No Such Table")), EngineError);
}

TEST_F(CatalogueReading, TheHiddenValueTablesOfAttachmentsAndMultiValueFieldsAreNotListed) {
    const QString file =
        QString::fromStdString(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    EXPECT_EQ(readObjectNames(file, kTableKind), QStringList{QStringLiteral("Table1")});
    const QStringList all =
        DBEngine::instance().Workspaces(0).OpenDatabase(file, false).TableDefs();
    EXPECT_TRUE(all.contains(QStringLiteral("MSysComplexColumns")));
    for (const QString& name : all)
        EXPECT_FALSE(name.startsWith(QStringLiteral("f_"))) << name.toStdString();
}

TEST_F(CatalogueReading, NumbersShowAsTheDatasheetShowsThem) {
    const PageOfResults types =
        readResultPage(path,
                       QStringLiteral("select [tSingle], [tDouble], [tMoney], [tNumeric], [tLong] "
                                      "from [Types] ORDER BY [ID]"),
                       0, 0);
    ASSERT_EQ(types.rows.size(), 5u);
    const std::vector<QStringList> expected = {
        {QStringLiteral("1.5"), QStringLiteral("3.25"), QStringLiteral("12.99"),
         QStringLiteral("1234.5678"), QStringLiteral("123456")},
        {QString(), QString(), QString(), QString(), QString()},
        {QStringLiteral("-3E+38"), QStringLiteral("1E+300"), QStringLiteral("922337203685477.5807"),
         QStringLiteral("-99999999999999.9999"), QStringLiteral("2147483647")},
        {QStringLiteral("0"), QStringLiteral("-0.5"), QStringLiteral("-922337203685477.5808"),
         QStringLiteral("0.0001"), QStringLiteral("-2147483648")},
        {QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("7.00"), QStringLiteral("7"),
         QStringLiteral("7")}};
    for (std::size_t r = 0; r < expected.size(); ++r)
        EXPECT_EQ(types.rows[r], expected[r]) << "row " << r;

    // A picked value is the text Access compares a number with: 7, not 7.0.
    const QStringList scores =
        readValueList(path, QStringLiteral("Customers"), QStringLiteral("Score"), 500);
    EXPECT_TRUE(scores.contains(QStringLiteral("7")));
    EXPECT_FALSE(scores.contains(QStringLiteral("7.0")));
    EXPECT_TRUE(scores.contains(QStringLiteral("0.125")));
}

TEST_F(CatalogueReading, PagesHoldOnlyTheirOwnRecords) {
    const QString statement =
        QStringLiteral("select * from [Customers] WHERE 1 = 1 ORDER BY [CustomerID] ASC");
    const PageOfResults third = readResultPage(path, statement, 200, 100);
    EXPECT_EQ(third.resultCount, 250);
    ASSERT_EQ(third.rows.size(), 50u);
    EXPECT_EQ(third.headers.first(), QStringLiteral("CustomerID"));
    EXPECT_EQ(third.rows.front().first(), QStringLiteral("201"));
    const PageOfResults past = readResultPage(path, statement, 300, 100);
    EXPECT_TRUE(past.rows.empty());
    EXPECT_TRUE(past.headers.isEmpty());
    EXPECT_EQ(readResultPage(path, statement, 0, 0).rows.size(), 250u);
}

TEST_F(CatalogueReading, FilteredRowsAreReadOnDemand) {
    FilteredResults results =
        openFilteredResults(path, QStringLiteral("Customers"), QStringLiteral("1 = 1"));
    EXPECT_EQ(results.resultCount, 250);
    ASSERT_TRUE(results.rows);
    EXPECT_EQ(results.rows->rowCount(), 250);
    const auto rows = results.rows->rows(248, 10);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.back().first(), QStringLiteral("250"));
}

TEST_F(CatalogueReading, ValueListStopsAtItsLimit) {
    const QString mdb = QString::fromStdString(quarix::test::dataFile("shop.mdb"));
    EXPECT_EQ(readValueList(mdb, QStringLiteral("Customers"), QStringLiteral("City"), 50).size(),
              12);
    const QStringList five =
        readValueList(path, QStringLiteral("Customers"), QStringLiteral("City"), 5);
    ASSERT_EQ(five.size(), 5);
    EXPECT_EQ(five.first(), QString());
    EXPECT_EQ(five[1], QStringLiteral("Bergen"));
    const QStringList all =
        readValueList(path, QStringLiteral("Customers"), QStringLiteral("City"), 50);
    EXPECT_EQ(all.size(), 12); // the empty entry and eleven cities
    EXPECT_EQ(readValueList(path, QStringLiteral("Customers"), QStringLiteral("City"), 1),
              QStringList{QString()});
}

// The calls the window makes on a database cut short all report the damage.
TEST_F(CatalogueReading, ATruncatedDatabaseFailsEveryListAndSearch) {
    namespace fs = std::filesystem;
    const fs::path dir = quarix::test::scratchDir("catalogue-truncated");
    const auto errorOf = [](const auto& call) {
        try {
            call();
        } catch (const EngineError& e) {
            return e.number();
        }
        return 0;
    };
    const fs::path cut = dir / "cut.accdb";
    fs::copy_file(path.toStdString(), cut);
    fs::resize_file(cut, fs::file_size(cut) / 3);
    const QString file = QString::fromStdString(cut.string());
    const QString customers = QStringLiteral("Customers");
    EXPECT_EQ(errorOf([&] { readObjectNames(file, kTableKind); }), 3343);
    EXPECT_EQ(errorOf([&] { readFieldNames(file, customers); }), 3343);
    EXPECT_EQ(errorOf([&] { readValueList(file, customers, QStringLiteral("City"), 10); }), 3343);
    EXPECT_EQ(errorOf([&] { openFilteredResults(file, customers, QStringLiteral("1 = 1")); }),
              3343);

    // Without its last page the file still lists its objects, but the saved
    // queries kept there cannot be read.
    const fs::path lastPage = dir / "last-page.mdb";
    fs::copy_file(quarix::test::dataFile("shop.mdb"), lastPage);
    fs::resize_file(lastPage, fs::file_size(lastPage) - 4096);
    const QString shortFile = QString::fromStdString(lastPage.string());
    EXPECT_TRUE(
        readObjectNames(shortFile, kQueryKind).contains(QStringLiteral("London Customers")));
    EXPECT_EQ(errorOf([&] { readFieldNames(shortFile, QStringLiteral("London Customers")); }),
              3343);
    fs::remove_all(dir);
}

} // namespace

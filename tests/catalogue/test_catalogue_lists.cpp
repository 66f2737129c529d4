#include "catalogue/CatalogueLists.h"
#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace quarix::catalogue;
using quarix::engine::AccessDatabase;
using quarix::engine::EngineError;

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
        path = quarix::test::dataFile("shop.accdb");
        db = AccessDatabase::open(path);
    }
    std::string path;
    std::shared_ptr<AccessDatabase> db;
};

TEST_F(CatalogueReading, ListsAndFields) {
    const QStringList tables = objectNames(*db, kTableKind);
    EXPECT_TRUE(tables.contains(QStringLiteral("msysnotes")));
    EXPECT_FALSE(tables.contains(QStringLiteral("MSysObjects")));
    EXPECT_TRUE(objectNames(*db, kTableKind, true).contains(QStringLiteral("MSysObjects")));
    EXPECT_FALSE(objectNames(*db, kQueryKind).contains(QStringLiteral("~sq_cfrmHidden")));
    EXPECT_TRUE(objectNames(*db, kQueryKind, true).contains(QStringLiteral("~sq_cfrmHidden")));
    EXPECT_TRUE(objectNames(*db, QString()).isEmpty());
    EXPECT_FALSE(fieldNames(*db, QStringLiteral("Empty Table")).isEmpty());
    EXPECT_EQ(fieldNames(*db, QStringLiteral("Big Spenders")),
              (QStringList{QStringLiteral("Name"), QStringLiteral("Total"),
                           QStringLiteral("OrderCount")}));
    EXPECT_THROW(fieldNames(*db, QStringLiteral("No Such Table")), EngineError);
}

TEST_F(CatalogueReading, TheHiddenValueTablesOfAttachmentsAndMultiValueFieldsAreNotListed) {
    const auto file =
        AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    EXPECT_EQ(objectNames(*file, kTableKind), QStringList{QStringLiteral("Table1")});
    const QStringList all = objectNames(*file, kTableKind, true);
    EXPECT_TRUE(all.contains(QStringLiteral("MSysComplexColumns")));
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const QString& name) {
        return name.startsWith(QStringLiteral("f_"));
    }));
}

// The one rule for showing a value: numbers as Access's datasheet shows them.
TEST_F(CatalogueReading, NumbersShowAsTheDatasheetShowsThem) {
    const auto types = db->execute(
        "select [tSingle], [tDouble], [tMoney], [tNumeric], [tLong] from [Types] ORDER BY [ID]");
    const std::vector<std::vector<std::string>> expected = {
        {"1.5", "3.25", "12.99", "1234.5678", "123456"},
        {"", "", "", "", ""},
        {"-3E+38", "1E+300", "922337203685477.5807", "-99999999999999.9999", "2147483647"},
        {"0", "-0.5", "-922337203685477.5808", "0.0001", "-2147483648"},
        {"7", "7", "7.00", "7", "7"}};
    ASSERT_EQ(types->rowCount(), 5);
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            EXPECT_EQ(types->text(c, types->row(static_cast<std::int64_t>(r))[c]), expected[r][c])
                << "row " << r << " column " << c;

    // A picked value is the text Access compares a number with: 7, not 7.0.
    const QStringList scores =
        distinctValues(*db, QStringLiteral("Customers"), QStringLiteral("Score"), -1);
    EXPECT_TRUE(scores.contains(QStringLiteral("7")));
    EXPECT_FALSE(scores.contains(QStringLiteral("7.0")));
    EXPECT_TRUE(scores.contains(QStringLiteral("0.125")));
}

TEST_F(CatalogueReading, ValueListStopsAtItsLimit) {
    const QString customers = QStringLiteral("Customers");
    const QString city = QStringLiteral("City");
    EXPECT_EQ(distinctValues(*AccessDatabase::open(quarix::test::dataFile("shop.mdb")), customers,
                             city, -1)
                  .size(),
              11);
    const QStringList four = distinctValues(*db, customers, city, 4);
    ASSERT_EQ(four.size(), 4);
    EXPECT_EQ(four.first(), QStringLiteral("Bergen"));
    EXPECT_TRUE(distinctValues(*db, customers, city, 0).isEmpty());
}

// A text field's list read in one bounded pass is the head of the list the
// sorted statement gives.
TEST(ValueListOfText, IsTheHeadOfTheWholeList) {
    const auto people = AccessDatabase::open(quarix::test::dataFile("people-10k.mdb"));
    const QString table = QStringLiteral("People");
    for (const char* field : {"FirstName", "LastName", "City", "Email"}) {
        const QStringList all = distinctValues(*people, table, QString::fromLatin1(field), -1);
        ASSERT_GT(all.size(), 10) << field;
        for (const long limit : {1L, 10L, 50L, 20000L})
            EXPECT_EQ(distinctValues(*people, table, QString::fromLatin1(field), limit),
                      all.mid(0, static_cast<qsizetype>(limit)))
                << field << " " << limit;
    }
}

// Every list of a database cut short reports the damage.
TEST(CatalogueDamage, ATruncatedDatabaseFailsEveryList) {
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
    fs::copy_file(quarix::test::dataFile("shop.accdb"), cut);
    fs::resize_file(cut, fs::file_size(cut) / 3);
    EXPECT_EQ(errorOf([&] { AccessDatabase::open(cut.string()); }), 3343);

    // Without its last page the file still lists its objects, but the saved
    // queries kept there cannot be read.
    const fs::path lastPage = dir / "last-page.mdb";
    fs::copy_file(quarix::test::dataFile("shop.mdb"), lastPage);
    fs::resize_file(lastPage, fs::file_size(lastPage) - 4096);
    const auto shortFile = AccessDatabase::open(lastPage.string());
    EXPECT_TRUE(objectNames(*shortFile, kQueryKind).contains(QStringLiteral("London Customers")));
    EXPECT_EQ(errorOf([&] { fieldNames(*shortFile, QStringLiteral("London Customers")); }), 3343);
    EXPECT_EQ(errorOf([&] {
                  distinctValues(*shortFile, QStringLiteral("Customers"), QStringLiteral("City"),
                                 9);
              }),
              0);
    fs::remove_all(dir);
}

} // namespace

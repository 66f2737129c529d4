#include "catalogue/CatalogueLists.h"
#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace Qt::StringLiterals;

using namespace quarix::catalogue;
using quarix::engine::AccessDatabase;
using quarix::engine::EngineError;

namespace {

TEST(CatalogueNames, HiddenObjectsKindsAndPaging) {
    EXPECT_TRUE(isHiddenTable(u"MSysObjects"_s));
    EXPECT_FALSE(isHiddenTable(u"msysnotes"_s));
    EXPECT_TRUE(isHiddenQuery(u"~sq_cfrmHidden"_s));
    EXPECT_FALSE(isHiddenQuery(u"Big Spenders"_s));
    EXPECT_EQ(objectKinds(1, 1), (QStringList{u"Table"_s, u"Query"_s}));
    EXPECT_EQ(objectKinds(0, 1), QStringList{u"Query"_s});
    EXPECT_TRUE(objectKinds(0, 2).isEmpty());
    EXPECT_TRUE(isPagedDatabase(u"/a/B.ACCDB"_s, false));
    EXPECT_TRUE(isPagedDatabase(u"/a/b.mdb"_s, true));
    EXPECT_FALSE(isPagedDatabase(u"/a/b.mdb"_s, false));
    EXPECT_FALSE(namesADatabase(u"*.accdb"_s));
    EXPECT_FALSE(namesADatabase(QString()));
    EXPECT_TRUE(namesADatabase(u"/x/notes.txt"_s));
    EXPECT_EQ(absoluteDatabasePath(u"/x/./y/../shop.mdb"_s), u"/x/shop.mdb"_s);
    EXPECT_TRUE(absoluteDatabasePath(u"shop.mdb"_s).startsWith(QLatin1Char('/')));
    EXPECT_EQ(absoluteDatabasePath(u"*.mdb"_s), u"*.mdb"_s);
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
    EXPECT_TRUE(tables.contains(u"msysnotes"_s));
    EXPECT_FALSE(tables.contains(u"MSysObjects"_s));
    EXPECT_TRUE(objectNames(*db, kTableKind, true).contains(u"MSysObjects"_s));
    EXPECT_FALSE(objectNames(*db, kQueryKind).contains(u"~sq_cfrmHidden"_s));
    EXPECT_TRUE(objectNames(*db, kQueryKind, true).contains(u"~sq_cfrmHidden"_s));
    EXPECT_TRUE(objectNames(*db, QString()).isEmpty());
    EXPECT_FALSE(fieldNames(*db, u"Empty Table"_s).isEmpty());
    EXPECT_EQ(fieldNames(*db, u"Big Spenders"_s),
              (QStringList{u"Name"_s, u"Total"_s, u"OrderCount"_s}));
    EXPECT_THROW(fieldNames(*db, u"No Such Table"_s), EngineError);

    // The hidden value tables of attachments and multi-value fields are not listed.
    const auto complex =
        AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    EXPECT_EQ(objectNames(*complex, kTableKind), QStringList{u"Table1"_s});
    const QStringList all = objectNames(*complex, kTableKind, true);
    EXPECT_TRUE(all.contains(u"MSysComplexColumns"_s));
    EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                            [](const QString& name) { return name.startsWith(u"f_"_s); }));
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
    const QStringList scores = distinctValues(*db, u"Customers"_s, u"Score"_s, -1);
    EXPECT_TRUE(scores.contains(u"7"_s));
    EXPECT_FALSE(scores.contains(u"7.0"_s));
    EXPECT_TRUE(scores.contains(u"0.125"_s));
}

TEST_F(CatalogueReading, ValueListStopsAtItsLimit) {
    const QString customers = u"Customers"_s;
    const QString city = u"City"_s;
    EXPECT_EQ(distinctValues(*AccessDatabase::open(quarix::test::dataFile("shop.mdb")), customers,
                             city, -1)
                  .size(),
              11);
    const QStringList four = distinctValues(*db, customers, city, 4);
    ASSERT_EQ(four.size(), 4);
    EXPECT_EQ(four.first(), u"Bergen"_s);
    EXPECT_TRUE(distinctValues(*db, customers, city, 0).isEmpty());
}

// A text field's list read in one bounded pass is the head of the list the
// sorted statement gives.
TEST(ValueListOfText, IsTheHeadOfTheWholeList) {
    const auto people = AccessDatabase::open(quarix::test::dataFile("people-10k.mdb"));
    const QString table = u"People"_s;
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
    EXPECT_TRUE(objectNames(*shortFile, kQueryKind).contains(u"London Customers"_s));
    EXPECT_EQ(errorOf([&] { fieldNames(*shortFile, u"London Customers"_s); }), 3343);
    EXPECT_EQ(errorOf([&] { distinctValues(*shortFile, u"Customers"_s, u"City"_s, 9); }), 0);
    fs::remove_all(dir);
}

} // namespace

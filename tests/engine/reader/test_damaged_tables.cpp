// Tables whose pages, rows or long values are damaged: the read fails
// naming the table and what it could not read, or, with salvage, gives the
// rows that are the table's and that warning. Never rows of another table
// or of nothing.
#include "engine/reader/ReaderErrors.h"

#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/AccessPages.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

using namespace quarix::engine;
using quarix::test::AccessPages;
using quarix::test::CollectingSink;

namespace {

class DamagedTables : public testing::Test {
protected:
    // The fixture's bytes, to damage and write back with write().
    static AccessPages pagesOf(const std::string& fixture) {
        return AccessPages(quarix::test::fileBytes(quarix::test::dataFile(fixture)));
    }
    std::string write(AccessPages& pages, const std::string& name) {
        quarix::test::writeBytes(dir_ / name, pages.bytes());
        return (dir_ / name).string();
    }

    static std::uint32_t definitionPage(const std::string& fixture, const std::string& table) {
        for (const TableInfo& t :
             AccessFileReader::readCatalogue(quarix::test::dataFile(fixture)).tables)
            if (t.name == table)
                return static_cast<std::uint32_t>(t.id) & 0xffffff;
        ADD_FAILURE() << "no table " << table;
        return 0;
    }

    static std::vector<std::string> rowsOf(const CollectingSink& sink) {
        std::vector<std::string> rows;
        for (const auto& row : sink.rows()) {
            std::string line;
            for (const auto& value : row)
                line += value.display + '\x1f';
            rows.push_back(line);
        }
        return rows;
    }

    static std::vector<std::string> soundRows(const std::string& fixture,
                                              const std::string& table) {
        CollectingSink sink;
        AccessFileReader::readTable(quarix::test::dataFile(fixture), table, sink);
        return rowsOf(sink);
    }

    quarix::test::ScratchFolder dir_{"damaged-tables"};
};

EngineError errorOf(const std::string& path, const std::string& table) {
    CollectingSink sink;
    return quarix::test::errorOf([&] { AccessFileReader::readTable(path, table, sink); });
}

ReadOptions salvage() {
    ReadOptions options;
    options.salvage = true;
    return options;
}

TEST_F(DamagedTables, AZeroedPageFailsTheReadOrIsLeftOutWithSalvage) {
    AccessPages pages = pagesOf("shop.mdb");
    const auto dataPages = pages.dataPagesOf(definitionPage("shop.mdb", "Order Details"));
    ASSERT_GE(dataPages.size(), 3u);
    const std::size_t before = pages.rowCount(dataPages[0]);
    const unsigned lost = pages.rowCount(dataPages[1]);
    pages.zero(dataPages[1]);
    const std::string path = write(pages, "shop.mdb");

    const std::string expected = "The table 'Order Details' in '" + path +
                                 "' is damaged: 1 page of rows could not be read (" +
                                 std::to_string(600 - lost) +
                                 " of the 600 rows its definition counts were read).";
    const EngineError e = errorOf(path, "Order Details");
    EXPECT_EQ(e.number(), reader_errors::tableDamaged);
    EXPECT_EQ(e.description(), expected);

    CollectingSink sink;
    const TableRead read = AccessFileReader::readTable(path, "Order Details", sink, salvage());
    EXPECT_EQ(read.rows, 600u - lost);
    EXPECT_EQ(read.damage, (TableDamage{0, 1, 0}));
    EXPECT_EQ(read.warning, expected);
    // The rows of the other pages, unchanged and in their order.
    std::vector<std::string> expectedRows = soundRows("shop.mdb", "Order Details");
    expectedRows.erase(expectedRows.begin() + static_cast<std::ptrdiff_t>(before),
                       expectedRows.begin() + static_cast<std::ptrdiff_t>(before + lost));
    EXPECT_EQ(rowsOf(sink), expectedRows);
}

TEST_F(DamagedTables, ARowCountBeyondThePageInventsNoRows) {
    // Access 97: 2 KB pages, one-byte column counts.
    AccessPages pages = pagesOf("real/testV1997.mdb");
    const Catalogue catalogue =
        AccessFileReader::readCatalogue(quarix::test::dataFile("real/testV1997.mdb"));
    std::string table;
    std::vector<std::size_t> dataPages;
    for (const TableInfo& t : catalogue.tables) {
        dataPages = pages.dataPagesOf(static_cast<std::uint32_t>(t.id) & 0xffffff);
        if (!t.system && !dataPages.empty() && pages.rowCount(dataPages[0]) > 0) {
            table = t.name;
            break;
        }
    }
    ASSERT_FALSE(table.empty());
    const std::vector<std::string> sound = soundRows("real/testV1997.mdb", table);
    const unsigned lost = pages.rowCount(dataPages[0]);
    pages.setRowCount(dataPages[0], 0xffff);
    const std::string path = write(pages, "testV1997.mdb");

    EXPECT_EQ(errorOf(path, table).number(), reader_errors::tableDamaged);
    CollectingSink sink;
    const TableRead read = AccessFileReader::readTable(path, table, sink, salvage());
    EXPECT_EQ(read.damage.pages, 1u);
    const std::vector<std::string> salvaged = rowsOf(sink);
    EXPECT_EQ(salvaged.size(), sound.size() - lost);
    for (const std::string& row : salvaged)
        EXPECT_NE(std::find(sound.begin(), sound.end(), row), sound.end()) << "an invented row";
}

TEST_F(DamagedTables, ARowThatDoesNotFitItsTableIsLeftOut) {
    AccessPages pages = pagesOf("shop.accdb");
    const auto dataPages = pages.dataPagesOf(definitionPage("shop.accdb", "Customers"));
    ASSERT_FALSE(dataPages.empty());
    // The row's column count, far beyond the table's.
    const std::size_t row = pages.rowStart(dataPages[0], 3);
    pages.bytes()[row] = '\xff';
    pages.bytes()[row + 1] = '\x7f';
    const std::string path = write(pages, "shop.accdb");

    const EngineError e = errorOf(path, "Customers");
    EXPECT_EQ(e.description(),
              "The table 'Customers' in '" + path + "' is damaged: 1 row could not be read.");
    CollectingSink sink;
    const TableRead read = AccessFileReader::readTable(path, "Customers", sink, salvage());
    EXPECT_EQ(read.rows, 249u);
    std::vector<std::string> expected = soundRows("shop.accdb", "Customers");
    expected.erase(expected.begin() + 3);
    EXPECT_EQ(rowsOf(sink), expected);
}

TEST_F(DamagedTables, ALongValueThatCannotBeFollowedIsADamagedValue) {
    // Row 100 holds a 5,011-character memo, kept on long-value pages.
    AccessPages pages = pagesOf("shop.mdb");
    const std::u16string note = u"Long note: 0123456789";
    const std::size_t page = pages.pageHolding(
        std::string_view(reinterpret_cast<const char*>(note.data()), note.size() * 2));
    ASSERT_GT(page, 0u);
    pages.zero(page);
    const std::string path = write(pages, "shop.mdb");

    const EngineError e = errorOf(path, "Customers");
    EXPECT_EQ(e.number(), reader_errors::tableDamaged);
    EXPECT_EQ(e.description(),
              "The table 'Customers' in '" + path + "' is damaged: 1 value could not be read.");
    CollectingSink sink;
    const TableRead read = AccessFileReader::readTable(path, "Customers", sink, salvage());
    EXPECT_EQ(read.rows, 250u);
    EXPECT_EQ(read.damage, (TableDamage{0, 0, 1}));
    const auto notes = sink.column("Notes");
    ASSERT_TRUE(notes);
    EXPECT_EQ(sink.rows()[99][*notes].kind, StoredValue::Kind::Null);
    const std::vector<std::string> sound = soundRows("shop.mdb", "Customers");
    const std::vector<std::string> salvaged = rowsOf(sink);
    for (std::size_t i = 0; i < sound.size(); ++i)
        EXPECT_TRUE(i == 99 || salvaged[i] == sound[i]) << "row " << i;
}

} // namespace

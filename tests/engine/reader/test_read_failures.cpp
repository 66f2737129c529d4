// Files that cannot be read as they are: missing ones, other files, a
// helper that hangs or crashes, a canceled read. Tables whose pages, rows
// or long values are damaged: the read fails naming the table and what it
// could not read, or, with salvage, gives the rows that are the table's and
// that warning; never rows of another table or of nothing. Files cut short,
// as a broken download or copy leaves them, end in the damaged-file error,
// never in fewer rows.
#include "engine/reader/ReaderErrors.h"
#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/AccessPages.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>

using namespace quarix::engine;
using quarix::test::AccessPages;
using quarix::test::CollectingSink;
namespace fs = std::filesystem;

namespace {

using quarix::test::errorOf;

class ReadFailures : public testing::Test {
protected:
    void TearDown() override {
        AccessFileReader::setHelperPath("");
        AccessFileReader::setWatchdogTimeout(std::chrono::seconds(20));
    }

    std::string writeFile(const std::string& name, const std::string& content) {
        quarix::test::writeBytes(dir_ / name, content);
        return (dir_ / name).string();
    }

    // A stand-in helper program, to play a helper that hangs or crashes.
    std::string fakeHelper(const std::string& script) {
        const std::string path = writeFile("fake-helper.sh", "#!/bin/sh\n" + script + "\n");
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    quarix::test::ScratchFolder dir_{"reader-failures"};
};

int catalogueError(const std::string& path) {
    return errorOf([&] { AccessFileReader::readCatalogue(path); }).number();
}

EngineError tableError(const std::string& path, const std::string& table,
                       const ReadOptions& options = {}) {
    CollectingSink sink;
    return errorOf([&] { AccessFileReader::readTable(path, table, sink, options); });
}

} // namespace

TEST_F(ReadFailures, MissingFilesDirectoriesAndNonAccessFilesGiveAccessErrors) {
    EXPECT_EQ(catalogueError((dir_ / "missing.mdb").string()), reader_errors::fileNotFound);
    EXPECT_EQ(catalogueError(dir_.path().string()), reader_errors::fileNotFound);
    EXPECT_EQ(catalogueError(""), reader_errors::fileNotFound);
    EXPECT_EQ(catalogueError(writeFile("empty.mdb", "")), reader_errors::unrecognizedFormat);
    EXPECT_EQ(catalogueError(writeFile("zeros.mdb", std::string(8192, '\0'))),
              reader_errors::unrecognizedFormat);
    std::mt19937 random(42);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    EXPECT_EQ(catalogueError(writeFile("noise.accdb", noise)), reader_errors::unrecognizedFormat);
    const EngineError e = tableError((dir_ / "missing.mdb").string(), "Customers");
    EXPECT_EQ(e.number(), reader_errors::fileNotFound);
    EXPECT_EQ(e.description(), "Could not find file '" + (dir_ / "missing.mdb").string() + "'.");
}

TEST_F(ReadFailures, ADamagedTableLeavesTheOthersReadable) {
    const std::string path =
        writeFile("shop.mdb", quarix::test::fileBytes(quarix::test::dataFile("shop.mdb")));
    const Catalogue before = AccessFileReader::readCatalogue(path);
    const auto wide = std::find_if(before.tables.begin(), before.tables.end(),
                                   [](const TableInfo& t) { return t.name == "Wide"; });
    ASSERT_NE(wide, before.tables.end());
    std::string bytes = quarix::test::fileBytes(path);
    bytes.replace(static_cast<std::size_t>(wide->id & 0xffffff) * 4096, 4096, 4096, '\xab');
    quarix::test::writeBytes(path, bytes);
    const Catalogue after = AccessFileReader::readCatalogue(path);
    EXPECT_EQ(after.tables.size(), before.tables.size());
    const EngineError e = tableError(path, "Wide");
    EXPECT_EQ(e.number(), reader_errors::tableDamaged);
    EXPECT_EQ(e.description(), "The table 'Wide' in '" + path + "' is damaged and cannot be read.");
    CollectingSink customers;
    AccessFileReader::readTable(path, "Customers", customers);
    EXPECT_EQ(customers.rows().size(), 250u);
}

TEST_F(ReadFailures, UnknownTablesAndEncryptedFiles) {
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "No Such Table").number(),
              reader_errors::tableNotFound);
    // Table names are exact: a form or query of that name is not a table.
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "London Customers").number(),
              reader_errors::tableNotFound);

    std::string bytes = quarix::test::fileBytes(quarix::test::dataFile("shop.accdb"));
    bytes[0x3e] ^= 0x11;
    const std::string path = writeFile("shop.accdb", bytes);
    const EngineError e = errorOf([&] { AccessFileReader::readCatalogue(path); });
    EXPECT_EQ(e.number(), reader_errors::unsupportedEncryption);
    EXPECT_NE(e.description().find("is encrypted with a damaged Office encryption header"),
              std::string::npos);
}

TEST_F(ReadFailures, AHungCrashedOrStoppedHelperSaysWhatHappened) {
    const std::string shop = quarix::test::dataFile("shop.mdb");
    AccessFileReader::setWatchdogTimeout(std::chrono::milliseconds(300));
    // A helper that never ends: only the watchdog brings the read back.
    AccessFileReader::setHelperPath(fakeHelper("exec sleep 3600"));
    EngineError hung = tableError(shop, "Orders");
    EXPECT_EQ(hung.number(), reader_errors::tableDamaged);
    EXPECT_NE(hung.description().find("'Orders'"), std::string::npos);

    // A crash is libmdb meeting damage; another signal is the system's doing.
    AccessFileReader::setHelperPath(fakeHelper("kill -SEGV $$"));
    const EngineError crashed = tableError(shop, "Orders");
    EXPECT_EQ(crashed.number(), reader_errors::tableDamaged);
    EXPECT_EQ(crashed.description(),
              "Quarix's file reader stopped (signal 11, Segmentation fault) while reading the "
              "table 'Orders' in '" +
                  shop + "': the file may be damaged.");
    EXPECT_EQ(catalogueError(shop), reader_errors::tableDamaged);
    AccessFileReader::setHelperPath(fakeHelper("kill -KILL $$"));
    const EngineError killed = tableError(shop, "Orders");
    EXPECT_EQ(killed.number(), reader_errors::resourceExceeded);
    EXPECT_EQ(killed.description().rfind("Quarix's file reader stopped (signal 9, Killed) while "
                                         "reading the table 'Orders' in '" +
                                             shop + "'. The system",
                                         0),
              0u)
        << killed.description();

    AccessFileReader::setHelperPath(fakeHelper("printf 'R\\377\\377\\377\\377garbage'"));
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "Orders").number(),
              reader_errors::tableDamaged);

    AccessFileReader::setHelperPath((dir_ / "no-such-helper").string());
    EXPECT_EQ(catalogueError(quarix::test::dataFile("shop.mdb")), reader_errors::helperFailed);
}

TEST_F(ReadFailures, CancelStopsTheReadAndSinkErrorsPropagate) {
    std::atomic<bool> cancel{true};
    ReadOptions options;
    options.cancel = &cancel;
    const EngineError before = tableError(quarix::test::dataFile("shop.mdb"), "Orders", options);
    EXPECT_EQ(before.number(), reader_errors::canceled);
    EXPECT_EQ(before.description(), "Operation canceled by user.");

    cancel = false;
    options.progress = [&](std::uint64_t, std::uint64_t) { cancel = true; };
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "Orders", options).number(),
              reader_errors::canceled);

    struct ThrowingSink : RowSink {
        void begin(const TableInfo&) override {}
        void row(std::span<const StoredValue>) override { throw std::runtime_error("sink full"); }
    } sink;
    EXPECT_THROW(AccessFileReader::readTable(quarix::test::dataFile("shop.mdb"), "Orders", sink),
                 std::runtime_error);
}

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

constexpr std::uintmax_t pageSize = 4096;

// Where a file is cut; `opens` is false when part of a page, or the
// catalogue, is missing, so that the file does not open at all.
struct Cut {
    const char* name;
    std::uintmax_t (*at)(std::uintmax_t size);
    bool opens;
};

std::uintmax_t third(std::uintmax_t size) {
    return size / 3 / pageSize * pageSize;
}

const Cut cuts[] = {
    {"PageBoundaryAtAThird", [](std::uintmax_t size) { return third(size); }, false},
    {"InsideAPageAtAThird", [](std::uintmax_t size) { return third(size) + 1000; }, false},
    {"PageBoundaryAtTwoThirds", [](std::uintmax_t size) { return 2 * third(size); }, true},
    {"OneByteShort", [](std::uintmax_t size) { return size - 1; }, false},
    {"LastPageMissing", [](std::uintmax_t size) { return size - pageSize; }, true},
};

// Rows per table, or the first error of each read; "catalogue" holds the
// catalogue's error when there is one.
std::map<std::string, std::string> readEverything(const std::string& path) {
    std::map<std::string, std::string> outcome;
    const std::string catalogue = quarix::test::engineErrorOf([&] {
        for (const TableInfo& table : AccessFileReader::readCatalogue(path).tables) {
            CollectingSink sink;
            const std::string error = quarix::test::engineErrorOf(
                [&] { AccessFileReader::readTable(path, table.name, sink); });
            outcome[table.name] =
                error != "none" ? error : std::to_string(sink.rows().size()) + " rows";
        }
    });
    if (catalogue != "none")
        outcome["catalogue"] = catalogue;
    return outcome;
}

class TruncatedFiles : public testing::TestWithParam<std::tuple<const char*, Cut>> {
protected:
    quarix::test::ScratchFolder dir_{"truncated-files"};
};

TEST_P(TruncatedFiles, EndInTheDamagedFileErrorNeverInFewerRows) {
    const auto [fixture, cut] = GetParam();
    const std::string original = quarix::test::dataFile(fixture);
    const std::string path = (dir_ / fixture).string();
    fs::copy_file(original, path);
    fs::resize_file(path, cut.at(fs::file_size(path)));

    const auto complete = readEverything(original);
    const auto truncated = readEverything(path);
    bool failed = false;
    for (const auto& [table, result] : truncated) {
        if (complete.contains(table) && result == complete.at(table))
            continue;
        failed = true;
        EXPECT_TRUE(result.starts_with("3343 ")) << table << ": " << result;
        EXPECT_NE(result.find("'" + path + "'"), std::string::npos) << table << ": " << result;
    }
    EXPECT_TRUE(failed) << "every table read as before";
    const std::string incomplete = "3343 " + reader_errors::incompleteFileError(path).description();
    if (!cut.opens) {
        EXPECT_EQ(truncated, (std::map<std::string, std::string>{{"catalogue", incomplete}}));
    }
}

INSTANTIATE_TEST_SUITE_P(ShopFiles, TruncatedFiles,
                         testing::Combine(testing::Values("shop.mdb", "shop.accdb"),
                                          testing::ValuesIn(cuts)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             name[name.find('.')] = '_';
                             return name + "_" + std::get<1>(info.param).name;
                         });

// Jet 3 files have 2 KB pages: half a 4 KB page is a whole one there.
TEST(TruncatedJet3File, IsCheckedByItsOwnPageSize) {
    const quarix::test::ScratchFolder dir("truncated-jet3");
    const std::string path = (dir / "testV1997.mdb").string();
    fs::copy_file(quarix::test::dataFile("real/testV1997.mdb"), path);
    const auto size = fs::file_size(path);
    fs::resize_file(path, size - 2048);
    EXPECT_TRUE(readEverything(path) !=
                readEverything(quarix::test::dataFile("real/testV1997.mdb")));
    fs::resize_file(path, size - 2048 - 1000);
    EXPECT_EQ(readEverything(path).at("catalogue"),
              "3343 " + reader_errors::incompleteFileError(path).description());
}

} // namespace

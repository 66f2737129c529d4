#include "engine/reader/ReaderErrors.h"

#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <random>

using namespace quarix::engine;
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
